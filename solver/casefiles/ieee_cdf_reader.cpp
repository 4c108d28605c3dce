#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "card_fields.h"
#include "case_lines.h"
#include "facts_cards.h"
#include "solver.h"

// The IEEE common data format for the exchange of solved load flow data, as
// this program writes it: a title card, then sections of fixed-column
// records, each closed by its terminator. "%" lines are comments anywhere;
// after a "CARD" line every bus record and every branch record of a type
// other than 0 spans two lines, the second one continuing at column 76.
// MW, Mvar and degrees in the file; per unit on the MVA base and radians in
// the model.

namespace {

enum class Mark { Card, Comment, Buses, Branches, Interchange, TieLines, Device, DcDevice, End, None };

// Lines that open a section or change the reading, compared from column 1
// over the given number of characters, in this order.
struct MarkText {
    const char* text;
    std::size_t count;
    Mark mark;
};
constexpr MarkText kMarks[] = {
    {"CARD", 4, Mark::Card},
    {"COMMENT DATA", 7, Mark::Comment},
    {"BUS DATA", 3, Mark::Buses},
    {"BRANCH DATA", 6, Mark::Branches},
    {"INTERCHANGE DATA", 11, Mark::Interchange},
    {"TIE LINE DATA", 3, Mark::TieLines},
    {"BD ", 3, Mark::DcDevice},
    {"BZ ", 3, Mark::DcDevice},
    {"LD ", 3, Mark::DcDevice},
    {"FS ", 3, Mark::Device},
    {"FC ", 3, Mark::Device},
    {"FT ", 3, Mark::Device},
    {"END OF DATA", 11, Mark::End},
};

// The count of records a section line announces ("BUS DATA FOLLOWS 9999
// ITEMS"): the number before ITEMS, 0 where the line gives none. The count
// only sizes the network's blocks; the records read decide.
std::size_t AnnouncedItems(std::string_view line) {
    const std::size_t items = line.find("ITEMS");
    if (items == std::string_view::npos) return 0;
    std::size_t end = items;
    while (end > 0 && line[end - 1] == ' ') --end;
    std::size_t start = end;
    while (start > 0 && line[start - 1] >= '0' && line[start - 1] <= '9') --start;
    std::size_t count = 0;
    if (std::from_chars(line.data() + start, line.data() + end, count).ec != std::errc{}) return 0;
    return count;
}

// The first line of a two-line record ends at this column.
constexpr std::size_t kFirstCardColumns = 75;
// Below this, both R and X count as no impedance at all.
constexpr double kNoImpedance = 1e-7;
// Reactive limits of a generator whose record gives both as 0.
constexpr double kOpenMaxQ = 9999999.0;
constexpr double kOpenMinQ = -999999.0;
// The largest MVA base a title card may give: beyond it the mismatch
// tolerance (p.u.) would no longer mean a small power.
constexpr double kMaxMvaBase = 100000.0;
// Branch kinds a tie-line record may name.
constexpr const char* kAnyBranchKind = "LETR";

bool StartsWith(const std::string& line, const char* text, std::size_t count) {
    return line.compare(0, count, text, count) == 0;
}

Mark MarkOf(const std::string& line) {
    for (const MarkText& m : kMarks)
        if (StartsWith(line, m.text, m.count)) return m.mark;
    return Mark::None;
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

// A name made of a prefix and the number field of the record (without its
// leading blanks), padded with blanks to the name's width.
std::string NumberedName(const char* prefix, const std::string& numberField, std::size_t width) {
    std::string name = prefix + numberField.substr(std::min(numberField.find_first_not_of(' '), numberField.size()));
    name.resize(width, ' ');
    return name;
}

class IeeeCdfReader {
public:
    IeeeCdfReader(Solver& solver, FILE* input, double& mvaBase, double degreesToRadians)
        : solver_(solver), network_(*solver.GetNetwork()), input_(input), lines_(input), mvaBase_(mvaBase),
          degreesToRadians_(degreesToRadians) {}

    void Read();

private:
    bool NextLine(std::string& line);
    const std::string& SectionLine();
    void JoinSecondLine(std::string& record);
    void TakeTitle(int col, int len);
    void SkipComments();

    void ReadBuses();
    void ReadBus(const FieldLine& record);
    void ReadGenerator(NetBus& bus, const FieldLine& record, int type);
    void ReadBranches();
    void ReadBranch(const FieldLine& record);
    void ReadVoltageControl(NetBranch& branch, NetBus& controlled, const FieldLine& record);
    void ReadFlowControl(NetBranch& branch, NetBus& named, const FieldLine& record, int type);
    void ReadInterchange();
    void ReadTieLines();
    void Finish();
    void JoinRemoteGenerators();

    NetBus* BusOrNull(int number) const;
    NetBus* BusNumbered(int number, const char* role);
    NetArea* AreaNumbered(int number) const;
    [[noreturn]] void Fail(const std::string& reason);

    Solver& solver_;
    Network& network_;
    FILE* input_;
    CaseLines lines_;
    double& mvaBase_;
    const double degreesToRadians_;

    int lineNumber_ = 0;
    std::string previous_;  // the last line read outside the sections that is not a comment
    std::string sectionLine_;  // the section line in hand; its room serves line after line
    bool cardMode_ = false;
    bool titleTaken_ = false;
    bool interchangeRead_ = false;
    bool finished_ = false;  // every line is read
    std::vector<const NetArea*> areasWithSlack_;
    // External number: the one bus read with it. The numbers of the bus
    // records' four columns index a table; any other number a map.
    static constexpr int kTableNumbers = 10000;
    std::vector<NetBus*> busTable_ = std::vector<NetBus*>(kTableNumbers, nullptr);
    std::unordered_map<int, NetBus*> busesByNumber_;
};

void IeeeCdfReader::Read() {
    std::string line;
    while (NextLine(line)) {
        if (StartsWith(line, "%", 1)) continue;
        switch (MarkOf(line)) {
        case Mark::Card:
            cardMode_ = true;
            break;
        case Mark::Comment:
            TakeTitle(39, 35);
            SkipComments();
            break;
        case Mark::Buses:
            TakeTitle(46, 28);
            network_.buses.Reserve(AnnouncedItems(line));
            ReadBuses();
            break;
        case Mark::Branches:
            network_.branches.Reserve(AnnouncedItems(line));
            ReadBranches();
            break;
        case Mark::Interchange:
            ReadInterchange();
            break;
        case Mark::TieLines:
            ReadTieLines();
            break;
        case Mark::Device:
            if (std::string fault = ReadFactsCard(solver_, line); !fault.empty()) Fail(fault);
            break;
        case Mark::DcDevice:
            if (std::string fault = solver_.ReadDcCard(line); !fault.empty()) Fail(fault);
            break;
        case Mark::End:
            Finish();
            return;
        case Mark::None:
            // Loss zones and anything unknown.
            break;
        }
        previous_ = line;
    }
    Finish();
}

bool IeeeCdfReader::NextLine(std::string& line) {
    if (!lines_.Next(line)) return false;
    ++lineNumber_;
    return true;
}

// The next line of a section that is not a comment; a section never ends
// with the file. It stays valid until the next call, which reuses its room.
const std::string& IeeeCdfReader::SectionLine() {
    do {
        if (!NextLine(sectionLine_)) Fail("the file ends inside a section");
    } while (StartsWith(sectionLine_, "%", 1));
    return sectionLine_;
}

void IeeeCdfReader::JoinSecondLine(std::string& record) {
    record.resize(kFirstCardColumns, ' ');
    record += SectionLine();
}

// The title card is the line before the first section; it also carries the
// MVA base in columns 32-37.
void IeeeCdfReader::TakeTitle(int col, int len) {
    if (titleTaken_) return;
    titleTaken_ = true;
    network_.title[0] = GetField(previous_, col, len, len);
    double base = GetRealField(previous_, 32, 6, 0);
    if (base < 0.0 || base > kMaxMvaBase) Fail("the MVA base of the title card is not a positive number of at most 100000");
    if (base > 0.0) mvaBase_ = base;
}

void IeeeCdfReader::SkipComments() {
    while (!StartsWith(SectionLine(), "$$$", 3)) {
    }
}

void IeeeCdfReader::ReadBuses() {
    for (std::string record = SectionLine(); !StartsWith(record, "-999", 4); record = SectionLine()) {
        if (cardMode_) JoinSecondLine(record);
        ReadBus(FieldLine(record));
    }
}

void IeeeCdfReader::ReadBus(const FieldLine& record) {
    const double base = mvaBase_;
    const int number = GetIntField(record, 1, 4);
    if (BusOrNull(number)) Fail("a second bus numbered " + std::to_string(number));
    std::string name = GetField(record, 6, 12, 12);
    if (IsBlank(name)) name = NumberedName("BUS_", GetField(record, 1, 4, 4), 12);

    // Every bus is new and goes to the head of the list: the list comes out
    // in reverse file order, which the preparation turns round.
    NetBus* bus = solver_.FindOrAddBus(number, name, GetRealField(record, 77, 7, 2), Search::No);
    bus->number = ++network_.busCount;
    bus->externalNumber = number;
    if (number > 0 && number < kTableNumbers)
        busTable_[number] = bus;
    else
        busesByNumber_[number] = bus;
    if (int areaNumber = GetIntField(record, 19, 2); areaNumber != 0) {
        bus->area = AreaNumbered(areaNumber);
        if (!bus->area) {
            bus->area = solver_.FindOrAddArea(areaNumber, "", Search::No);
            bus->area->number = areaNumber;
            ++network_.areaCount;
        }
    }
    bus->areaCode = GetField(record, 21, 3, 3);

    double voltage = GetRealField(record, 28, 6, 4);
    bus->voltage = voltage > 0.0 ? voltage : 1.0;
    bus->angle = GetRealField(record, 34, 7, 2) * degreesToRadians_;
    bus->loadP = GetRealField(record, 41, 9, 2) / base;
    bus->loadQ = GetRealField(record, 50, 9, 2) / base;
    // A plain solve evaluates the load polynomial: the file's loads are its
    // constant terms.
    bus->loadPolynomial[0] = bus->loadP;
    bus->loadPolynomial[3] = bus->loadQ;
    bus->scheduledP = GetRealField(record, 59, 9, 2) / base;
    bus->generationQ = GetRealField(record, 68, 8, 2) / base;
    bus->shuntG = GetRealField(record, 107, 8, 4);
    bus->shuntB = GetRealField(record, 115, 8, 4);

    const int type = GetIntField(record, 25, 2);
    switch (type) {
    case 0:  // load bus: its voltage floats
        bus->voltageFree = true;
        break;
    case 1: {  // reactive power held within voltage limits
        bus->code = "BV";
        bus->control = 'Q';
        bus->scheduledQ = bus->generationQ;
        double maxVoltage = GetRealField(record, 91, 8, 2);
        double minVoltage = GetRealField(record, 99, 8, 2);
        bus->maxVoltage = maxVoltage > 0.0 ? maxVoltage : 10.0;
        bus->minVoltage = minVoltage > 0.0 ? minVoltage : 0.001;
        if (bus->maxVoltage <= bus->minVoltage) Fail("the voltage limits of the bus are not ordered");
        bus->maxQ = kUnlimited;
        bus->minQ = -kUnlimited;
        bus->voltageFree = true;
        break;
    }
    case 2:
    case 3:
        ReadGenerator(*bus, record, type);
        break;
    default:
        // No other type says what the bus holds: its equations would have
        // no unknown for its voltage.
        Fail("bus type " + std::to_string(type) + " is not 0 to 3");
    }
}

// Types 2 and 3: a generator holding a voltage, its own or a remote bus's,
// within its reactive limits; type 3 is also the slack bus of its area.
void IeeeCdfReader::ReadGenerator(NetBus& bus, const FieldLine& record, int type) {
    const double base = mvaBase_;
    if (solver_.HasOption('g')) bus.generationQ = 0.0;
    double maxQ = GetRealField(record, 91, 8, 2) / base;
    double minQ = GetRealField(record, 99, 8, 2) / base;
    if (minQ > maxQ) Fail("the reactive limits of the bus are not ordered");
    if (maxQ == 0.0 && minQ == 0.0) {
        maxQ = kOpenMaxQ;
        minQ = kOpenMinQ;
    }
    bus.maxQ = maxQ;
    bus.minQ = minQ;

    if (maxQ != minQ) {
        ++network_.generatorBusCount;
        double desired = GetRealField(record, 85, 6, 4);
        if (desired <= 0.0) desired = 1.0;
        int remote = GetIntField(record, 124, 4);
        if (remote < 1 || remote == bus.externalNumber) {
            bus.code = "BQ";
            bus.voltage = desired;
        } else {
            // Joined to the remote bus once every bus is read.
            bus.code = "BG";
            bus.EditExtras().remoteNumber = remote;
            bus.EditExtras().participation = 1.0;
        }
        bus.voltageTarget = desired;
        bus.control = 'V';
    } else {
        // A fixed reactive output: the bus behaves as a load bus.
        bus.voltageFree = true;
    }

    if (type == 3) {
        bus.code += "S";
        ++network_.slackCount;
        if (bus.area) {
            for (const NetArea* area : areasWithSlack_)
                if (area == bus.area) Fail("a second slack bus in area " + std::to_string(area->number));
            areasWithSlack_.push_back(bus.area);
        }
    }
}

void IeeeCdfReader::ReadBranches() {
    for (std::string record = SectionLine(); !StartsWith(record, "-999", 4); record = SectionLine()) {
        if (cardMode_ && GetIntField(record, 19, 1) != 0) JoinSecondLine(record);
        ReadBranch(FieldLine(record));
    }
}

void IeeeCdfReader::ReadBranch(const FieldLine& record) {
    const double base = mvaBase_;
    NetBus* from = BusNumbered(GetIntField(record, 1, 4), "from");
    NetBus* to = BusNumbered(GetIntField(record, 6, 4), "to");
    if (from == to) Fail("both ends of the branch are one bus");
    // The two bus records are seldom in the cache by now: their lists of
    // branches, where the new branch goes, are fetched while the fields
    // are read.
    __builtin_prefetch(&from->branches);
    __builtin_prefetch(&to->branches);
    NetArea* area = nullptr;
    if (int areaNumber = GetIntField(record, 11, 2); areaNumber != 0) {
        area = AreaNumbered(areaNumber);
        if (!area) Fail("no bus lies in area " + std::to_string(areaNumber) + " of the branch");
    }
    const double r = GetRealField(record, 20, 10, 6);
    const double x = GetRealField(record, 30, 10, 6);
    if (std::fabs(r) < kNoImpedance && std::fabs(x) < kNoImpedance) Fail("the branch has no impedance");

    const int type = GetIntField(record, 19, 1);
    if (type < 0 || type > 4) Fail("branch type " + std::to_string(type) + " is not 0 to 4");
    const double z2 = r * r + x * x;
    if (!std::isfinite(r / z2) || !std::isfinite(x / z2) || (r / z2 == 0.0 && x / z2 == 0.0))
        Fail("the admittance of the branch is not a finite number other than 0");

    NetBranch* branch = solver_.FindOrAddBranch(from, to, Search::No, "", GetField(record, 17, 1, 1)[0]);
    branch->area = area;
    branch->owner = GetField(record, 13, 3, 3);  // the loss zone
    branch->g = r / z2;
    branch->b = -x / z2;
    const double charging = GetRealField(record, 41, 9, 5);
    branch->fromShuntB = charging / 2.0;
    branch->toShuntB = charging / 2.0;
    branch->rating = GetIntField(record, 51, 5) / base;

    const double ratio = GetRealField(record, 77, 6, 4);
    if (type == 0) {
        // Many copies of the public cases mark their transformers as lines
        // with a ratio: ignoring it would move voltages by up to 0.1 p.u.
        if (ratio > 0.0 && ratio != 1.0) {
            branch->code = std::string("T");
            branch->tap = 1.0 / ratio;
        } else {
            branch->code = std::string("L");
        }
        ++network_.branchCount;
        return;
    }
    // Types 1 to 4: a transformer. A ratio of 0 or less would make an
    // infinite tap: it stands for the nominal ratio.
    const int namedNumber = GetIntField(record, 69, 4);
    NetBus* named = namedNumber < 1 ? from : BusNumbered(namedNumber, "controlled");
    branch->tap = 1.0 / (ratio > 0.0 ? ratio : 1.0);
    branch->shift = GetRealField(record, 84, 7, 2) * degreesToRadians_;
    branch->code = std::string("T");
    if (type == 2)
        ReadVoltageControl(*branch, *named, record);
    else if (type >= 3)
        ReadFlowControl(*branch, *named, record, type);
    if (branch->code == "T") ++network_.branchCount;
}

// Type 2: the ratio holds the voltage of the controlled bus, at a value or
// within a band. Ratio limits are turns ratios, as in the file.
void IeeeCdfReader::ReadVoltageControl(NetBranch& branch, NetBus& controlled, const FieldLine& record) {
    // A blank limit is the default as a negative one is: the tap is the
    // limit's reciprocal.
    double lower = GetRealField(record, 91, 7, 2);
    double upper = GetRealField(record, 98, 7, 2);
    if (lower <= 0.0) lower = 0.9;
    if (upper <= 0.0) upper = 1.1;
    if (upper < lower) Fail("the ratio limits of the branch are not ordered");
    if (upper == lower) return;  // nothing to move: a fixed transformer

    ++network_.voltageRegulatingCount;
    NetRegulation& regulation = branch.EditRegulation();
    regulation.controlMin = lower;
    regulation.controlMax = upper;
    Solver::LinkBranch(controlled.regulatingBranches, &branch);
    regulation.regulatedBus = &controlled;

    double minVoltage = GetRealField(record, 113, 7, 5);
    double maxVoltage = GetRealField(record, 120, 7, 5);
    if (minVoltage < 0.0) minVoltage = 1.0;
    if (maxVoltage < 0.0) maxVoltage = 1.0;
    if (maxVoltage < minVoltage) Fail("the voltage limits of the branch are not ordered");
    if (maxVoltage != minVoltage) {
        branch.code = std::string("RV");
        if (controlled.code == "B") controlled.code = "BR";
        controlled.maxVoltage =
            controlled.maxVoltage > 0.0 ? std::min(controlled.maxVoltage, maxVoltage) : maxVoltage;
        controlled.minVoltage =
            controlled.minVoltage > 0.0 ? std::min(controlled.minVoltage, minVoltage) : minVoltage;
        if (minVoltage == 0.0) branch.from->minVoltage = 0.00001;
    } else {
        branch.code = std::string("R");
        if (controlled.code == "B") controlled.code = "BT";
        controlled.voltage = minVoltage != 0.0 ? minVoltage : 1.0;
    }
}

// Types 3 (reactive flow, by the ratio) and 4 (active flow, by the shift):
// the flow is measured at one end of the branch itself.
void IeeeCdfReader::ReadFlowControl(NetBranch& branch, NetBus& named, const FieldLine& record, int type) {
    const double base = mvaBase_;
    double lower = GetRealField(record, 91, 7, 2);
    double upper = GetRealField(record, 98, 7, 2);
    if (type == 4) {
        lower *= degreesToRadians_;
        upper *= degreesToRadians_;
    } else {
        if (lower <= 0.0) lower = 0.9;
        if (upper <= 0.0) upper = 1.1;
    }
    if (upper < lower) Fail("the control limits of the branch are not ordered");
    if (upper == lower) return;  // nothing to move: a fixed transformer

    ++network_.regulatingCount;
    NetRegulation& regulation = branch.EditRegulation();
    regulation.controlMin = lower;
    regulation.controlMax = upper;
    NetBus* controlled = &named == branch.to ? branch.to : branch.from;
    regulation.regulatedBus = controlled;
    regulation.regulatedPosition = controlled->controllingBranchCount++;
    Solver::LinkBranch(controlled->regulatingBranches, &branch);

    const double minFlow = GetRealField(record, 113, 7, 5) / base;
    const double maxFlow = GetRealField(record, 120, 7, 5) / base;
    if (maxFlow < minFlow) Fail("the flow limits of the branch are not ordered");
    if (maxFlow != minFlow) {
        branch.code = std::string(type == 3 ? "RN" : "RM");
        regulation.bandMin = minFlow;
        regulation.bandMax = maxFlow;
    } else {
        branch.code = std::string(type == 3 ? "RQ" : "RP");
        regulation.controlTarget = minFlow;
    }
}

void IeeeCdfReader::ReadInterchange() {
    interchangeRead_ = true;
    for (std::string record = SectionLine(); !StartsWith(record, "-9", 2); record = SectionLine()) {
        const int number = GetIntField(record, 1, 2);
        NetArea* area = AreaNumbered(number);
        if (!area) Fail("no bus lies in area " + std::to_string(number));
        area->name = GetField(record, 46, 30, 30);
        if (IsBlank(area->name)) area->name = NumberedName("AREA_", GetField(record, 1, 2, 2), 30);
        NetBus* slack = BusNumbered(GetIntField(record, 4, 4), "slack");
        if (slack->area != area) Fail("the slack bus of area " + std::to_string(number) + " lies in another area");
        // The area's slack takes the area control: its area's power is an
        // unknown held by the area's export. The system's slack holds the
        // angle instead and takes what is left.
        area->areaBus = slack;
        if (!CodeHas(slack->code, "SA")) slack->code += "A";
        area->scheduledExport = GetRealField(record, 21, 8, 1) / mvaBase_;
    }
}

// Each tie line names the branch between two areas and the end at which
// its flow is metered.
void IeeeCdfReader::ReadTieLines() {
    for (std::string record = SectionLine(); !StartsWith(record, "-999", 4); record = SectionLine()) {
        NetBus* metered = BusNumbered(GetIntField(record, 1, 4), "metered");
        NetBus* other = BusNumbered(GetIntField(record, 11, 4), "far");
        const char circuit = GetField(record, 21, 1, 1)[0];
        NetBranch* branch = network_.branches.empty()
                                ? nullptr
                                : solver_.FindOrAddBranch(metered, other, Search::Yes, kAnyBranchKind, circuit);
        if (!branch) Fail("no branch joins the buses of the tie line");
        if (branch->meteredBus) Fail("the branch of the tie line is metered already");
        branch->meteredBus = metered;
    }
}

void IeeeCdfReader::Finish() {
    finished_ = true;
    solver_.CloseFile(input_);
    if (!interchangeRead_) {
        // Area numbers on buses mean nothing without the areas' records.
        for (const auto& bus : network_.buses) bus->area = nullptr;
        for (const auto& branch : network_.branches) branch->area = nullptr;
        network_.areas.clear();
        network_.areaCount = 0;
    }
    JoinRemoteGenerators();
}

// A generator that holds a remote bus's voltage: that bus is now held at
// the generator's setpoint, and the generator's own voltage floats.
void IeeeCdfReader::JoinRemoteGenerators() {
    for (const auto& owned : network_.buses) {
        NetBus& generator = *owned;
        if (!CodeHas(generator.code, "G")) continue;
        NetBus* remote = BusOrNull(generator.extras().remoteNumber);
        std::string which = "the remote bus " + std::to_string(generator.extras().remoteNumber) + " of bus " +
                            std::to_string(generator.externalNumber);
        if (!remote) Fail(which + " does not exist");
        if (remote->code == "B")
            remote->code = "BC";
        else if (remote->code != "BC")
            Fail(which + " holds its voltage otherwise");
        generator.EditExtras().remoteBus = remote;
        generator.voltageFree = true;
        remote->voltage = generator.voltageTarget;
        remote->voltageTarget = generator.voltageTarget;
        remote->voltageFree = false;
        ++remote->EditExtras().regulatingGeneratorCount;
        if (network_.remoteVoltageSums) {
            remote->EditExtras().sumMaxQ += generator.maxQ;
            remote->EditExtras().sumMinQ += generator.minQ;
        }
    }
}

// Bus number 0 names no bus.
NetBus* IeeeCdfReader::BusOrNull(int number) const {
    if (number > 0 && number < kTableNumbers) return busTable_[number];
    auto found = busesByNumber_.find(number);
    return number != 0 && found != busesByNumber_.end() ? found->second : nullptr;
}

NetBus* IeeeCdfReader::BusNumbered(int number, const char* role) {
    NetBus* bus = BusOrNull(number);
    if (!bus) Fail(std::string("no bus numbered ") + std::to_string(number) + " for the " + role + " bus");
    return bus;
}

NetArea* IeeeCdfReader::AreaNumbered(int number) const {
    for (const auto& area : network_.areas)
        if (area->number == number) return area.get();
    return nullptr;
}

void IeeeCdfReader::Fail(const std::string& reason) {
    if (finished_)
        std::fprintf(solver_.Diagnostics(), "IEEE case file: %s\n", reason.c_str());
    else
        std::fprintf(solver_.Diagnostics(), "IEEE case file, line %d: %s\n", lineNumber_, reason.c_str());
    solver_.Abort(1);
}

}  // namespace

void Solver::ReadIeeeCdf(FILE* input) {
    mvaBase_ = 100.0;
    DoubleOption('$', mvaBase_, 1.0, 1e8);
    IeeeCdfReader(*this, input, mvaBase_, degreesToRadians_).Read();
    iterationLimit_ = 100;
}
