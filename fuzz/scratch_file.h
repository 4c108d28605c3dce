#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

// A file of the fuzzing process's own under the temporary folder, rewritten
// with each input: the solver's readers take file names. The process id
// keeps targets that run side by side apart.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name)
        : path_("/tmp/ostrand_fuzz_" + std::to_string(static_cast<long>(::getpid())) + "_" + name) {}
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Write(const std::uint8_t* data, std::size_t size) const {
        FILE* file = std::fopen(path_.c_str(), "wb");
        if (!file) return path_;
        if (size) std::fwrite(data, 1, size, file);
        std::fclose(file);
        return path_;
    }
    const std::string& Write(const std::string& text) const {
        return Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};
