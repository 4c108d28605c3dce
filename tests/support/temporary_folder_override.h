#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Points TMPDIR at another folder for as long as it lives, and back then.
class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(const std::string& folder) {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolderOverride() {
        if (old_) {
            ::setenv("TMPDIR", old_->c_str(), 1);
        } else {
            ::unsetenv("TMPDIR");
        }
    }
    TemporaryFolderOverride(const TemporaryFolderOverride&) = delete;
    TemporaryFolderOverride& operator=(const TemporaryFolderOverride&) = delete;

private:
    std::optional<std::string> old_;
};
