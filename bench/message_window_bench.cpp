#include <benchmark/benchmark.h>

#include <QTest>

#include "dlg_messages.h"
#include "scripted_prompt_service.h"

namespace {

constexpr int kMessages = 100000;

// A long study's warnings into the message window while it is shown:
// each message gets its time, its row, and the scroll to it.
void AddHundredThousandMessages(benchmark::State& state) {
    ScriptedPromptService prompts;
    for (auto _ : state) {
        CDlgMessages window(prompts, nullptr);
        window.SetUp();
        window.resize(600, 200);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        for (int i = 0; i < kMessages; ++i) {
            window.AddMessage(IMessageSink::Warning, "Generator at bus 'BUS 12' reached its reactive limit");
        }
        benchmark::DoNotOptimize(window.Messages().Count());
    }
    state.SetItemsProcessed(state.iterations() * kMessages);
}
BENCHMARK(AddHundredThousandMessages)->Unit(benchmark::kMillisecond);

}  // namespace
