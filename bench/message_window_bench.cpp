#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTableView>
#include <QTest>

#include "dlg_messages.h"
#include "message_list.h"
#include "qt_prompt_service.h"

namespace {

constexpr int kMessages = 100000;

// A long study's warnings into the message window, shown (argument 1) or
// hidden (0): each message gets its time and its row, and then the list
// shows them, its newest row current and scrolled to.
void AddHundredThousandMessages(benchmark::State& state) {
    QtPromptService prompts;
    for (auto _ : state) {
        CDlgMessages window(prompts, nullptr);
        window.SetUp();
        window.resize(600, 200);
        if (state.range(0) != 0) {
            window.show();
            (void)QTest::qWaitForWindowExposed(&window);
        } else {
            window.hide();
        }
        for (int i = 0; i < kMessages; ++i) {
            window.AddMessage(IMessageSink::Warning, "Generator at bus 'BUS 12' reached its reactive limit");
        }
        // The rows reach the list when the program is idle again.
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.List().currentIndex());
    }
    state.SetItemsProcessed(state.iterations() * kMessages);
}
BENCHMARK(AddHundredThousandMessages)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
