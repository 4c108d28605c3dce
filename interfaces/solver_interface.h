#pragma once

#include <vector>

#include "line_writer.h"
#include "message_sink.h"
#include "record_cursor.h"

#define OSTRAND_API __attribute__((visibility("default")))

// The solver object handed out by createPSSolver. It starts with one
// reference and deletes itself when the last one is released. No exception
// leaves any of its operations: a failed run answers its failure value.
// MW, Mvar and kV as in the records; p.u. on the MVA base.
class ISolver {
public:
    // Reads the host's network through `source` and solves it (host run).
    // 1 solved, 0 failed.
    virtual int Attach(IRecordCursor* source, IMessageSink* sink, int reserved) = 0;
    // The option-driven run over an argument list laid out like a command
    // line (item 0 a program name). 1 on success, 0 after a failure.
    virtual int Main(int count, const char* const* items, int mode) = 0;
    // Like Attach, for continuation runs: `text` names the continuation table.
    virtual int AttachAndRun(IRecordCursor* source, IMessageSink* sink, const char* text, int reserved) = 0;
    virtual void AddRef() = 0;
    // Answers the remaining count; at zero the object is gone.
    virtual int Release() = 0;
    virtual void SetTotalsColumns(bool generationP, bool generationQ, bool loadP, bool loadQ) = 0;
    virtual void ClearTotalsColumns() = 0;
    // The solver's own cursor over its solved network.
    virtual IRecordCursor* GetResultCursor() = 0;
    // Writes the network in the IEEE common data format; 0 on success.
    virtual int WriteIeeeCdf(const char* fileName, int cardFlag) = 0;
    virtual int GetPointCount() = 0;
    virtual void WriteReport(ILineWriter* writer) = 0;
    virtual void SetMaxLoad(double load) = 0;
    virtual void SetIterationLimit(int limit) = 0;
    virtual int GetIterationLimit() = 0;
    virtual void SetTolerance(double tolerance) = 0;
    virtual double GetTolerance() = 0;
    // Re-solves the network already read; the iteration count (> 0) or 0.
    virtual int RunPowerFlow() = 0;
    virtual void AddLoadDirection(double dP, double dQ) = 0;
    virtual void Hook(int letter, double* values, double scale) = 0;
    virtual void Transfer(double mw) = 0;
    virtual void AddToBusVoltage(int key, double delta) = 0;
    virtual int SelectTransferBuses(int sourceKey, int sinkKey) = 0;
    virtual bool ReadBusState(IRecordCursor* state) = 0;
    virtual bool GetSensitivities(int busKey, std::vector<double>& angleFactors, std::vector<int>& angleKeys,
                                  std::vector<double>& voltageFactors, std::vector<int>& voltageKeys) = 0;

protected:
    virtual ~ISolver() = default;
};

extern "C" OSTRAND_API ISolver* createPSSolver();
