#pragma once

#include <memory>
#include <stdexcept>

#include "bus.h"
#include "bus_fixture.h"
#include "element_key.h"
#include "fixed_metric_measurer.h"
#include "recording_view.h"
#include "test_model.h"

// A one-port kind made by its tool at the point, under a new key of its
// category, and filed in the model; it connects to a bus under the point
// as it is made.
template <typename Kind, typename... Args>
Kind& PlaceOnePort(PowerSystem& model, Point at, Args... args) {
    const int category = Kind().GetType(false);
    auto made = std::make_unique<Kind>(&model, model.NewKey(category, false), at, args...);
    if (!model.AddElement(made.get())) throw std::logic_error("the one-port was not filed");
    return *made.release();
}

// The place a label was made at: its text's top edge lies 10 above it.
inline Point LabelAt(EEElement& element, int index) {
    const Rect& r = element.GetLabel(index)->GetRect();
    return {r.left, r.top + 10};
}

// A test model with a vertical bus "B1" from (100, 100) to (100, 140) at
// 110 kV, a view that records what the model sends it, and labels measured
// with fixed metrics. A one-port
// placed at (105, y) with y in 100..140 connects to the bus at (100, y).
struct OnePortFixture {
    OnePortFixture() : bus(MeasuredBus()) {
        bus.SetName("B1");
        bus.GetValues()[Bus::kNominalKv] = 110.0;
        model->SetView(&view);
    }

    // Sets the bus voltage (p.u.) and lets it refresh the labels that
    // depend on it.
    void SetBusVoltage(double v) {
        bus.GetValues()[Bus::kVoltage] = v;
        bus.UpdateResultLabel(nullptr);
    }
    // The texts sent to the remote solver, in order.
    std::vector<std::string> Sent() const {
        std::vector<std::string> texts;
        for (const auto& call : view.Messages()) {
            if (call.message == kRemoteSendMessage) texts.push_back(call.text);
        }
        return texts;
    }

    Bus& MeasuredBus() {
        model->SetTextMeasurer(&measurer);
        return AddBus<Bus>(*model, Point{100, 100}, true);
    }

    FixedMetricMeasurer measurer;
    TestModel model;
    RecordingView view;
    Bus& bus;
};
