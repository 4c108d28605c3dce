#pragma once

// The caller's end of a text report: pieces of a line are appended, then the
// line is closed. Both answer the writer so that calls chain.
class ILineWriter {
public:
    virtual ILineWriter& EndLine() = 0;
    virtual ILineWriter& Append(const char* text) = 0;

protected:
    ~ILineWriter() = default;
};
