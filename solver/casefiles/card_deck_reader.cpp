#include <cmath>
#include <complex>
#include <iterator>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <utility>

#include "deck_lines.h"
#include "facts_cards.h"
#include "solver.h"

// The two-letter card deck, the solver's own network format: the first
// three columns of a card name it ("B  ", "BQ ", "L  ", "T  " ...), every
// value stands in fixed columns, and a bus is named by the twelve columns of
// its name and base-kV text. MW, Mvar, kV and degrees on the cards; per
// unit on the MVA base and radians in the model.

namespace {

enum class Card { Comment, Title, Bus, Continuation, Shunt, Branch, Regulator, Dc, Area, Solution, Facts, End, Other };

// Card codes compared from column 1 over their length, in this order.
struct CardCode {
    const char* text;
    Card card;
};
constexpr CardCode kCards[] = {
    {"C", Card::Comment},   {"BAS", Card::Other},    {"HDG", Card::Title},   {"TITU", Card::Title},
    {"B  ", Card::Bus},     {"BQ ", Card::Bus},      {"BV ", Card::Bus},     {"BE ", Card::Bus},
    {"BC ", Card::Bus},     {"BG ", Card::Bus},      {"BT ", Card::Bus},     {"BX ", Card::Bus},
    {"BA ", Card::Bus},     {"BF ", Card::Bus},      {"BJ ", Card::Bus},     {"BK ", Card::Bus},
    {"BL ", Card::Bus},     {"BS ", Card::Bus},      {"+", Card::Continuation}, {"X  ", Card::Shunt},
    {"L  ", Card::Branch},  {"T  ", Card::Branch},   {"E  ", Card::Branch},  {"R  ", Card::Regulator},
    {"RP ", Card::Regulator}, {"RM ", Card::Regulator}, {"RQ ", Card::Regulator}, {"RN ", Card::Regulator},
    {"BD ", Card::Dc},      {"BZ ", Card::Dc},       {"LD ", Card::Dc},      {"A  ", Card::Area},
    {"SOL", Card::Solution}, {"FS ", Card::Facts},   {"FC ", Card::Facts},   {"FT ", Card::Facts},
    {"END", Card::End},     {"FIM", Card::End},
};

// Below this, both R and X (p.u.) count as no impedance at all.
constexpr double kNoImpedance = 1e-4;
constexpr double kSqrt3 = 1.7320508075688772;
// Columns of the eight step groups of a switched-shunt card.
constexpr int kShuntGroups[] = {33, 39, 45, 51, 57, 63, 69, 75};
// Columns of the ten zone names of an area card.
constexpr int kAreaZones[] = {36, 39, 42, 45, 48, 51, 54, 57, 60, 63};

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

using Complex = std::complex<double>;

// The series and shunt admittances of a branch or of one section of it.
struct Section {
    Complex series;
    Complex fromShunt;
    Complex toShunt;
};

Section SectionOf(const NetBranch& branch) {
    return {{branch.g, branch.b}, {branch.fromShuntG, branch.fromShuntB}, {branch.toShuntG, branch.toShuntB}};
}

void SetSection(NetBranch& branch, const Section& section) {
    branch.g = section.series.real();
    branch.b = section.series.imag();
    branch.fromShuntG = section.fromShunt.real();
    branch.fromShuntB = section.fromShunt.imag();
    branch.toShuntG = section.toShunt.real();
    branch.toShuntB = section.toShunt.imag();
}

Complex Quotient(Complex a, Complex b) {
    return b == Complex{} ? Complex{} : a / b;
}

class CardDeckReader {
public:
    CardDeckReader(Solver& solver, FILE* input, double mvaBase, int& iterationLimit)
        : solver_(solver), network_(*solver.GetNetwork()), deck_(solver, input, "Card deck"), input_(input),
          base_(mvaBase), iterationLimit_(iterationLimit) {}

    void Read();

private:
    Card CardOf() const;
    void ReadTitle();
    void ReadBus();
    void ReadBusKind(NetBus& bus, const std::string& code);
    void ReadReactiveLimits(NetBus& bus);
    void ReadVoltageLimits(NetBus& bus);
    void ReadRemoteGenerator(NetBus& bus);
    void ReadContinuation();
    void ReadShunt();
    void ReadShuntSteps(NetBus& shuntBus);
    void ReadBranch();
    bool MergeSection(NetBus* from, NetBus* to, char circuit, int section, const Section& added, double tap,
                      double shift, bool transformer);
    void ReadRegulator();
    void ReadTapLimits(NetBranch& branch, const std::string& code);
    void ReadFlowControl(NetBranch& branch, const std::string& code, NetBus* from, NetBus* to);
    void ReadDc();
    void ReadArea();
    void ReadSolution();
    void Finish();

    // The bus of the twelve columns from `col` (its base kV in the last
    // four), made when new; a bus needs a base kV.
    NetBus* Bus(int col);
    NetBus* FindBus(const std::string& name) const;
    double Mw(int col, int len) const { return deck_.Real(col, len, 0) / base_; }

    Solver& solver_;
    Network& network_;
    DeckLines deck_;
    FILE* input_;
    const double base_;
    int& iterationLimit_;
    NetBus* current_ = nullptr;  // the bus a "+" card adds to
    std::unordered_map<std::string, NetBus*> busesByName_;
    // Regulating branches whose tap limits wait for the ratio of their
    // transformer card, which may come after them.
    std::vector<NetBranch*> tapRegulators_;
};

void CardDeckReader::Read() {
    bool any = false;
    while (deck_.Next()) {
        any = true;
        switch (CardOf()) {
        case Card::Title: ReadTitle(); break;
        case Card::Bus: ReadBus(); break;
        case Card::Continuation:
            if (current_) ReadContinuation();
            break;
        case Card::Shunt: ReadShunt(); break;
        case Card::Branch: ReadBranch(); break;
        case Card::Regulator: ReadRegulator(); break;
        case Card::Dc: ReadDc(); break;
        case Card::Area: ReadArea(); break;
        case Card::Solution: ReadSolution(); break;
        case Card::Facts:
            if (std::string fault = ReadFactsCard(solver_, deck_.Line()); !fault.empty()) deck_.Fail(fault);
            break;
        case Card::End:
            Finish();
            return;
        case Card::Comment:
        case Card::Other:
            break;
        }
    }
    if (!any) deck_.FailAfterReading("the file is empty");
    deck_.Fail("the deck ends without an \"END\" or \"FIM\" card");
}

// A "+" card only continues a bus; with none in hand it is read as what
// else it may be.
Card CardDeckReader::CardOf() const {
    for (const CardCode& code : kCards) {
        if (!deck_.Is(code.text)) continue;
        if (code.card == Card::Continuation && !current_) continue;
        return code.card;
    }
    return Card::Other;
}

// The title lines follow their card, up to three, ended early by a "BAS"
// or "D" card.
void CardDeckReader::ReadTitle() {
    for (std::string& title : network_.title) {
        if (!deck_.Next()) deck_.Fail("the deck ends inside its title");
        if (deck_.Is("BAS") || deck_.Is("D")) return;
        title = deck_.Line();
    }
}

NetBus* CardDeckReader::FindBus(const std::string& name) const {
    auto found = busesByName_.find(name);
    return found == busesByName_.end() ? nullptr : found->second;
}

NetBus* CardDeckReader::Bus(int col) {
    const std::string name = deck_.Text(col, 12);
    if (NetBus* bus = FindBus(name)) return bus;
    const double kv = deck_.Real(col + 8, 4, 0);
    if (kv <= 0.0) deck_.Fail("the bus \"" + name + "\" has no base kV");
    NetBus* bus = solver_.AddBus(name, kv, Solver::ListEnd::Tail);
    bus->number = ++network_.busCount;
    busesByName_.emplace(name, bus);
    return bus;
}

// A DC card names its buses in twelve columns as the other cards do and
// makes those that are new at the tail of the bus list: they are numbered
// and known by name as Bus() does.
void CardDeckReader::ReadDc() {
    const std::size_t known = network_.buses.size();
    if (std::string fault = solver_.ReadDcCard(deck_.Line()); !fault.empty()) deck_.Fail(fault);
    for (std::size_t i = known; i < network_.buses.size(); ++i) {
        NetBus* bus = network_.buses[i].get();
        if (bus->baseKv <= 0.0) deck_.Fail("the bus \"" + bus->name + "\" has no base kV");
        bus->number = ++network_.busCount;
        busesByName_.emplace(bus->name, bus);
    }
}

// What every bus card gives, then what its code adds.
void CardDeckReader::ReadBus() {
    const std::string code = deck_.Text(1, 3);
    NetBus& bus = *Bus(7);
    current_ = &bus;
    if (bus.voltage != 0.0) deck_.Fail("a second bus card, or a bus card after a switched-shunt card, for the bus");
    bus.owner = deck_.Text(4, 3);
    bus.areaCode = deck_.Text(19, 2);
    bus.loadP = Mw(21, 5);
    bus.loadQ = Mw(26, 5);
    bus.shuntG = Mw(31, 4);
    bus.shuntB = Mw(35, 4);
    bus.scheduledP = Mw(43, 5);
    double maxP = Mw(39, 4);
    if (maxP == 0.0 || maxP < bus.scheduledP) maxP = kUnlimited;
    bus.maxP = bus.maxPCopy = maxP;
    bus.generationQ = Mw(48, 5);
    const double voltage = deck_.Real(58, 4, 3);
    bus.voltage = voltage > 0.0 ? voltage : 1.0;
    bus.voltageTarget = bus.voltage;
    if (code != "BL ") ReadBusKind(bus, code);
}

void CardDeckReader::ReadBusKind(NetBus& bus, const std::string& code) {
    Network& network = network_;
    if (code == "B  " || code == "BJ " || code == "BF ") {
        // A bus that remote generators hold keeps its voltage held.
        if (bus.code != "BC") bus.voltageFree = true;
    } else if (code == "BC ") {
        bus.code = "BC";
    } else if (code == "BT ") {
        bus.code = "BT";
    } else if (code == "BE ") {
        bus.code = "BQ";
        bus.generationQ = 0.0;
        bus.control = 'V';
        bus.maxQ = kUnlimited;
        bus.minQ = -kUnlimited;
        ++network.generatorBusCount;
    } else if (code == "BQ " || code == "BK ") {
        bus.code = "BQ";
        bus.generationQ = 0.0;
        bus.control = 'V';
        ReadReactiveLimits(bus);
        ++network.generatorBusCount;
    } else if (code == "BV " || code == "BA ") {
        bus.code = "BV";
        bus.control = 'Q';
        bus.scheduledQ = bus.generationQ;
        ReadVoltageLimits(bus);
        bus.maxQ = kUnlimited;
        bus.minQ = -kUnlimited;
        bus.voltageFree = true;
    } else if (code == "BX ") {
        ReadVoltageLimits(bus);
        bus.voltageFree = true;
    } else if (code == "BG ") {
        ReadRemoteGenerator(bus);
    } else if (code == "BS ") {
        bus.code += "S";
        bus.control = 'V';
        bus.generationQ = 0.0;
        network.referenceAngle = 0.0;
        ReadReactiveLimits(bus);
        ++network.slackCount;
    }
}

void CardDeckReader::ReadReactiveLimits(NetBus& bus) {
    bus.maxQ = Mw(48, 5);
    bus.minQ = Mw(53, 5);
    if (bus.minQ >= bus.maxQ) deck_.Fail("the reactive limits of the bus are not ordered");
}

void CardDeckReader::ReadVoltageLimits(NetBus& bus) {
    const double maxVoltage = deck_.Real(58, 4, 3);
    const double minVoltage = deck_.Real(62, 4, 3);
    bus.maxVoltage = maxVoltage > 0.0 ? maxVoltage : 10.0;
    bus.minVoltage = minVoltage > 0.0 ? minVoltage : 0.001;
    if (bus.maxVoltage <= bus.minVoltage) deck_.Fail("the voltage limits of the bus are not ordered");
}

// "BG ": a generator holding the voltage of the bus named in columns 66-77,
// which then counts it among its generators.
void CardDeckReader::ReadRemoteGenerator(NetBus& bus) {
    bus.code = "BG";
    bus.generationQ = 0.0;
    bus.control = 'V';
    ReadReactiveLimits(bus);
    ++network_.generatorBusCount;
    if (IsBlank(deck_.Text(66, 12))) deck_.Fail("the card names no remote bus");
    if (IsBlank(deck_.Text(7, 8))) deck_.Fail("the card names no bus of its own");
    NetBus* remote = Bus(66);
    if (remote->code == "B")
        remote->code = "BC";
    else if (remote->code != "BC")
        deck_.Fail("the remote bus holds its voltage otherwise");
    bus.EditExtras().remoteBus = remote;
    bus.voltageFree = true;
    ++remote->EditExtras().regulatingGeneratorCount;
    remote->voltageFree = false;
    const double share = deck_.Real(78, 3, 0) * 0.01;
    bus.EditExtras().participation = share > 0.0 ? share : 1.0;
    if (network_.remoteVoltageSums) {
        remote->EditExtras().sumMaxQ += bus.maxQ;
        remote->EditExtras().sumMinQ += bus.minQ;
    }
}

// "+": more load, shunt and generation for the bus in hand.
void CardDeckReader::ReadContinuation() {
    NetBus& bus = *current_;
    bus.loadP += Mw(21, 5);
    bus.loadQ += Mw(26, 5);
    bus.shuntG += Mw(31, 4);
    bus.shuntB += Mw(35, 4);
    bus.scheduledP += Mw(43, 5);
    bus.loadQ -= Mw(39, 4);
}

// "X  ": a switched shunt at its bus holding the voltage of that bus, or of
// the remote bus it names when shunts may control remote buses.
void CardDeckReader::ReadShunt() {
    NetBus* shuntBus = Bus(7);
    current_ = shuntBus;
    NetBus* controlled = shuntBus;
    if (deck_.Real(29, 4, 0) > 0.0) controlled = Bus(21);
    if (solver_.Switches().bankSwitching) controlled = shuntBus;
    if (controlled->code != "B") return;
    ++network_.bankBusCount;
    controlled->code = "BX";
    controlled->control = 'X';
    controlled->EditExtras().bankBus = shuntBus;
    controlled->voltageFree = true;
    if (controlled != shuntBus) shuntBus->code = std::string("B");
    shuntBus->voltage = 1.0;
    shuntBus->voltageTarget = 1.0;
    ReadShuntSteps(*shuntBus);
}

// Step 0 of the list is in from the start and only gives the bank's sense
// (+1 capacitive, -1 reactive); each further step keeps its own sign, as
// switching adds it to the shunt susceptance.
void CardDeckReader::ReadShuntSteps(NetBus& shuntBus) {
    for (int col : kShuntGroups) {
        const int count = deck_.Int(col, 1);
        const double size = Mw(col + 1, 5);
        if (count < 1 || count > 9 || size == 0.0) continue;
        std::vector<double>& steps = shuntBus.EditExtras().bankSteps;
        if (steps.empty()) steps.push_back(size > 0.0 ? 1.0 : -1.0);
        steps.insert(steps.end(), static_cast<std::size_t>(count), size);
    }
    shuntBus.EditExtras().bankStepCount = static_cast<int>(shuntBus.extras().bankSteps.size());
}

// "L  ", "T  ", "E  ": a line or transformer, or one more section of one.
void CardDeckReader::ReadBranch() {
    const char kind = deck_.Line()[0];
    NetBus* from = Bus(7);
    NetBus* to = Bus(20);
    current_ = from;
    if (from == to) deck_.Fail("both ends of the branch are one bus");
    const char circuit = deck_.Text(32, 1)[0];
    const int section = deck_.Int(33, 1);

    const double r = deck_.Real(39, 6, 5);
    const double x = deck_.Real(45, 6, 5);
    if (std::fabs(r) < kNoImpedance && std::fabs(x) < kNoImpedance) deck_.Fail("the branch has no impedance");
    const double z2 = r * r + x * x;
    Section added{{r / z2, -x / z2}, {}, {}};
    const Complex shunt{deck_.Real(51, 6, 5), deck_.Real(57, 6, 5)};
    if (kind == 'L') added.fromShunt = added.toShunt = shunt;
    if (kind == 'E') {
        added.fromShunt = shunt;
        added.toShunt = {deck_.Real(63, 6, 5), deck_.Real(69, 6, 5)};
    }
    if (kind == 'T') added.toShunt = shunt;

    double tap = 1.0;
    double nominalRatio = 1.0;
    double shift = 0.0;
    if (kind == 'T') {
        const double toTapKv = deck_.Real(68, 5, 2);
        const double fromField = deck_.Real(63, 5, 2);
        if (toTapKv > 0.0) {
            double fromRatio = fromField / from->baseKv;
            if (fromRatio <= 0.0) fromRatio = 1.0;
            nominalRatio = toTapKv / to->baseKv;
            tap = nominalRatio / fromRatio;
        } else {
            shift = fromField * (kPi / 180.0);
        }
    }
    const double rating = kind == 'T' ? Mw(34, 4) : deck_.Real(34, 4, 0) / (base_ * 1000.0 / (kSqrt3 * from->baseKv));

    if (section != 0 && MergeSection(from, to, circuit, section, added, tap, shift, kind == 'T')) return;
    // A regulating card may have come first: its branch waits for this
    // card's impedance.
    NetBranch* branch = kind == 'T' ? solver_.FindOrAddBranch(from, to, Search::Yes, "R", circuit) : nullptr;
    if (branch && (branch->g != 0.0 || branch->b != 0.0)) branch = nullptr;
    if (!branch) branch = solver_.FindOrAddBranch(from, to, Search::No, "", circuit);
    branch->section = section;
    SetSection(*branch, added);
    branch->tap = tap;
    branch->nominalRatio = nominalRatio;
    branch->shift = shift;
    branch->rating = rating;
    branch->owner = deck_.Text(4, 3);
    ++network_.branchCount;
    const char metered = deck_.Text(19, 1)[0];
    if (metered == '1') branch->meteredBus = from;
    if (metered == '2') branch->meteredBus = to;
    if (kind != 'T' || !CodeHas(branch->code, "R")) branch->code = std::string(1, kind);
}

// One more section of a line or transformer already read between the same
// buses with the same circuit: the middle node between the two is
// eliminated, the ratio of the later section moved to the front of the
// earlier one.
bool CardDeckReader::MergeSection(NetBus* from, NetBus* to, char circuit, int section, const Section& added,
                                  double tap, double shift, bool transformer) {
    NetBranch* branch = nullptr;
    for (const AdjacencyNode& node : from->branches) {
        NetBranch* b = node.branch;
        const bool joins = (b->from == from && b->to == to) || (b->from == to && b->to == from);
        if (joins && b->circuit == circuit && b->code.size() == 1 && CodeHas(b->code, "LTE")) {
            branch = b;
            break;
        }
    }
    if (!branch) return false;
    Section first = SectionOf(*branch);
    Section second = added;
    if (section < branch->section) {
        std::swap(first, second);
        const double a2 = branch->tap * branch->tap;
        first = {first.series / a2, first.fromShunt / a2, first.toShunt / a2};
    } else {
        const double a2 = tap * tap;
        first = {first.series / a2, first.fromShunt / a2, first.toShunt / a2};
    }
    if (transformer && !CodeHas(branch->code, "RT")) branch->code = std::string("T");
    branch->tap *= tap;
    branch->shift += shift;
    branch->section = section;
    const Complex middle = first.toShunt + second.fromShunt;
    const Complex sum = first.series + second.series + middle;
    SetSection(*branch, {Quotient(first.series * second.series, sum),
                         first.fromShunt + Quotient(first.series * middle, sum),
                         second.toShunt + Quotient(second.series * middle, sum)});
    return true;
}

// "R  ", "RP ", "RM ", "RQ ", "RN ": the control of a transformer, whose
// own card may come before or after this one.
void CardDeckReader::ReadRegulator() {
    const std::string code = deck_.Text(1, 3).substr(0, deck_.Line()[1] == ' ' ? 1 : 2);
    NetBus* from = Bus(7);
    NetBus* to = Bus(20);
    current_ = from;
    if (from == to) deck_.Fail("both ends of the transformer are one bus");
    const char circuit = deck_.Text(32, 1)[0];
    NetBranch* branch = solver_.FindOrAddBranch(from, to, Search::Yes, "T", circuit);
    if (!branch) branch = solver_.FindOrAddBranch(from, to, Search::No, "", circuit);
    branch->code = code;
    ++network_.branchCount;
    ++network_.regulatingCount;

    if (code == "R" || code == "RQ" || code == "RN") ReadTapLimits(*branch, code);
    if (code == "R") {
        if (IsBlank(deck_.Text(34, 12))) deck_.Fail("the card names no controlled bus");
        NetBus* controlled = Bus(34);
        if (controlled->code == "B") controlled->code = "BT";
        branch->EditRegulation().regulatedBus = controlled;
        Solver::LinkBranch(controlled->regulatingBranches, branch);
        ++network_.voltageRegulatingCount;
        return;
    }
    ReadFlowControl(*branch, code, from, to);
}

// Tap limits in kV of the from winding, kept as ratios of the from bus's
// base kV until the transformer's card has given its ratio.
void CardDeckReader::ReadTapLimits(NetBranch& branch, const std::string& code) {
    const double fromKv = branch.from->baseKv;
    double upper = deck_.Real(46, 5, 2) / fromKv;
    double lower = deck_.Real(51, 5, 2) / fromKv;
    // Only "R" reads a blank limit as the default.
    const bool blankIsDefault = code == "R";
    if (upper < 0.0 || (blankIsDefault && upper == 0.0)) upper = 1.1;
    if (lower < 0.0 || (blankIsDefault && lower == 0.0)) lower = 0.9;
    if (upper <= lower) deck_.Fail("the tap limits of the transformer are not ordered");
    NetRegulation& regulation = branch.EditRegulation();
    regulation.controlMax = upper;
    regulation.controlMin = lower;
    tapRegulators_.push_back(&branch);
}

// A flow held at a value or within a band, measured at one end of the
// transformer: the controlled bus the card names when it is an end, else
// the from bus.
void CardDeckReader::ReadFlowControl(NetBranch& branch, const std::string& code, NetBus* from, NetBus* to) {
    NetRegulation& regulation = branch.EditRegulation();
    if (code == "RP" || code == "RM") {
        const double toRadians = kPi / 180.0;
        regulation.controlMax = deck_.Real(46, 5, 2) * toRadians;
        regulation.controlMin = deck_.Real(51, 5, 2) * toRadians;
        if (regulation.controlMin >= regulation.controlMax)
            deck_.Fail("the angle limits of the transformer are not ordered");
    }
    if (code == "RP" || code == "RQ") {
        regulation.controlTarget = Mw(58, 5);
    } else {
        regulation.bandMax = Mw(58, 5);
        regulation.bandMin = Mw(63, 5);
        if (regulation.bandMin >= regulation.bandMax) deck_.Fail("the flow limits of the transformer are not ordered");
    }
    NetBus* named = FindBus(deck_.Text(34, 12));
    NetBus* controlled = named == to ? to : from;
    regulation.regulatedBus = controlled;
    regulation.regulatedPosition = controlled->controllingBranchCount++;
    Solver::LinkBranch(controlled->regulatingBranches, &branch);
}

// "A  ": an area, its slack bus, its scheduled export and its zones.
void CardDeckReader::ReadArea() {
    const std::string name = deck_.Text(4, 10);
    for (const auto& area : network_.areas)
        if (area->name == name) deck_.Fail("a second area card for the area \"" + name + "\"");
    NetArea* area = solver_.FindOrAddArea(0, name, Search::No);
    area->number = ++network_.areaCount;
    area->scheduledExport = Mw(27, 8);
    NetBus* slack = Bus(14);
    current_ = slack;
    area->areaBus = slack;
    slack->area = area;
    for (std::size_t i = 0; i < std::size(kAreaZones); ++i) area->codes[i] = deck_.Text(kAreaZones[i], 2);
}

// "SOL": the slack bus and its angle, and the iteration limit.
void CardDeckReader::ReadSolution() {
    NetBus* slack = Bus(31);
    current_ = slack;
    network_.referenceAngle = deck_.Real(46, 10, 4) * (kPi / 180.0);
    if (!CodeHas(slack->code, "S")) {
        slack->code += "S";
        ++network_.slackCount;
    }
    iterationLimit_ = deck_.Int(24, 5);
}

void CardDeckReader::Finish() {
    solver_.CloseFile(input_);
    TakeLoadsAsPolynomial(network_);
    for (const auto& branch : network_.branches)
        if (branch->g == 0.0 && branch->b == 0.0)
            deck_.FailAfterReading("no transformer card gives the impedance of the regulating transformer " +
                                   branch->from->name + " - " + branch->to->name);
    // The engine holds tap limits as the reciprocals of the transformer's
    // ratio at each limit.
    for (NetBranch* branch : tapRegulators_) {
        branch->EditRegulation().controlMax /= branch->nominalRatio;
        branch->EditRegulation().controlMin /= branch->nominalRatio;
    }
    // With several areas each area's slack bus holds its area's export.
    if (network_.areas.size() >= 2)
        for (const auto& area : network_.areas)
            if (!CodeHas(area->areaBus->code, "SA")) area->areaBus->code += "A";
    network_.branchCount -= network_.regulatingCount;
    network_.regulatingCount -= network_.voltageRegulatingCount;
    if (iterationLimit_ == 0) iterationLimit_ = 100;
}

}  // namespace

void Solver::ReadCardDeck(FILE* input) {
    mvaBase_ = 100.0;
    DoubleOption('$', mvaBase_, 1.0, 1e8);
    iterationLimit_ = 0;
    CardDeckReader(*this, input, mvaBase_, iterationLimit_).Read();
}
