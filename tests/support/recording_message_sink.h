#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "message_sink.h"

// A message sink that keeps every message it is given.
class RecordingMessageSink final : public IMessageSink {
public:
    struct Message {
        int level;
        std::string text;
        bool operator==(const Message&) const = default;
        friend void PrintTo(const Message& m, std::ostream* out) { *out << "(" << m.level << ", " << m.text << ")"; }
    };

    void AddMessage(int level, const char* text) override {
        if (enabled_) messages.push_back({level, text ? text : ""});
    }
    void SetEnabled(int enabled) override { enabled_ = enabled != 0; }
    int IsEnabled() override { return enabled_; }

    std::vector<Message> messages;

private:
    bool enabled_ = true;
};
