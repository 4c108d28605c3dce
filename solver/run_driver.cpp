#include "solver.h"

int Solver::Attach(IRecordCursor* source, IMessageSink* sink, int) {
    SetHost(source, sink);
    if (source) source->SetGroupBuses(true);
    return Main(0, nullptr, 1);
}

int Solver::AttachAndRun(IRecordCursor* source, IMessageSink* sink, const char* text, int) {
    SetHost(source, sink);
    BeginHostContinuation(text);
    int result = Main(0, nullptr, 1);
    EndHostContinuation();
    return result;
}

// A run that reads, prepares and solves its network without an abort
// clears the failed flag and answers 1.
int Solver::Main(int count, const char* const* items, int mode) {
    // A second run on the same object starts from nothing.
    ReleaseNetwork();
    SetQuietRun(Quiet::No, LimitChecks::Due);
    SetFixedVariableMode(false);
    SetPointOfCollapse(false);
    failed_ = true;
    const int result = Guarded(0, [&] {
        PrepareRun(count, items, mode);
        lambda_ = 0.0;
        const bool continuation = ContinuationRequested();
        SetContinuation(continuation ? Continuation::On : Continuation::Off);
        InitHvdc();
        const bool pointOfCollapse = PointOfCollapseRequested();
        SetPointOfCollapse(pointOfCollapse);
        InitSvc();
        InitTcsc();
        InitStatcom();
        NumberVariables();
        // The continuation writes its table and no listing.
        if (continuation) {
            if (RunContinuation() <= 0) {
                std::fprintf(diagnostics_, "The continuation found no point of the curve\n");
                Abort(1);
            }
            WriteRequestedVectors();
            failed_ = false;
            return 1;
        }
        if (pointOfCollapse) {
            if (SolvePointOfCollapse() < 0) {
                std::fprintf(diagnostics_, "The point of collapse has no start point\n");
                Abort(1);
            }
            std::optional<std::string> output = FileArgument(2);
            WriteOutputs(output ? output->c_str() : nullptr);
            failed_ = false;
            return 1;
        }
        // The held-voltage run writes no listing either.
        if (NetBus* bus = NamedContinuationBus()) {
            SolveHoldingVoltage(*bus);
            failed_ = false;
            return 1;
        }
        if (HasOption('L') && LoadDirectionGiven()) {
            SolveAtLoadParameter();
        } else {
            RequireSolution(SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial));
            ReportImplausibleVoltages();
        }
        // A host run has no listing: its results go back through the
        // result cursor.
        if (RunMode() == 0) {
            std::optional<std::string> output = FileArgument(2);
            WriteOutputs(output ? output->c_str() : nullptr);
        }
        WriteRequestedVectors();
        failed_ = false;
        return 1;
    });
    RestoreDiagnostics();
    return result;
}

void Solver::SetHost(IRecordCursor* source, IMessageSink* sink) {
    source_ = source;
    sink_ = sink;
}

// The options, the network read and prepared, and the solution settings.
void Solver::PrepareRun(int count, const char* const* items, int mode) {
    SetArguments(count, items);
    RedirectDiagnostics();
    options_.SetMode(mode);
    SetSwitchesFromOptions();
    RequireOutputNames();
    inputGave_ = {};
    std::optional<std::string> input = FileArgument(1);
    ReadNetwork(input ? input->c_str() : nullptr);
    if (RunMode() == 1 && options_.HostContinuation()) ReadStressDirection();
    ReadSolutionSettings();
    ReadAuxiliaryFiles();
}

// Re-solves the network already read, from its present state.
int Solver::RunPowerFlow() {
    return Guarded(0, [&] {
        if (!network_ || failed_) return 0;
        lambda_ = 0.0;
        ReleaseMatrix();
        NumberVariables();
        const int iteration = SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial);
        return iteration > 0 && SolutionFinite() ? iteration : 0;
    });
}

// Option v: the load parameter at which the named load bus has the given
// voltage. Lambda takes the bus's voltage column ("BL"), from the base
// case when the loads depend on the voltage (option D or the input's
// exponents).
void Solver::SolveHoldingVoltage(NetBus& bus) {
    const bool characteristics = LoadCharacteristicsGiven();
    const Reorder reorder = ReorderIf(characteristics);
    const double voltage = bus.voltage;
    int first = 1;
    if (characteristics)
        first = RequireSolution(SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial));
    else
        RescaleLoadModels();
    DoubleOption('L', lambda_, -1e6, 1e6);
    bus.code = CodeHas(bus.code, "A") ? "BLA" : "BL";
    SetContinuation(Continuation::Off, &bus);
    bus.voltage = voltage;
    bus.voltageFree = false;
    ClassifyBuses();
    RequireSolution(SolvePowerFlow(first, reorder, Refresh::EveryIteration, Loads::Models));
}

// Option L with a load direction: the power flow at that load parameter,
// from the base case with option b or loads that depend on the voltage.
void Solver::SolveAtLoadParameter() {
    const bool characteristics = LoadCharacteristicsGiven();
    const bool baseCase = HasOption('b') || characteristics;
    const Reorder reorder = ReorderIf(characteristics);
    int first = 1;
    if (baseCase)
        first = RequireSolution(SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial));
    else
        RescaleLoadModels();
    DoubleOption('L', lambda_, -1e6, 1e6);
    if (lambda_ != 0.0)
        RequireSolution(SolvePowerFlow(first, reorder, Refresh::EveryIteration, Loads::Models));
    else if (!baseCase)
        RequireSolution(SolvePowerFlow(1, Reorder::No, Refresh::EveryIteration, Loads::Polynomial));
}

// The run needs the solution: a solve that answered failure ends it.
int Solver::RequireSolution(int iterations) {
    if (iterations <= 0) {
        std::fprintf(diagnostics_, "The power flow has no solution\n");
        Abort(1);
    }
    RequireFiniteSolution();
    return iterations;
}

// A continuation needs its table (option H or c) and a load direction.
bool Solver::ContinuationRequested() const {
    return (HasOption('H') || HasOption('c')) && LoadDirectionGiven();
}

// Option C with a load direction, unless a continuation is asked for.
bool Solver::PointOfCollapseRequested() const {
    return !ContinuationRequested() && HasOption('C') && LoadDirectionGiven();
}

// Host runs read the host's records; file runs read the case file named
// first, in the format the options choose.
void Solver::ReadNetwork(const char* fileName) {
    FILE* input = RunMode() == 0 ? OpenInput(fileName) : nullptr;
    NewNetwork();
    network_->remoteVoltageSums = HasOption('#');
    if (RunMode() == 1) {
        ReadHostNetwork();
    } else if (HasOption('I')) {
        ReadIeeeCdf(input);
    } else if (HasOption('6')) {
        ReadColumn80Deck(input);
    } else {
        ReadCardDeck(input);
    }
    if (!PrepareNetwork()) Abort(2);
}
