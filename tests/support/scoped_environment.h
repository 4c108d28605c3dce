#pragma once

#include <map>
#include <optional>
#include <string>

#include <stdlib.h>

// Sets or clears environment variables for as long as it lives, then puts
// back what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

    // Nothing clears the variable.
    void Set(const std::string& name, const std::optional<std::string>& value) {
        if (!saved_.contains(name)) {
            const char* was = ::getenv(name.c_str());
            saved_[name] = was != nullptr ? std::optional<std::string>(was) : std::nullopt;
        }
        if (value) {
            ::setenv(name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};
