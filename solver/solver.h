#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "continuation_state.h"
#include "bus_number_table.h"
#include "control_modes.h"
#include "dense_matrix.h"
#include "network.h"
#include "network_arrays.h"
#include "owned_files.h"
#include "result_cursor.h"
#include "run_options.h"
#include "run_switches.h"
#include "solve_modes.h"
#include "solver_abort.h"
#include "solver_interface.h"
#include "sparse_lu.h"

// The solver engine: one object per study. Its operations are split by
// subject over the files of this folder.
class Solver final : public ISolver {
public:
    Solver();

    // ISolver
    int Attach(IRecordCursor* source, IMessageSink* sink, int reserved) override;
    int Main(int count, const char* const* items, int mode) override;
    int AttachAndRun(IRecordCursor* source, IMessageSink* sink, const char* text, int reserved) override;
    void AddRef() override;
    int Release() override;
    void SetTotalsColumns(bool generationP, bool generationQ, bool loadP, bool loadQ) override;
    void ClearTotalsColumns() override;
    IRecordCursor* GetResultCursor() override;
    int WriteIeeeCdf(const char* fileName, int cardFlag) override;
    int GetPointCount() override;
    void WriteReport(ILineWriter* writer) override;
    void SetMaxLoad(double load) override;
    void SetIterationLimit(int limit) override;
    int GetIterationLimit() override;
    void SetTolerance(double tolerance) override;
    double GetTolerance() override;
    int RunPowerFlow() override;
    void AddLoadDirection(double dP, double dQ) override;
    void Hook(int letter, double* values, double scale) override;
    void Transfer(double mw) override;
    void AddToBusVoltage(int key, double delta) override;
    int SelectTransferBuses(int sourceKey, int sinkKey) override;
    bool ReadBusState(IRecordCursor* state) override;
    bool GetSensitivities(int busKey, std::vector<double>& angleFactors, std::vector<int>& angleKeys,
                          std::vector<double>& voltageFactors, std::vector<int>& voltageKeys) override;

    // Options: the argument list of the run and the host run's answers
    // (RunOptions), read as numbers and files.
    void SetArguments(int count, const char* const* items);
    bool HasOption(char letter) const;
    const char* OptionValue(char letter) const;
    int IntOption(char letter, int fallback, int low, int high) const;
    void DoubleOption(char letter, double& value, double low, double high) const;
    [[noreturn]] void RefuseOptionValue(char letter, const char* text) const;
    void RequireOutputNames() const;
    std::optional<std::string> FileArgument(int n) const;
    static bool IsEmptyValue(const char* text);
    FILE* OpenInput(const char* name);
    FILE* OpenOutput(const char* name);
    // Closes a file of OpenInput or OpenOutput; false when writing it failed.
    bool CloseFile(FILE* file);
    // Ends the run over an output file that could not be written: `what`,
    // the file (or standard output) and the system's reason for `error` go
    // to the diagnostics and, in a host run, to the host's sink as a failure.
    [[noreturn]] void FailOutput(const char* what, const char* name, int error) const;

    // Host-run state around Main: the host's cursor and sink, and for a
    // continuation the answers of its options (RunOptions).
    void SetHost(IRecordCursor* source, IMessageSink* sink);
    void BeginHostContinuation(const char* table);
    void EndHostContinuation();

    // Run set-up steps of Main; PrepareRun runs them all, up to the network
    // read and prepared, and may abort.
    void PrepareRun(int count, const char* const* items, int mode);
    void RedirectDiagnostics();
    void RestoreDiagnostics();
    void SetSwitchesFromOptions();
    void ReadSolutionSettings();

    // Network model: the builders, the preparation pass, and the exchange of
    // records with the host.
    Network* GetNetwork() const { return network_.get(); }
    void NewNetwork();
    NetBus* FindOrAddBus(int number, std::string_view name, double baseKv, Search search);
    enum class ListEnd { Head, Tail };
    NetBus* AddBus(std::string_view name, double baseKv, ListEnd end);
    NetBus* FindBus(int externalNumber) const;
    NetBranch* FindOrAddBranch(NetBus* from, NetBus* to, Search search, const char* kinds, char circuit);
    static void LinkBranch(AdjacencyList& list, NetBranch* branch);
    static void UnlinkBranch(AdjacencyList& list, NetBranch* branch);
    // Column-80 builders: a bus by its key, the start of its name (created
    // when absent and asked to); a branch of one of the kinds, null when
    // one with the circuit joins the two buses already.
    NetBus* FindOrAddBus80(int number, std::string_view key, Search search, bool create);
    NetBranch* FindOrAddBranch80(NetBus* first, NetBus* second, const char* kinds, char circuit);
    NetArea* FindOrAddArea(int number, std::string_view name, Search search);
    NetConverter* FindOrAddConverter(std::string_view name, Search search);
    NetSvc* FindOrAddSvc(std::string_view name, Search search, NetBus* terminal, NetBus* controlled);
    NetTcsc* FindOrAddTcsc(std::string_view name, Search search, NetBus* from, NetBus* to);
    NetStatcom* FindOrAddStatcom(std::string_view name, Search search, NetBus* terminal, NetBus* controlled);
    void SetAreaBus(NetBus* bus, NetArea* area);
    bool PrepareNetwork();
    bool PrepareConverters();
    void RequireSolvableNetwork();
    void SettleAreaInterchange();
    void ReadHostNetwork();
    void ReadStressDirection();
    void WriteBusResult(NetBus& bus, BusRecord& record);
    void WriteBranchResult(const NetBranch& branch, BranchRecord& record);

    // Sparse LU factorisation: the one store of every linear system, its
    // order (kept until ClearMatrix) and the factor sign (the sign of the
    // determinant) of the last solve. A new structure: ClearMatrix, AddElement..., SortLists,
    // OrderAndFactor (1: singular, end the run), SortLists, SparseSolve. The
    // same structure again: Matrix().ZeroValues(), AddElement...,
    // Factor (1: go back to a new structure), SparseSolve.
    // SetMatrixOrder empties the store and gives it its order.
    void SetMatrixOrder(int order);
    [[noreturn]] void FailMatrix(const std::string& what) const;
    void ReleaseMatrix();
    SparseMatrix& Matrix() { return matrix_; }
    MatrixEntry* AddElement(int row, int column, double value) {
        if (row < 1 || row > matrix_.Rows() || column < 1 || column > matrix_.Columns()) FailEntryOutside(row, column);
        const auto fixed = [this](int i) { return i <= fixedVariables_.count && fixedVariables_[i] != 0; };
        const bool fixedVariable = fixedVariableMode_ && (fixed(row) || fixed(column));
        return matrix_.AddElement(row, column, value, fixedVariable);
    }
    [[noreturn]] void FailEntryOutside(int row, int column) const;
    void ClearMatrix();
    void SortLists();
    int OrderAndFactor();
    int Factor();
    void SparseSolve(std::span<double> vector);
    void TransposeMatrix();
    static IndexVector NewIndexVector(int count);
    int FactorSign() const { return factorSign_; }
    void SetFixedVariableMode(bool on) { fixedVariableMode_ = on; }
    IndexVector& FixedVariables() { return fixedVariables_; }

    // Power flow: the numbering of the unknowns, the AC network equations,
    // Newton's method with its step application, and the limit checks.
    void NumberVariables();
    // What each bus's voltage column holds: taken at numbering and again
    // by everything that changes a bus's mode.
    void ClassifyBuses();
    void RescaleLoadModels();
    NetArea* AcEquations(int& status, Evaluate evaluate, Loads loads);
    int SolvePowerFlow(int first, Reorder reorder, Refresh refresh, Loads loads);
    static double MaxAbs(std::span<const double> vector, int count, int& index);
    void UpdateBuses(double step, Trial trial, Clamping clamping, RecoveryHold hold);
    // The recovery hold of Newton's own step application (off with option G).
    RecoveryHold StepRecoveryHold() const;
    int CheckTapLimits();
    int CheckBusLimits();
    int CheckGeneratorLimits();
    int HvdcLimitViolated();
    int ResetHvdcControl();
    int SwitchHvdcControl();
    int CheckSvcLimits();
    int CheckTcscLimits();
    int CheckStatcomLimits();
    // Devices (devices/): their set-up before the numbering, their rows of
    // the equations (false when a device cannot be evaluated at the present
    // state; DeviceFault says why), and their part of a Newton step.
    // Generator models come with their buses.
    void InitHvdc();
    bool HvdcEquations(Evaluate evaluate);
    void UpdateDcLinks(double step, Trial trial, Clamping clamping);
    const std::string& DeviceFault() const { return hvdcFault_; }
    void InitSvc();
    void InitTcsc();
    void InitStatcom();
    bool DeviceEquations(Evaluate evaluate);
    void UpdateDevices(double step, Trial trial, Clamping clamping);
    // For a continuation: the field each device unknown (generator models
    // included) moves, at its position; and every device value a step may
    // move, for the base point.
    void DeviceStateFields(std::vector<StateField>& fields);
    void DeviceValues(std::vector<double*>& values);
    double MvaBase() const { return mvaBase_; }
    bool ContinuationOn() const { return continuation_; }
    NetBus* SystemSlack() const;
    int VariableCount() const { return variableCount_; }
    int MatrixOrder() const { return matrixOrder_; }
    std::vector<double>& Mismatch() { return mismatch_; }
    std::vector<double>& Correction() { return correction_; }
    double LoadParameter() const { return lambda_; }
    void SetLoadParameter(double lambda) { lambda_ = lambda; }
    // Continuation: lambda becomes the last unknown. A parameter bus ("BL")
    // gives its voltage column to lambda, and in a continuation its voltage
    // becomes the last unknown.
    void SetContinuation(Continuation continuation, NetBus* parameterBus = nullptr);
    // Point of collapse: the store takes the extended system of 2n + 1.
    void SetPointOfCollapse(bool on) { pointOfCollapse_ = on; }
    // Point of collapse (point_of_collapse.cpp, poc_rows.cpp): the nose of
    // the PV curve solved for directly, with the left null vector w of the
    // Jacobian (unknowns n + 1 .. 2n) and lambda (unknown 2n + 1).
    int SolvePointOfCollapse();
    // w := the null vector of the plain Jacobian (left for rightVector 0)
    // by inverse iteration, its largest entry +-1; answers passThrough.
    int InversePowerIteration(int maxIterations, int passThrough, double tolerance, int rightVector,
                              double* eigenvalue);
    void StepState(double step);
    // Writes w, one line per equation with its name, and closes the file.
    void WriteUnknownVector(int count, FILE* file);
    // Options y and Y after a run: the left null vector to a file, the
    // right one to the hook.
    void WriteRequestedVectors();
    // Rows n + 1 .. 2n + 1 of the extended system, after the plain rows.
    // False, with the fault noted, where an HVDC link has no value.
    bool PocRows(Evaluate evaluate, Loads loads);
    void PocAcRows(bool jacobian);
    bool PocHvdcRows(bool jacobian);
    void PocSvcRows(bool jacobian);
    void PocTcscRows(bool jacobian);
    void PocStatcomRows(bool jacobian);
    std::vector<double>& NullVector() { return nullVector_; }
    // The order of the system Newton's method solves: n, or 2n + 1 while
    // the extended rows are on. The store is emptied.
    void SetSystemOrder(int order, bool extendedRows);
    void SetPlainSystem();
    void SetExtendedSystem();
    int FactorPlainJacobian(int& status);
    // Quiet: a run that cannot converge answers negative instead of failing.
    // Limits done: the limit checks of a quiet run were tried once.
    void SetQuietRun(Quiet quiet, LimitChecks limitChecks);

    // Checks of a solution before it is handed on, and the warnings of a
    // run (to the host's sink, or the diagnostics of a file run).
    bool SolutionFinite() const;
    void RequireFiniteSolution();
    void ReportImplausibleVoltages();
    void Warn(const std::string& text);

    // Ends the run: every internal error comes here.
    [[noreturn]] void Abort(int code) const;

    // Case files: the fixed-width number writer (see casefiles/card_fields.h).
    static void WriteNumber(FILE* file, int lead, int width, int decimals, double value);

    // Case files of a file run: the network it reads, what it sets up after
    // reading, and the listing and case file it writes at its end.
    void ReadNetwork(const char* fileName);
    void ReadIeeeCdf(FILE* input);
    // A "BD ", "BZ " or "LD " card of any case file (another line is left
    // alone). Answers what is wrong with the card, empty when it was read.
    std::string ReadDcCard(const std::string& line);
    void ReadCardDeck(FILE* input);
    void ReadColumn80Deck(FILE* input);
    // The operating-point file of a column-80 deck: 1 when one was read.
    int ReadOperatingPoint(const char* fileName);
    void FormZoneAreas();
    int ReadAuxiliaryFiles();
    void WriteOutputs(const char* fileName);
    void WriteSolution(const char* fileName);
    bool WriteIeeeCdfFile(const char* fileName, int cardFlag);

    const RunSwitches& Switches() const { return switches_; }
    FILE* Diagnostics() const { return diagnostics_; }
    int RunMode() const { return options_.Mode(); }
    double PivotThreshold() const { return pivotThreshold_; }
    double SecondTolerance() const { return secondTolerance_; }
    bool Failed() const { return failed_; }

private:
    ~Solver() override;

    // Runs an entry operation: an abort or exhausted memory closes the
    // solver's own files and answers `failure`.
    template <class Result, class Operation>
    Result Guarded(Result failure, Operation operation) noexcept;

    void ReleaseNetwork();

    int referenceCount_ = 1;
    IMessageSink* sink_ = nullptr;        // borrowed
    IRecordCursor* source_ = nullptr;     // borrowed
    ResultCursor resultCursor_{*this};
    bool failed_ = false;                 // a run ended in an abort: only Release is left

    RunOptions options_;

    double maxLoad_ = -1.0;               // -1: none
    int pointCount_ = 0;
    bool totals_[4] = {false, false, false, false};

    int iterationLimit_ = 100;
    double tolerance_ = 1e-4;
    double secondTolerance_ = 1e-4;
    double pivotThreshold_ = 0.01;
    double mvaBase_ = 100.0;
    double degreesToRadians_ = 3.141592654 / 180.0;
    double lambda_ = 0.0;

    // Sparse LU factorisation.
    SparseMatrix matrix_;
    NetworkArrays equationArrays_;  // the network's links as the AC equations read them
    bool fixedVariableMode_ = false;
    IndexVector fixedVariables_;          // by variable: nonzero = held fixed
    int factorSign_ = 1;

    RunSwitches switches_;
    OwnedFiles files_;
    FILE* diagnostics_ = stderr;

    // Power flow.
    void SvcEquations(Evaluate evaluate);
    void TcscEquations(Evaluate evaluate);
    void StatcomEquations(Evaluate evaluate);
    void UpdateSvcs(double step, Trial trial, Clamping clamping);
    void UpdateTcscs(double step, Trial trial, Clamping clamping);
    void UpdateStatcoms(double step, Trial trial, Clamping clamping);
    // The ratio limits of the converters hold during the steps until a
    // solve finds a converter stuck at one that no control switch frees.
    bool dcTapClamping_ = true;
    std::string hvdcFault_;
    bool EvaluateMismatch(Loads loads);
    bool AssembleJacobian(Loads loads);
    enum class JacobianFault { None, Device, NoSlackGeneration };
    JacobianFault AssembleJacobianAt(Loads loads, const NetArea*& area);
    bool RefactorsAt(int iteration, int first, bool force, Refresh refresh) const;
    bool MeasureWithJacobian(Loads loads);
    bool FactorJacobian(int iteration, int first, bool force, Refresh refresh, Loads loads, bool assembled);
    bool TakeStep(double& norm, double& previous, Loads loads, bool withJacobian, bool& assembled);
    // What the last assembly of a solve's Jacobian left: whether the matrix
    // holds the Jacobian of the solution the solve ended at, where the
    // continuation's parameter row began in the assembly, and what the
    // network pass said of the slack power.
    struct SolvedJacobian {
        bool held = false;
        std::size_t parameterRowStep = 0;
        int status = 0;
        const NetArea* area = nullptr;
    };
    SolvedJacobian solvedJacobian_;
    void ApplyStep(double factor, Trial trial);
    bool SwitchControlsAtLimits(bool& force);
    int FailPowerFlow(int quietResult, bool rescale);
    int FailEvaluation(int quietResult, bool rescale);
    int variableCount_ = 0;               // unknowns of the buses and devices
    int matrixOrder_ = 0;                 // with the continuation or collapse rows
    bool continuation_ = false;
    bool pointOfCollapse_ = false;
    NetBus* parameterBus_ = nullptr;      // continuation bus whose voltage is the parameter
    bool quiet_ = false;
    bool limitsDone_ = false;
    // Point of collapse: the left null vector by equation (from 1), lambda
    // as base + increment, and the store the plain Jacobian is assembled in
    // while the extended mismatch is evaluated.
    bool extendedRows_ = false;
    std::vector<double> nullVector_;
    double lambdaBase_ = 0.0;
    double lambdaIncrement_ = 0.0;
    SparseMatrix pocJacobian_;
    // The pivot order of the plain Jacobian's factor, which the method's
    // other systems are ordered after.
    std::vector<int> plainOrder_;
    void ExtendedMismatch(bool jacobian, Loads loads);
    void NormalisationRow(bool mismatch, bool jacobian);
    void TransposedProduct(const SparseMatrix& matrix, std::vector<double>& product) const;
    int PocTangent(std::vector<double>& t);
    int PocPredictor(int count, bool reset);
    int SolveFromCurvePoint(int count, bool reset);
    bool IsNose(double startLambda);
    int RetryExtendedSolve(int result);
    bool limitsSwitching_ = false;        // the latest retries ended with a control still switching
    void DumpNullVector();
    // Climbing the curve to a start nearer the nose. A point of the curve
    // comes back with the modes its controls were solved in.
    enum class Climb { Climbed, Turned, Stalled, Stuck };
    struct ClimbState {
        int count = 0;                 // iterations of the latest corrector
        int stationaryPoints = 0;      // points in a row at which lambda stayed put
        bool limitSwitched = false;    // a limit switched at the latest point
    };
    struct CurvePoint {
        NetworkSnapshot state;
        ControlModes modes;
    };
    void SaveCurvePoint(CurvePoint& point);
    void RestoreCurvePoint(const CurvePoint& point);
    bool CurveReachesBeyond(const CurvePoint& start);
    int ClimbToTheNose(const CurvePoint& start, int count);
    Climb ClimbCurve(int points, ClimbState& climb);
    enum class Switched { Nothing, Control, Device };
    Switched CheckLimitsOnTheCurve();
    bool LoadCharacteristicsGiven() const;

    std::vector<double> mismatch_;        // by equation, from 1
    std::vector<double> correction_;      // Newton step, by unknown, from 1

    // Network model: reading the host's records.
    void ReadBusRecord(const BusRecord& record, std::vector<NetBus*>& forwardReferences);
    NetBus& RecordBusOf(const BusRecord& record, std::vector<NetBus*>& forwardReferences);
    void ReadBusValues(NetBus& bus, const BusRecord& record);
    void ReadReactiveLimits(NetBus& bus, const BusRecord& record);
    void ReadVoltageLimits(NetBus& bus, const BusRecord& record);
    void ReadSlackBus(NetBus& bus, const BusRecord& record);
    void ReadGeneratorBus(NetBus& bus);
    void ReadScheduledQBus(NetBus& bus, const BusRecord& record);
    void ReadBankBus(NetBus& bus, const BusRecord& record);
    void ReadRemoteGenerator(NetBus& bus, const BusRecord& record, std::vector<NetBus*>& forwardReferences);
    void ReadBranchRecord(const BranchRecord& record);
    void ReadRegulation(const BranchRecord& record, NetBranch& branch);
    NetBus* FindOrAddRecordBus(int number, double baseKv);
    NetBus* RecordBus(int number) const;
    // The buses of the host's records by their numbers (never 0).
    BusNumberTable recordBuses_;
    std::unique_ptr<Network> network_;

    // Continuation study: the table it writes and the files that set it up.
public:
    // Sums over every bus of the latest point, p.u. on the MVA base.
    struct TableTotals {
        double loadP = 0.0;
        double loadQ = 0.0;
        double generationP = 0.0;
        double generationQ = 0.0;
    };
    // Option f: the bus voltages' entries of the latest tangent.
    struct TangentStatistics {
        double largest = 0.0;             // VSFone
        int largestBus = 0;               // VSFbus
        double sum = 0.0;                 // VSFinf
        double factor = 0.0;              // SF
        double busOfInterestEntry = 0.0;
        int busOfInterestRank = 0;
    };
    // The header builds the column list; a row is left open for EndTableRow.
    void WriteTableHeader(FILE* file);
    void WriteTableRow(FILE* file);
    void WriteConverterColumns(FILE* file);
    std::string ConverterColumnNames(bool energy) const;
    // Option O: the energy function of the lossless network at the present
    // point, measured from the state stored by the first row.
    double EnergyMeasure(bool firstRow);
    std::string ConverterDeviceValues() const;
    void EndTableRow(FILE* file, bool descending);
    void SumTableTotals();
    // The buses of the table's voltage columns, in column order, and of
    // its angle columns, which stand before them.
    const std::vector<NetBus*>& TableColumns() const { return tableColumns_; }
    const std::vector<NetBus*>& TableAngleColumns() const { return tableAngleColumns_; }
    static bool InMonitoredList(const NetBus* bus, const std::vector<NetBus*>& list);
    int ReadLoadCharacteristics(const char* fileName);
    // The bus whose voltage option v holds, none without option v.
    NetBus* NamedContinuationBus() const { return namedContinuationBus_; }

private:
    std::vector<NetBus*> tableColumns_;
    std::vector<NetBus*> tableAngleColumns_;  // matrix form of option O: the converters' AC buses
    TableTotals tableTotals_;
    TangentStatistics tangentStatistics_;
    std::unordered_map<const NetBus*, std::pair<double, double>> energyReference_;  // angle, voltage
    NetBus* namedContinuationBus_ = nullptr;
    // What the input gave besides the network (the operating point of a
    // column-80 run): a direction for the load to grow in, from its areas,
    // and load exponents, from its bus records. Cleared for each run.
    struct InputGave {
        bool loadDirection = false;
        bool loadExponents = false;
    } inputGave_;
    // A direction from option K or from the input.
    bool LoadDirectionGiven() const;
    template <class ReadLine>
    void ForEachScenarioBus(char option, const char* fileName, std::size_t minimum, const char* what,
                            ReadLine readLine);
    double ReadDirectionFile(const char* fileName);
    void ReadStartingPointFile(const char* fileName);
    void ReadGeneratorModelFile(const char* fileName);
    void NormaliseGenerationDirections(double sum);
    void RequireLoadDirection(double total);
    void SettleLoadModels();
    int ChooseVoltageBus();

    // Host studies: load steps, transfers between two buses, voltage steps
    // and the sensitivity factors of one bus.
public:
    // Sets a bus's load (p.u.) and moves what the solves draw with it: the
    // constant-power coefficients p0 and q0 of the plain solve by the same
    // amount, and the load models, which then give the new load at the
    // present voltage (RescaleBusLoad).
    static void SetBusLoad(NetBus& bus, double loadP, double loadQ);
    static void RescaleBusLoad(NetBus& bus);
    // Unknowns of the buses: those of the devices come after them.
    int BusVariableCount() const { return busVariableCount_; }

private:
    NetBus* transferSource_ = nullptr;
    NetBus* transferSink_ = nullptr;
    int busVariableCount_ = 0;
public:
    // The Jacobian of the bus equations at the present state with every load
    // held at its scheduled P and Q, factorised; none when the equations
    // report that no generation takes up the slack's power or the Jacobian
    // is singular.
    std::optional<SparseMatrix> FactorisedBusJacobian();

private:

    // Continuation method: the PV curve traced from the solved base case by a
    // predictor along the tangent and a Newton corrector held on the curve by
    // one arc-length equation (row and column n + 1). The parameter is lambda,
    // or for a point at a time the voltage of one load bus ("BL").
public:
    int RunContinuation();
    // Solves for t = dx/dp (the parameter's own entry 0) at the present
    // state; a new pivot order when forced or when the kept one fails. -1
    // when a link cannot be evaluated there.
    int TangentVector(std::vector<double>& t, Reorder reorder, bool atSolvedJacobian = false);
    // The arc-length row: residual and/or Jacobian. -1 when a tangent entry
    // that stands in for a zero share of the slack power (the slack's, or
    // the area variables of `area`) is below 1e-6.
    int ParameterEquation(Evaluate evaluate, const NetArea* area, std::span<const double> t);
    // The present state becomes the base point of the next step.
    void SaveStepBase();
    // Sets the state to base + tangent, clamped. For an overshoot it answers
    // the largest overshoot fraction (at most 1), fixing unknowns first
    // (option u); else the number of quantities clamped.
    double ApplyPredictor(StepAnswer answer);
    double PredictFromBase(StepAnswer answer);
    // The predictor from the present state: it becomes the base point, the
    // step is applied (answering the overshoot) and, while lambda is the
    // parameter, the bus that may take it over is chosen.
    double TakePredictorStep();
    int SwitchParameter();
    void RankByTangent(std::span<const double> t, bool first);
    // The stops a tracing watches for at each point (options 7 and 8).
    struct StopChecks {
        bool voltageLimits = false;
        bool flowLimits = false;
    };
    bool CheckStopConditions(StopChecks checks);
    void AdvanceLoadBase();
    void GenerationFollowsLambda();
    std::vector<double>& Tangent() { return curve_.tangent; }
    void SetParameterStep(double step) { curve_.parameterStep = step; }
    NetBus* ParameterBus() const { return parameterBus_; }
    double Elasticity() const { return curve_.elasticity; }

private:
    struct ContinuationTrace;
    bool ContinuationRequested() const;
    bool PointOfCollapseRequested() const;
    void SolveHoldingVoltage(NetBus& bus);
    void SolveAtLoadParameter();
    int RequireSolution(int iterations);
    void StartSteps();
    void StartContinuation(ContinuationTrace& trace);
    int EndContinuation(ContinuationTrace& trace, int result);
    bool TraceNextPoint(ContinuationTrace& trace);
    bool Predict(ContinuationTrace& trace, double& overshoot);
    void EndOpenRow(ContinuationTrace& trace);
    double StepDirection();
    void ScaleStep(double factor);
    void CountFixingPoint(ContinuationTrace& trace);
    bool LimitOnTheWay(ContinuationTrace& trace, double overshoot);
    bool Correct(Reorder reorder, int& result);
    bool ReverseAtLimit(ContinuationTrace& trace, bool converged);
    void WatchForNose(ContinuationTrace& trace, double lambdaBefore);
    bool WatchForStagnation(ContinuationTrace& trace, double lambdaBefore);
    bool EndAtFailure(ContinuationTrace& trace, const std::string& reason);
    bool AssembleTangentSystem(std::vector<double>& t);
    void EnterTangentRow(std::vector<double>& t, int status, const NetArea* area);
    // The unknowns 1..n as values of the model, into stateFields_: what
    // each column of the Jacobian moves (angle, voltage or what holds its
    // place, slack power...).
    void StateFields();
    void ReadState(std::vector<double>& x);
    void RestoreBasePoint();
    // In a continuation, a switched link's unknowns into the step's base point.
    void WriteLinkIntoBasePoint(NetConverter& rectifier);
    void FixVariables();
    void ChooseSwitchCandidate();
    double MonitoredVoltageSum() const;

    ContinuationState curve_;
    std::vector<double> state_;           // scratch: the state by unknown
    std::vector<StateField> stateFields_; // where each unknown lives
    // The buses' part of stateFields_ holds: it follows the buses' modes,
    // which change only together with their voltage columns.
    bool busFieldsHeld_ = false;
    // The buses whose codes name an area bus ("A") and a remotely
    // regulating generator ("G"), in list order: a step walks only them.
    // Kept, like the buses' state fields, until the buses are classified
    // anew.
    struct CodedBuses {
        bool held = false;
        std::vector<NetBus*> areaBuses;
        std::vector<NetBus*> remoteGenerators;
    };
    CodedBuses codedBuses_;
    const CodedBuses& CodedBusLists();
    std::vector<double*> deviceValues_;   // scratch: what a base point keeps of the devices
};

template <class Result, class Operation>
Result Solver::Guarded(Result failure, Operation operation) noexcept {
    try {
        return operation();
    } catch (...) {
        // SolverAbort, or exhausted memory: nothing may leave the library.
    }
    files_.CloseAll();
    diagnostics_ = stderr;
    return failure;
}
