#pragma once

#include <string>

#include "line_writer.h"

// A line writer that keeps what it is given, each closed line ended by a
// newline.
class RecordingLineWriter final : public ILineWriter {
public:
    ILineWriter& EndLine() override {
        text_ += '\n';
        return *this;
    }
    ILineWriter& Append(const char* text) override {
        text_ += text;
        return *this;
    }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
