#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>

#include "number_text.h"
#include "solver.h"

void Solver::SetArguments(int count, const char* const* items) {
    options_.SetArguments(count, items);
}

bool Solver::HasOption(char letter) const {
    return options_.Has(letter);
}

const char* Solver::OptionValue(char letter) const {
    return options_.Value(letter);
}

// An option given without a value keeps the default; one whose value is
// not a number ends the run rather than run with a setting nobody asked for.
int Solver::IntOption(char letter, int fallback, int low, int high) const {
    const char* text = OptionValue(letter);
    int value = 0;
    if (IsEmptyValue(text)) return fallback;
    if (!ParseInt(text, value)) RefuseOptionValue(letter, text);
    return value < low ? low : value > high ? high : value;
}

void Solver::DoubleOption(char letter, double& value, double low, double high) const {
    if (const std::optional<double> host = options_.HostNumber(letter)) {
        value = *host;
        return;
    }
    const char* text = OptionValue(letter);
    double read = 0.0;
    if (IsEmptyValue(text)) return;
    if (!ParseDouble(text, read) || !std::isfinite(read)) RefuseOptionValue(letter, text);
    value = read < low ? low : read > high ? high : read;
}

void Solver::RefuseOptionValue(char letter, const char* text) const {
    std::fprintf(diagnostics_, "Option %c needs a number, not \"%s\"\n", letter, text);
    Abort(1);
}

// Options that name an output file need the name: without it the output
// the run was asked for would be lost without a word.
void Solver::RequireOutputNames() const {
    for (char letter : {'w', 'W'}) {
        if (!HasOption(letter) || !IsEmptyValue(OptionValue(letter))) continue;
        std::fprintf(diagnostics_, "Option %c needs the name of the file to write\n", letter);
        Abort(1);
    }
}

std::optional<std::string> Solver::FileArgument(int n) const {
    return options_.FileArgument(n);
}

bool Solver::IsEmptyValue(const char* text) {
    return !text || !*text;
}

FILE* Solver::OpenInput(const char* name) {
    if (IsEmptyValue(name)) {
        std::fprintf(diagnostics_, "No input file was named\n");
        Abort(1);
    }
    FILE* file = files_.Open(name, "r");
    if (!file) {
        std::fprintf(diagnostics_, "Cannot open input file %s\n", name);
        Abort(1);
    }
    // A folder opens as a stream that reads as empty.
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || S_ISDIR(status.st_mode)) {
        std::fprintf(diagnostics_, "%s is not a readable file\n", name);
        Abort(1);
    }
    return file;
}

// Standard output only when no name was given: a named file that cannot be
// opened fails the run rather than sending the output somewhere unexpected.
FILE* Solver::OpenOutput(const char* name) {
    if (IsEmptyValue(name)) return stdout;
    FILE* file = files_.Open(name, "w");
    if (!file) FailOutput("Cannot open output file", name, errno);
    return file;
}

void Solver::FailOutput(const char* what, const char* name, int error) const {
    std::string text = what;
    text += IsEmptyValue(name) ? std::string(" to standard output") : std::string(" ") + name;
    text += ": ";
    text += error != 0 ? std::strerror(error) : "the data could not be written";
    std::fprintf(diagnostics_, "%s\n", text.c_str());
    if (sink_) sink_->AddMessage(IMessageSink::Failure, text.c_str());
    Abort(1);
}

bool Solver::CloseFile(FILE* file) {
    if (file == diagnostics_) return true;
    return files_.Close(file);
}

void Solver::BeginHostContinuation(const char* table) {
    options_.BeginHostContinuation(table);
}

void Solver::EndHostContinuation() {
    options_.EndHostContinuation();
}

// Option l: only the solver's own diagnostics move to the file; the
// process's standard error is left alone.
void Solver::RedirectDiagnostics() {
    const char* name = OptionValue('l');
    if (IsEmptyValue(name)) return;
    if (FILE* file = files_.Open(name, "w")) diagnostics_ = file;
}

// The diagnostics file of option l belongs to its own run.
void Solver::RestoreDiagnostics() {
    if (diagnostics_ == stderr) return;
    files_.Close(diagnostics_);
    diagnostics_ = stderr;
}

void Solver::SetSwitchesFromOptions() {
    RunSwitches s;
    const char* q = OptionValue('q');
    const char* bigQ = OptionValue('Q');
    bool n = HasOption('n');
    bool allOff = HasOption('N');

    s.areaControl = !(HasOption('A') || HasOption('6') || allOff);
    s.pqTransformerControl = !(HasOption('P') || allOff);
    s.voltageTransformerControl = !(HasOption('R') || allOff);
    s.remoteVoltageControl = !(allOff || (bigQ && !*bigQ));
    s.bankSwitching = !(allOff || (bigQ && std::strcmp(bigQ, "X") == 0));
    s.participationCheck = !(HasOption('X') || n);
    // Whenever "R" transformers do not regulate, the voltage they would
    // hold stays an unknown of its bus.
    s.keepTransformerBusLink = HasOption('R') || allOff;

    s.tapLimits = !HasOption('a');
    s.flowBandTransformers = !(HasOption('P') || HasOption('p'));
    s.generatorReactiveLimits = !(q && !*q);
    s.zBusReactiveLimits = !(q && std::strcmp(q, "z") == 0);
    s.xBusShunts = !(q && std::strcmp(q, "x") == 0);
    s.voltageLimits = !HasOption('r');
    s.fieldLimits = HasOption('3') && !HasOption('4');
    s.armatureLimits = HasOption('3') && !HasOption('5');
    s.recovery = !HasOption('G');
    if (n) {
        s.tapLimits = s.flowBandTransformers = s.generatorReactiveLimits = false;
        s.zBusReactiveLimits = s.xBusShunts = s.voltageLimits = false;
        s.fieldLimits = s.armatureLimits = false;
    }
    s.optionX = HasOption('X') || n;
    s.option9 = HasOption('9') || n;
    switches_ = s;
}

// Tolerances, pivot threshold and iteration limit. A host run has no list,
// so it always solves to 1e-4.
void Solver::ReadSolutionSettings() {
    tolerance_ = 1e-4;
    DoubleOption('T', tolerance_, 1e-10, 0.001);
    secondTolerance_ = 1e-4;
    DoubleOption('t', secondTolerance_, tolerance_, 0.1);
    pivotThreshold_ = 0.01;
    DoubleOption('F', pivotThreshold_, 0.001, 1.0);
    iterationLimit_ = IntOption('M', iterationLimit_, 0, 1000);
}
