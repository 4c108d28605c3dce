#pragma once

#include <cstdio>
#include <string>
#include <vector>

// The files the solver opened itself. An abort or the solver's end closes
// these and nothing else: the host's files and the standard streams stay open.
class OwnedFiles {
public:
    OwnedFiles() = default;
    OwnedFiles(const OwnedFiles&) = delete;
    OwnedFiles& operator=(const OwnedFiles&) = delete;
    ~OwnedFiles() { CloseAll(); }

    // Null when the file cannot be opened.
    FILE* Open(const std::string& name, const char* mode);
    // Closes a file opened here; answers false when writing it out failed.
    // The standard streams are never closed.
    bool Close(FILE* file);
    void CloseAll();

private:
    std::vector<FILE*> open_;
};
