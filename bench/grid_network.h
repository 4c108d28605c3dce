#pragma once

#include <memory>

#include "bus.h"
#include "document_model.h"
#include "element_key.h"

// A network of 2,000 buses built through the model's API, as a large
// diagram is drawn.
inline constexpr int kGridNetworkBuses = 2000;

// Buses on a grid 100 units apart, forty to a row, each with its values
// and a load, and a line to the bus before it in its row; every fifth bus
// has a generator as well.
inline void BuildGridNetwork(PowerSystem& model) {
    for (int i = 0; i < kGridNetworkBuses; ++i) {
        Point at{100 + 100 * (i % 40), 100 + 150 * (i / 40)};
        auto bus = std::make_unique<Bus>(&model, model.NewKey(Category::Bus, false), at, true);
        double values[Bus::kValueCount] = {110.0, 1.0 - 0.00001 * i, -0.01 * i, 1.0, 1.0, 0.95, 1.1, 0, 0, 0};
        bus->UpdateResultLabel(values);
        model.AddElement(bus.release());
        Place(model, ElementType::Load, {at.x, at.y + 10});
        if (i % 5 == 0) Place(model, ElementType::Generator, {at.x, at.y + 30});
        if (i % 40 != 0) Join(model, ElementType::PowerLine, {at.x - 100, at.y + 20}, {at.x, at.y + 20});
    }
}
