#include "solver.h"

int Solver::Attach(IRecordCursor* source, IMessageSink* sink, int) {
    source_ = source;
    sink_ = sink;
    if (source) source->SetGroupBuses(true);
    return Main(0, nullptr, 1);
}

int Solver::AttachAndRun(IRecordCursor* source, IMessageSink* sink, const char* text, int) {
    source_ = source;
    sink_ = sink;
    BeginHostRun(text, true);
    int result = Main(0, nullptr, 1);
    EndHostRun();
    return result;
}

int Solver::Main(int count, const char* const* items, int mode) {
    // A second run on the same object starts from nothing.
    ReleaseNetwork();
    failed_ = false;
    int result = Guarded(0, [&] {
        SetArguments(count, items);
        RedirectDiagnostics();
        runMode_ = mode;
        SetSwitchesFromOptions();
        std::optional<std::string> input = FileArgument(1);
        ReadNetwork(input ? input->c_str() : nullptr);
        ReadSolutionSettings();
        return 1;
    });
    failed_ = result == 0;
    return result;
}

void Solver::ReadNetwork(const char*) {
    std::fprintf(diagnostics_, "No network reader is available for this run\n");
    Abort(1);
}
