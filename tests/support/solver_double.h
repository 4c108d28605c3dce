#pragma once

#include <vector>

#include "solver_interface.h"

// A solver that attaches and solves at once and does nothing else, for
// tests to override what a study should see. Its Release does not delete
// it: the test owns it and counts the releases.
class SolverDouble : public ISolver {
public:
    virtual ~SolverDouble() = default;

    int releases = 0;

    int Attach(IRecordCursor* source, IMessageSink*, int) override {
        if (source) source->SetGroupBuses(true);
        return 1;
    }
    int Main(int, const char* const*, int) override { return 0; }
    int AttachAndRun(IRecordCursor*, IMessageSink*, const char*, int) override { return 0; }
    void AddRef() override {}
    int Release() override {
        ++releases;
        return 0;
    }
    void SetTotalsColumns(bool, bool, bool, bool) override {}
    void ClearTotalsColumns() override {}
    IRecordCursor* GetResultCursor() override { return nullptr; }
    int WriteIeeeCdf(const char*, int) override { return 0; }
    int GetPointCount() override { return 0; }
    void WriteReport(ILineWriter*) override {}
    void SetMaxLoad(double) override {}
    void SetIterationLimit(int) override {}
    int GetIterationLimit() override { return 0; }
    void SetTolerance(double) override {}
    double GetTolerance() override { return 0.0; }
    int RunPowerFlow() override { return 1; }
    void AddLoadDirection(double, double) override {}
    void Hook(int, double*, double) override {}
    void Transfer(double) override {}
    void AddToBusVoltage(int, double) override {}
    int SelectTransferBuses(int, int) override { return 1; }
    bool ReadBusState(IRecordCursor*) override { return true; }
    bool GetSensitivities(int, std::vector<double>&, std::vector<int>&, std::vector<double>&,
                          std::vector<int>&) override {
        return false;
    }
};
