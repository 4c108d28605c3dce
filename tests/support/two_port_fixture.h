#pragma once

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <type_traits>

#include "bus.h"
#include "bus_fixture.h"
#include "element_key.h"
#include "recording_view.h"
#include "switching_element.h"
#include "test_model.h"

// A model with two vertical buses, "from" at x = 100 and "to" at x = 300
// (both from y = 100 to 140), at 110 kV and 1.0 p.u., with a recording
// view; two-ports are drawn between them as the line tool draws them.
class TwoPortModel {
public:
    TwoPortModel() {
        from = &AddBus<Bus>(*model, Point{100, 100}, true);
        to = &AddBus<Bus>(*model, Point{300, 100}, true);
        from->SetName("BUS_A");
        to->SetName("BUS_B");
        SetBus(*from, 110.0, 1.0);
        SetBus(*to, 110.0, 1.0);
        model->SetView(&view);
    }

    void SetBus(Bus& bus, double kv, double voltage) {
        bus.GetValues()[Bus::kNominalKv] = kv;
        bus.GetValues()[Bus::kVoltage] = voltage;
    }

    // Pressed at `start`, then a click at each point; the last click on the
    // to bus finishes the path there.
    template <typename Kind>
    Kind& Draw(Point start = {100, 120}, std::initializer_list<Point> clicks = {{300, 120}}) {
        const int category = std::is_base_of_v<Connector, Kind> ? Category::Connector : Category::Line;
        auto made = std::make_unique<Kind>(&*model, model->NewKey(category, false), start);
        if (!model->AddElement(made.get())) throw std::logic_error("the two-port was not filed");
        Kind& element = *made.release();
        for (Point p : clicks) element.DragHandle(0, 0, p);
        return element;
    }

    TestModel model;
    RecordingView view;
    Bus* from = nullptr;
    Bus* to = nullptr;
};
