// Feeds arbitrary bytes, line by line, to the model's reading of a remote
// solver server's result lines, on a model that has an element of every
// kind the lines name. Every line is read or dropped; a crash, a hang, a
// leak or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "drawn_network.h"
#include "free_line.h"
#include "generator.h"
#include "load.h"
#include "shunt.h"

namespace {

struct Network {
    Network() {
        Bus& a = net.AddBus("A");
        Bus& b = net.AddBus("B");
        Bus& c = net.AddBus("C");
        net.Join<PowerLine>(a, b, 10);
        net.Join<PowerLine>(c, b, 20);
        net.Hang<Generator>(a, 5);
        net.Hang<Load>(b, 5);
        net.Hang<Shunt>(c, 2);
        net.Hang<VarCompensator>(c, 8);
        net.Hang<Reactor>(c, 14);
        net.Hang<Capacitor>(c, 26);
        net.Hang<SyncCompensator>(c, 32);
        PowerSystem& model = net.model();
        auto cut = std::make_unique<FreeLine>(&model, model.NewKey(Category::FreeLine, false), Point{50, 400},
                                              FreeLine::kDashedStyle);
        if (model.AddElement(cut.get())) cut.release()->SetName("Cut1");
        model.SetRemote(true);
    }
    DrawnNetwork net;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Network network;
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        network.net.model().ReadResultLine(text.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
