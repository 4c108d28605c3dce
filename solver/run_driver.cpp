#include "solver.h"

int Solver::Attach(IRecordCursor* source, IMessageSink* sink, int) {
    SetHost(source, sink);
    if (source) source->SetGroupBuses(true);
    return Main(0, nullptr, 1);
}

int Solver::AttachAndRun(IRecordCursor* source, IMessageSink* sink, const char* text, int) {
    SetHost(source, sink);
    BeginHostRun(text, true);
    int result = Main(0, nullptr, 1);
    EndHostRun();
    return result;
}

// A run that reads and prepares its network without an abort clears the
// failed flag; this build then answers 0, as it cannot solve the network.
int Solver::Main(int count, const char* const* items, int mode) {
    // A second run on the same object starts from nothing.
    ReleaseNetwork();
    failed_ = true;
    return Guarded(0, [&] {
        PrepareRun(count, items, mode);
        failed_ = false;
        std::fprintf(diagnostics_, "The network is read, but this build cannot solve a power flow\n");
        return 0;
    });
}

void Solver::SetHost(IRecordCursor* source, IMessageSink* sink) {
    source_ = source;
    sink_ = sink;
}

// The options, the network read and prepared, and the solution settings.
void Solver::PrepareRun(int count, const char* const* items, int mode) {
    SetArguments(count, items);
    RedirectDiagnostics();
    runMode_ = mode;
    SetSwitchesFromOptions();
    std::optional<std::string> input = FileArgument(1);
    ReadNetwork(input ? input->c_str() : nullptr);
    if (runMode_ == 1 && hostFlagL_) ReadStressDirection();
    ReadSolutionSettings();
}

// Host runs read the host's records; file runs read the case file named
// first, in the format the options choose.
void Solver::ReadNetwork(const char* fileName) {
    if (runMode_ == 0 && fileName) OpenInput(fileName);
    NewNetwork();
    network_->remoteVoltageSums = HasOption('#');
    if (runMode_ == 1) {
        ReadHostNetwork();
    } else {
        const char* format = HasOption('I')   ? "IEEE common data format"
                             : HasOption('6') ? "80-column card format"
                                              : "two-letter card deck";
        std::fprintf(diagnostics_, "No reader for the %s is available in this build\n", format);
        Abort(1);
    }
    if (!PrepareNetwork()) Abort(2);
}
