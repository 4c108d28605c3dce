#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "solver.h"

// The argument list of a file run, kept alive for the solver that reads it.
// Item 0 is the program name.
class RunArguments {
public:
    explicit RunArguments(std::vector<std::string> items) : texts_(std::move(items)) {
        texts_.insert(texts_.begin(), "ostrand");
        for (const auto& text : texts_) pointers_.push_back(text.c_str());
    }
    RunArguments(const RunArguments&) = delete;
    RunArguments& operator=(const RunArguments&) = delete;

    int Count() const { return static_cast<int>(pointers_.size()); }
    const char* const* Items() const { return pointers_.data(); }

    void ApplyTo(Solver& solver) const {
        solver.SetArguments(Count(), Items());
        solver.SetSwitchesFromOptions();
    }

private:
    std::vector<std::string> texts_;
    std::vector<const char*> pointers_;
};

// What a file run does before it solves: the options, the network read from
// `path` and prepared, the starting point and the load model. False when
// the run ended in an abort.
inline bool ReadCaseFile(Solver& solver, const RunArguments& arguments, const std::string& path) {
    try {
        arguments.ApplyTo(solver);
        solver.ReadNetwork(path.c_str());
        solver.ReadAuxiliaryFiles();
        return true;
    } catch (const SolverAbort&) {
        return false;
    }
}

inline std::string TestDataPath(const std::string& name) {
    return std::string(TEST_DATA_DIR) + "/" + name;
}

inline std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The lines of a text, without their ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline void WriteFileText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

