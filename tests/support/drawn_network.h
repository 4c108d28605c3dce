#pragma once

#include <map>
#include <memory>
#include <type_traits>
#include <stdexcept>
#include <string>

#include "bus.h"
#include "bus_fixture.h"
#include "element_key.h"
#include "one_port_fixture.h"
#include "power_system.h"
#include "switching_element.h"

// A model of the program's own elements drawn as the tools draw them: buses
// stand 200 apart in one row, each a vertical bar from y 100 to 140; a
// two-port is drawn from a point on its from bus to the same height on its
// to bus, and a one-port hangs 5 to the right of its bar. The model holds
// one reference for the drawing's life.
class DrawnNetwork {
public:
    DrawnNetwork() : model_(PowerSystem::Create()) { model_->AddRef(); }
    ~DrawnNetwork() { model_->Release(); }
    DrawnNetwork(const DrawnNetwork&) = delete;
    DrawnNetwork& operator=(const DrawnNetwork&) = delete;

    PowerSystem& model() const { return *model_; }

    // The next bus of the row, at the nominal kV and starting voltage.
    Bus& AddBus(const std::string& name, double kv = 110.0, double voltage = 1.0) {
        const int x = 100 + 200 * static_cast<int>(barX_.size());
        Bus& bus = ::AddBus<Bus>(*model_, Point{x, 100}, true);
        barX_[bus.GetKey()] = x;
        bus.SetName(name);
        bus.GetValues()[Bus::kNominalKv] = kv;
        bus.GetValues()[Bus::kVoltage] = voltage;
        bus.GetValues()[Bus::kDesiredVoltage] = voltage;
        return bus;
    }

    // A line, transformer or switch from `from` to `to`, at `height` (0-40)
    // down the bars. Throws when its ends did not land on the two buses.
    template <typename Kind>
    Kind& Join(Bus& from, Bus& to, int height = 20) {
        const int category = std::is_base_of_v<Connector, Kind> ? Category::Connector : Category::Line;
        auto made = std::make_unique<Kind>(&*model_, model_->NewKey(category, false),
                                           Point{barX_.at(from.GetKey()), 100 + height});
        if (!model_->AddElement(made.get())) throw std::logic_error("the two-port was not filed");
        Kind& branch = *made.release();
        branch.DragHandle(0, 0, Point{barX_.at(to.GetKey()), 100 + height});
        if (branch.GetEndKeys()[0] != from.GetKey() || branch.GetEndKeys()[1] != to.GetKey())
            throw std::logic_error("a two-port was drawn to the wrong buses");
        return branch;
    }

    // A one-port kind on the bus, `height` (0-40) down its bar.
    template <typename Kind>
    Kind& Hang(Bus& bus, int height, int flag = 0) {
        const Point at{barX_.at(bus.GetKey()) + 5, 100 + height};
        if constexpr (std::is_constructible_v<Kind, PowerSystem*, int, Point, int>)
            return PlaceOnePort<Kind>(*model_, at, flag);
        else
            return PlaceOnePort<Kind>(*model_, at);
    }

private:
    PowerSystem* model_;
    std::map<int, int> barX_;  // bus key -> x of its bar
};
