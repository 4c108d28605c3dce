#pragma once

#include <string>

#include "scoped_environment.h"

// Points TMPDIR at another folder for as long as it lives, and back then.
class TemporaryFolderOverride {
public:
    explicit TemporaryFolderOverride(const std::string& folder) { environment_.Set("TMPDIR", folder); }

private:
    ScopedEnvironment environment_;
};
