#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "devices/generator_model.h"
#include "devices/hvdc.h"
#include "devices/statcom.h"
#include "devices/svc.h"
#include "devices/tcsc.h"
#include "owned_list.h"
#include "side_record.h"

// The solver's own model of a network, built by a reader (host records or a
// case file), checked and linked by the preparation pass, and solved in
// place. Electrical values are per unit on the run's MVA base, angles in
// radians, unless a field says otherwise.

struct NetArea;
struct NetBranch;
struct NetBus;
struct NetConverter;
struct NetSvc;
struct NetTcsc;
struct NetStatcom;

// No limit; negated for a lower bound.
constexpr double kUnlimited = 99999999.0;
// A bus angle at or above this value was never given.
constexpr double kAngleNotGiven = 1000.0;
// The engine's own value of pi, ten significant digits, used for every
// angle conversion and wrap so that results match the listings it writes.
constexpr double kPi = 3.141592654;
constexpr double kTwoPi = 6.283185308;
// A transformer ratio this close to the reciprocal of a tap limit counts as
// at the limit.
constexpr double kRatioMargin = 0.00001;

// True when the code holds any one of the letters.
inline bool CodeHas(const std::string& code, const char* letters) {
    // Codes and letter sets are a few characters: a plain loop, called in
    // the equations for every branch end, beats a library search.
    for (char c : code)
        for (const char* letter = letters; *letter; ++letter)
            if (c == *letter) return true;
    return false;
}

// What the column after a bus's angle holds: the bus's voltage where it is
// an unknown, else the quantity that holds the voltage in its place. Decided
// by the bus's code, its control and the run's switches (ClassifyBuses), and
// read by the equations, the step application and the continuation's state.
enum class VoltageColumn {
    Voltage,            // its voltage, free
    ScheduledQVoltage,  // "V" at its scheduled reactive power: its voltage, within its limits
    ScheduledQHeld,     // "V" held at a voltage limit: its reactive generation
    LoadParameter,      // "L": lambda, while the bus's voltage is held or is the parameter
    GeneratorQ,         // a generator holding its own voltage: its reactive generation
    GeneratorVoltage,   // a generator at a limit: its voltage, stopped at its target
    BankVoltage,        // "X": its voltage, as its switched bank controls it
    ZBusQ,              // "Z" holding its voltage: its reactive generation
    ZBusVoltage,        // "Z" at a reactive limit: its voltage
    BandVoltage,        // "R": its voltage, within the band of its "RV" transformers
    TransformerTap,     // "T": the ratio of the "R" transformers that hold it
    RemoteVoltage,      // "C" whose generators are all at a limit: its voltage, stopped at its target
    RemoteQ,            // "C" held by generators: the reactive unknown they share
};

// Whether the column holds the bus's own voltage.
inline bool HoldsVoltage(VoltageColumn column) {
    switch (column) {
    case VoltageColumn::ScheduledQHeld:
    case VoltageColumn::LoadParameter:
    case VoltageColumn::GeneratorQ:
    case VoltageColumn::ZBusQ:
    case VoltageColumn::TransformerTap:
    case VoltageColumn::RemoteQ:
        return false;
    default:
        return true;
    }
}

// The cosine and sine of a branch's phase shift (radians): exactly 1 and 0
// without trigonometry for the many branches that turn nothing (a shift
// of -0 still goes through it, for the sign of its sine).
struct ShiftTurn {
    double cos = 1.0;
    double sin = 0.0;
};
inline ShiftTurn TurnOf(double shift) {
    if (shift == 0.0 && !std::signbit(shift)) return {};
    return {std::cos(shift), std::sin(shift)};
}

// One entry of a list of branches. Lists of branches are pushed at the
// front: they run from the branch linked last to the one linked first.
struct AdjacencyNode {
    NetBranch* branch = nullptr;
};

// A list of branches that grows at its front. The nodes are kept in one
// block, the front at its end, so that the equations walk the list in
// order through memory. Most buses have few branches: the first of them
// live in the list itself, and a bus costs no allocation until it has more.
class AdjacencyList {
public:
    AdjacencyList() = default;
    AdjacencyList(const AdjacencyList& other) { *this = other; }
    AdjacencyList& operator=(const AdjacencyList& other) {
        if (this == &other) return *this;
        clear();
        Grow(other.size_);
        std::copy(other.data(), other.data() + other.size_, data());
        size_ = other.size_;
        return *this;
    }

    void push_front(AdjacencyNode node) {
        if (size_ == capacity_) Grow(2 * capacity_);
        data()[size_++] = node;
    }
    // Takes the branch's node out of the list.
    void remove(const NetBranch* branch) {
        AdjacencyNode* nodes = data();
        AdjacencyNode* kept = std::remove_if(nodes, nodes + size_,
                                             [branch](const AdjacencyNode& node) { return node.branch == branch; });
        size_ = static_cast<std::uint32_t>(kept - nodes);
    }
    void clear() { size_ = 0; }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    // Item 0 is the front.
    const AdjacencyNode& operator[](std::size_t i) const { return data()[size_ - 1 - i]; }
    const AdjacencyNode& front() const { return data()[size_ - 1]; }
    auto begin() const { return std::make_reverse_iterator(data() + size_); }
    auto end() const { return std::make_reverse_iterator(data()); }
    auto begin() { return std::make_reverse_iterator(data() + size_); }
    auto end() { return std::make_reverse_iterator(data()); }

private:
    static constexpr std::uint32_t kKeptInside = 2;

    AdjacencyNode* data() { return spilled_ ? spilled_.get() : inside_; }
    const AdjacencyNode* data() const { return spilled_ ? spilled_.get() : inside_; }
    void Grow(std::uint32_t capacity) {
        if (capacity <= capacity_) return;
        auto grown = std::make_unique<AdjacencyNode[]>(capacity);
        std::copy(data(), data() + size_, grown.get());
        spilled_ = std::move(grown);
        capacity_ = capacity;
    }

    std::unique_ptr<AdjacencyNode[]> spilled_;  // the nodes once they outgrow the list
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = kKeptInside;
    AdjacencyNode inside_[kKeptInside];
};

// One part of a bus load, for P or for Q:
// load = V^exponent (base + lambda baseDirection) + V^2 (impedance + lambda impedanceDirection).
struct LoadModel {
    // The exponents a load may have: beyond them V^exponent under- or
    // overflows at voltages the solver passes through.
    static constexpr double kMaxExponent = 10.0;

    double exponent = 0.0;
    double impedance = 0.0;           // constant-impedance part
    double base = 0.0;                // part that follows V^exponent
    double impedanceDirection = 0.0;  // load-parameter coefficient of the impedance part
    double baseDirection = 0.0;       // load-parameter coefficient of the base part
    // Until the first rescaling `base` holds the fraction of the load that
    // follows V^exponent; the rescaling keeps that fraction here.
    double fraction = 0.0;
    bool scaled = false;

    // V^exponent; a constant-power part (exponent 0) needs no power
    // computed, and its 1 is exactly what the power would give.
    double VoltagePower(double voltage) const { return exponent == 0.0 ? 1.0 : std::pow(voltage, exponent); }
};

// The devices, the remote regulation and the switched bank of a bus, which
// few buses have.
struct NetBusExtras {
    std::vector<NetConverter*> converters;
    std::vector<NetSvc*> svcs;
    std::vector<NetTcsc*> tcscs;
    std::vector<NetStatcom*> statcoms;

    NetBus* remoteBus = nullptr;  // "G" bus: the bus whose voltage it regulates, set by the reader
    int remoteNumber = 0;         // regulated bus as a case file numbers it
    // "G" bus: its share of the remote regulation (for positive remote Q,
    // and for negative).
    double participation = 0.0;
    double participationNegative = 0.0;
    std::vector<NetBus*> regulatingGenerators;  // "C" bus: in bus-list order
    double regulatedGenerationQ = 0.0;          // "C" bus: sum of its regulating generators' Q
    int regulatingGeneratorCount = 0;           // "C" bus: generators still regulating it
    double sumMaxQ = 0.0;                       // "C" bus: sums of its generators' Q limits
    double sumMinQ = 0.0;

    NetBus* bankBus = nullptr;      // "X" bus: the bus whose switched bank holds its voltage
    std::vector<double> bankSteps;  // susceptance of each step of the switched bank
    int bankStep = 0;               // present step of the switched bank
    int bankStepCount = 0;
};

struct NetBus {
    static constexpr std::size_t kNameLength = 15;

    // Laid out by what reads it, so that a pass over a large network touches
    // few cache lines of each bus: first what every pass of the equations
    // reads, then what the preparation reads and writes, then the strings
    // and the list of regulating branches, which with the code, the machine
    // model, the branches and the side record are what ending a bus reads.

    // Its first unknown (the angle; the voltage column follows), 1-based;
    // 0 until the unknowns are numbered.
    int firstVariable = 0;
    VoltageColumn voltageColumn = VoltageColumn::Voltage;
    // Type code, up to 3 letters: "B" plain, "S" slack, "Q" generator,
    // "V" scheduled Q with voltage limits, "C" held by remote generators,
    // "T" held by a regulating transformer, "G" remote regulating generator,
    // "X" switched bank, "A" area bus.
    std::string code = "B";
    // 'V' voltage held, 'Q' reactive power held, 'I' armature current and
    // 'E' internal voltage of its generator model held at a limit, 'X' bank
    // steps; 0 none.
    char control = 0;
    // Its own voltage is an unknown rather than held at a value. A "G"
    // generator's is while it holds its remote bus's voltage, and, with
    // remote control off, while it is at a reactive limit.
    bool voltageFree = false;
    int kind = 0;             // host record kind 0-8
    NetArea* area = nullptr;
    std::unique_ptr<NetGenerator> generator;  // its machine model; none without one
    double voltage = 0.0;
    double angle = kAngleNotGiven;
    double generationP = 0.0;  // solved active generation
    double generationQ = 0.0;
    double shuntG = 0.0;
    double shuntB = 0.0;
    double shareInUse = 0.0;           // the share the equations use (0 at the active limit)
    double generationDirection = 0.0;  // share b of the distributed slack

    AdjacencyList branches;            // every branch at the bus

    // What few buses have. Kept apart so that a bus stays small: reading and
    // preparing a large network is bound by the bytes its buses take.
    const NetBusExtras& extras() const { return extras_.Get(); }
    bool HasExtras() const { return extras_.Has(); }
    NetBusExtras& EditExtras() { return extras_.Edit(); }

private:
    // Beside the branches: the preparation reads both to tell whether
    // anything is connected.
    SideRecord<NetBusExtras> extras_;

public:
    double scheduledP = 0.0;   // scheduled active generation
    double loadP = 0.0;
    double loadPCopy = 0.0;
    double loadQ = 0.0;
    double loadQCopy = 0.0;
    double maxP = kUnlimited;
    double maxPCopy = kUnlimited;
    double voltageTarget = 0.0;        // the voltage a bus held at a limit returns to
    double scheduledQ = 0.0;           // "V" bus: its scheduled reactive generation

    std::string areaCode;     // zone of the bus, matched against NetArea::codes
    std::string owner;        // compared with branch tags
    std::string name;         // at most kNameLength characters
    AdjacencyList regulatingBranches;  // regulating transformers that control this bus

    // Unclamped value of the quantity in the voltage column, summed over the
    // trial steps of one Newton iteration.
    double shadow = 0.0;
    // Slack powers (p.u.) that the distributed slack shares out: the system
    // slack's, held in its angle column, and an area bus's, held in the
    // column after its voltage.
    double slackPower = 0.0;
    double areaPower = 0.0;
    // p0, p1, p2, q0, q1, q2: the load as a polynomial of the voltage,
    // PL = p0 + p1 V + p2 V^2, QL = q0 + q1 V + q2 V^2, which the plain
    // power flow solves with.
    std::array<double, 6> loadPolynomial{};
    LoadModel loadModelP;
    LoadModel loadModelQ;

    int key = 0;
    int number = 0;           // internal number 1..n; 0 until numbered
    int externalNumber = 0;   // the number in the input
    int controllingBranchCount = 0;    // P/Q-regulating transformers registered on the bus
    double baseKv = 0.0;
    int generatorLimitIndex = 0;     // set when the active generation meets its limit

    double maxQ = 0.0;
    double minQ = 0.0;
    double maxS = kUnlimited;        // apparent-power limit
    // The reactive limits left by the apparent-power limit at the present
    // active generation.
    double effectiveMaxQ = 0.0;
    double effectiveMinQ = 0.0;
    double equivalentB = 0.0;        // "Z" bus at a reactive limit: its Q / V^2
    double maxVoltage = 0.0;
    double minVoltage = 0.0;
    double displayMaxVoltage = 0.0;  // voltage limits a case file gives for display
    double displayMinVoltage = 0.0;
    double displayMaxQ = 0.0;        // reactive capability shown in the listing
    double displayMinQ = 0.0;
};

// What a regulating transformer holds beyond a plain branch, which few
// branches are.
struct NetRegulation {
    NetBus* regulatedBus = nullptr;  // controlled bus
    int regulatedPosition = 0;       // its place among the bus's controlling branches
    double controlMin = 0.0;         // limits of the tap (as ratios) or of the shift
    double controlMax = 0.0;
    double controlTarget = 0.0;
    double bandMin = 0.0;
    double bandMax = 0.0;
};

struct NetBranch {
    // What every pass of the equations reads comes first (see NetBus).
    NetBus* from = nullptr;
    NetBus* to = nullptr;
    // "L" line, "E" line with unequal end shunts, "T" fixed transformer,
    // "R" voltage-regulating, "RQ"/"RN" reactive flow, "RP"/"RM" active flow.
    std::string code;
    double g = 0.0;            // series admittance g + jb
    double b = 0.0;
    double fromShuntG = 0.0;   // shunt at the from end
    double fromShuntB = 0.0;
    double toShuntG = 0.0;     // shunt at the to end
    double toShuntB = 0.0;
    double tap = 1.0;          // ratio t; multiplies the from-end voltage
    double shift = 0.0;

    int key = 0;
    int kind = 0;              // host record kind: 0 line, 1 transformer, 2 regulating
    char circuit = '1';        // ' ' matches any circuit in a search
    char control = 0;          // 'V' voltage, 'P' active flow, 'Q' reactive flow
    char limitLetter = 0;

    // Kept apart as the bus's extras are (see NetBus): a branch that does
    // not regulate reads zeros and no regulated bus.
    const NetRegulation& regulation() const { return regulation_.Get(); }
    bool HasRegulation() const { return regulation_.Has(); }
    NetRegulation& EditRegulation() { return regulation_.Edit(); }

private:
    // Beside the strings: ending a branch reads only these.
    SideRecord<NetRegulation> regulation_;

public:
    std::string owner;
    std::string tag;           // host: the circuit text of the record
    NetArea* area = nullptr;
    NetBus* meteredBus = nullptr;    // the end kept with the branch
    int section = 0;
    // P/Q-regulating transformer: the unknown of its control (shift, tap or
    // flow), 0 for other branches; and the unclamped value of that unknown
    // (or of the tap of an "R" transformer) over one Newton iteration.
    int variable = 0;
    double shadow = 0.0;
    double nominalRatio = 1.0; // nominal ratio on the to side
    double rating = 0.0;       // 0: none
};

// A P/Q-regulating transformer: its control has an unknown of its own
// (an "R" transformer takes the regulated bus's voltage column instead).
inline bool IsFlowRegulating(const NetBranch& branch) {
    return CodeHas(branch.code, "PQMN");
}

// A flow-regulating transformer whose unknown is the flow itself (its shift
// or tap is held); for "RP" and "RQ" the unknown is the shift or the tap.
inline bool HoldsFlowAsUnknown(const NetBranch& branch) {
    return branch.code != "RP" && branch.code != "RQ";
}

// A remotely regulating generator's share of its regulated bus's reactive
// unknown: one share for positive remote Q, another for negative.
inline double RemoteShare(const NetBus& generator) {
    const NetBusExtras& share = generator.extras();
    const NetBus* regulated = share.remoteBus;
    return regulated && regulated->extras().regulatedGenerationQ < 0.0 ? share.participationNegative
                                                                       : share.participation;
}

struct NetArea {
    int number = 0;
    int slackCount = 0;
    std::string name;
    std::array<std::string, 10> codes;   // the bus area codes that belong to it
    double scheduledExport = 0.0;
    double directionSum = 0.0;           // sum over its buses' generation directions
    double participationSum = 0.0;       // of the shares its area bus's power is spread by
    NetBus* areaBus = nullptr;           // its slack bus
    std::vector<NetBus*> buses;          // in bus-list order
    std::vector<NetConverter*> dcLinks;
    AdjacencyList ties;
};

struct Network {
    std::array<std::string, 3> title;

    // List orders: buses as the builders leave them (created without search
    // at the head, with search at the tail); branches, SVCs, TCSCs and
    // STATCOMs at the head while reading, the branches put back into reading
    // order by the preparation; converters and areas in creation order.
    OwnedList<NetBus> buses;
    OwnedList<NetConverter> converters;
    OwnedList<NetBranch> branches;
    OwnedList<NetArea> areas;
    OwnedList<NetSvc> svcs;
    OwnedList<NetTcsc> tcscs;
    OwnedList<NetStatcom> statcoms;
    std::vector<NetBus*> slackBuses;  // codes with "S" or "A", in bus-list order

    // Counts kept by the readers.
    int busCount = 0;
    int branchCount = 0;              // plain lines and transformers once read
    int regulatingCount = 0;          // P/Q-regulating transformers once read
    int voltageRegulatingCount = 0;
    int generatorBusCount = 0;        // voltage-controlled (PV) buses, the slack among them
    int slackCount = 0;
    int areaCount = 0;
    int converterCount = 0;
    int svcCount = 0;
    int tcscCount = 0;
    int tcscUnknownCount = 0;
    int statcomCount = 0;
    int generatorModelCount = 0;
    int bankBusCount = 0;             // "X" buses whose bank still switches
    int zBusCount = 0;                // "Z" buses under voltage control

    double referenceAngle = 0.0;      // angle of a bus whose angle was not given
    bool remoteVoltageSums = false;   // "C" buses sum their generators' Q limits
};
