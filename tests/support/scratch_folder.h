#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

// A folder of its own under the system's temporary folder (the process id
// keeps parallel runs apart), removed with everything in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("tavrin_" + name + "_" + std::to_string(static_cast<long>(::getpid())))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() { std::filesystem::remove_all(path_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};
