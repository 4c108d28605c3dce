#pragma once

#include <vector>

#include "network_edit_event.h"

// Takes the place of the model for a network document's edit events and
// keeps each one with the tool it came with.
class RecordingEditTarget final : public IEditEventTarget {
public:
    struct Event {
        int event = 0;
        int tool = 0;
        EditEventArgs args;
        friend bool operator==(const Event&, const Event&) = default;
    };

    std::vector<Event> events;
    bool answer = false;  // whether the document changed

    bool HandleEditEvent(int event, int tool, const EditEventArgs& args, IView*) override {
        events.push_back({event, tool, args});
        return answer;
    }
};
