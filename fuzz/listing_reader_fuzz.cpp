// Feeds arbitrary bytes to the model's reading of a solution listing: the
// column parser alone, then the whole reading into a small model (two
// buses joined by a line, as the golden two-bus listing has them, and a
// bus group behind a connector). A listing is read whole or refused; a
// crash, a hang, a leak or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "drawn_network.h"
#include "generator.h"
#include "load.h"
#include "scratch_file.h"
#include "solution_listing.h"

namespace {

struct Network {
    Network() {
        Bus& a = net.AddBus("A", 110.0, 1.0);
        net.Hang<Generator>(a, 10);
        a.GetValues()[Bus::kKind] = Bus::kSwingKind;
        Bus& b = net.AddBus("B");
        Bus& c = net.AddBus("C");
        Bus& d = net.AddBus("D");
        net.Join<PowerLine>(a, b, 10);
        net.Join<PowerLine>(b, c, 20);
        net.Join<PowerLine>(b, c, 30);
        net.Join<Connector>(c, d, 5);
        net.Hang<Load>(b, 15);
        net.Hang<Load>(d, 15);
    }
    DrawnNetwork net;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Network network;
    static ScratchFile file("listing.txt");
    SolutionListing listing;
    ListingError error;
    ParseSolutionListing(std::string_view(reinterpret_cast<const char*>(data), size), listing, error);
    network.net.model().ReadSolution(file.Write(data, size).c_str());
    return 0;
}
