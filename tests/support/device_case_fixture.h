#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "case_file_run.h"
#include "ieee_case_text.h"
#include "solver.h"
#include "solver_handle.h"

// Device cases written as IEEE files into a scratch folder: whole file runs
// (listing.txt beside the case), or the case only read and prepared, for a
// test to set up and number its devices.
class DeviceCaseTest : public ::testing::Test {
protected:
    explicit DeviceCaseTest(const char* folder) : folder_(folder) {}

    // A whole file run of the case; its answer.
    int Run(const CaseText& c, std::vector<std::string> options = {}) {
        WriteFileText(folder_ / "case.cdf", c.Text());
        return RunFile(Path("case.cdf"), std::move(options));
    }
    int RunFile(const std::string& path, std::vector<std::string> options) {
        std::vector<std::string> items = {"-I", path, Path("listing.txt")};
        items.insert(items.end(), options.begin(), options.end());
        solver_ = std::make_unique<SolverHandle>();
        arguments_ = std::make_unique<RunArguments>(std::move(items));
        return (*solver_)->Main(arguments_->Count(), arguments_->Items(), 0);
    }
    // The case read and prepared under the options, nothing set up.
    bool Read(const CaseText& c, std::vector<std::string> options = {}) {
        WriteFileText(folder_ / "case.cdf", c.Text());
        options.insert(options.begin(), "-I");
        solver_ = std::make_unique<SolverHandle>();
        arguments_ = std::make_unique<RunArguments>(std::move(options));
        return ReadCaseFile(**solver_, *arguments_, Path("case.cdf"));
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    Solver& S() { return **solver_; }
    Network& N() { return *S().GetNetwork(); }
    NetBus& Bus(int number) { return *S().FindBus(number); }

    std::unique_ptr<SolverHandle> solver_;
    std::unique_ptr<RunArguments> arguments_;
    ScratchFolder folder_;
};
