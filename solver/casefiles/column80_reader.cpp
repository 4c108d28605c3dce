#include <cmath>
#include <complex>
#include <cstdio>
#include <string>

#include "column80_keys.h"
#include "deck_lines.h"
#include "facts_cards.h"
#include "number_text.h"
#include "solver.h"

// The column-80 deck: the record type is the letter in column 80, a bus is
// named by a five-character key (number, zone character, voltage level),
// the nominal voltages come from the tables of the voltage levels, and
// impedances are given in ohms at the higher voltage of a branch. MW, Mvar,
// kV, ohms and microsiemens in the deck; per unit on the MVA base in the model.

namespace {

constexpr double kSqrt3 = 1.7320508075688772;
// Below this (p.u.) both R and X count as no impedance at all.
constexpr double kNoImpedance = 1e-10;
// Columns of the ten levels of a voltage-level record.
constexpr int kLevelColumns[] = {7, 12, 17, 22, 27, 32, 37, 42, 47, 52};

// The DC bus that a converter card named by its bus made.
bool IsConverterBus(const Network& network, const NetBus& bus) {
    for (const auto& converter : network.converters)
        if (converter->converterBus == &bus) return true;
    return false;
}

class Column80Reader {
public:
    Column80Reader(Solver& solver, FILE* input, double mvaBase)
        : solver_(solver), network_(*solver.GetNetwork()), deck_(solver, input, "Column-80 deck"), input_(input),
          base_(mvaBase) {}

    void Read();

private:
    char Type() const { return deck_.Line().size() >= 80 ? deck_.Line()[79] : ' '; }
    void ReadLevels();
    void ReadBus();
    void ReadInjection(char type);
    void ReadShuntBank();
    void ReadBranch(char type);
    void MakeUpLoads(NetBus* first, double mw, double mvar);
    bool ReadDeviceCard();
    void ReadDcCard();
    void TakeConverterKvFromBuses();
    void NumberBusesOfDcCardsOnly();
    void Finish();

    // The bus of the key in columns col..col+4, made and named when new.
    NetBus* Bus(int col);

    Solver& solver_;
    Network& network_;
    DeckLines deck_;
    FILE* input_;
    const double base_;
    VoltageLevels levels_;
    bool titleTaken_ = false;
    // The bus whose P or Q load the following branch records make up.
    NetBus* loadBus_ = nullptr;
    bool pMadeUp_ = false;
    bool qMadeUp_ = false;
};

void Column80Reader::Read() {
    while (deck_.Next()) {
        switch (const char type = Type()) {
        case '*':
        case 'C':
            if (!titleTaken_) network_.title[0] = deck_.Line();
            titleTaken_ = true;
            break;
        case 'Z': ReadLevels(); break;
        case 'N': ReadBus(); break;
        case 'E':
        case 'I':
        case 'S': ReadInjection(type); break;
        case 'Q': ReadShuntBank(); break;
        case 'L':
        case 'T': ReadBranch(type); break;
        default:
            if (ReadDeviceCard()) break;
            if (type == 'F') {
                Finish();
                return;
            }
        }
    }
    deck_.Fail("the deck ends without its end record ('F' in column 80)");
}

void Column80Reader::ReadLevels() {
    const std::string name = deck_.Text(1, 4);
    double* table = name == "VNOM" ? levels_.nominal : name == "VMIN" ? levels_.minimum
                  : name == "VMAX" ? levels_.maximum : nullptr;
    if (!table) return;
    for (int level = 0; level < kLevelCount; ++level) table[level] = deck_.Real(kLevelColumns[level], 5, 0);
}

NetBus* Column80Reader::Bus(int col) {
    const std::string key = deck_.Text(col, 5);
    NetBus* bus = solver_.FindOrAddBus80(0, key, Search::Yes, true);
    if (bus->number != 0) return bus;
    const double nominal = levels_.Nominal(key);
    if (nominal <= 0.0) deck_.Fail("the voltage level of the bus \"" + key + "\" has no nominal voltage");
    bus->number = ++network_.busCount;
    bus->name = Column80BusName(key, nominal);
    bus->baseKv = nominal;
    const double high = levels_.Maximum(key);
    const double low = levels_.Minimum(key);
    if (high > low && high >= nominal && low <= nominal) {
        bus->displayMaxVoltage = high / nominal;
        bus->displayMinVoltage = low / nominal;
    }
    return bus;
}

// 'N': a bus with its load, its voltage and what holds it.
void Column80Reader::ReadBus() {
    NetBus& bus = *Bus(1);
    if (bus.voltage != 0.0) deck_.Fail("a second bus record for the bus");
    bus.areaCode = bus.owner = deck_.Text(4, 1);
    const bool pMadeUp = deck_.Text(21, 1) == "T";
    const bool qMadeUp = deck_.Text(43, 1) == "T";
    if (!pMadeUp) bus.loadP = deck_.Real(14, 6, 0) / base_;
    if (!qMadeUp) bus.loadQ = deck_.Real(36, 6, 0) / base_;
    const double nominal = bus.baseKv;
    const double voltage = deck_.Real(47, 5, 0) / nominal;
    const double minVoltage = deck_.Real(53, 3, 0) / nominal;
    const double maxVoltage = deck_.Real(57, 3, 0) / nominal;
    bus.voltage = voltage > 0.0 ? voltage : 1.0;
    bus.voltageTarget = bus.voltage;
    bus.minVoltage = minVoltage > 0.0 ? minVoltage : 0.001;
    bus.maxVoltage = maxVoltage > 0.0 ? maxVoltage : 10.0;
    if (bus.maxVoltage <= bus.minVoltage) deck_.Fail("the voltage limits of the bus are not ordered");
    if (deck_.Text(23, 1) == "T") {
        bus.code = "BS";
        bus.control = 'V';
        ++network_.slackCount;
        network_.referenceAngle = 0.0;
    } else if (deck_.Text(45, 1) == "T") {
        if (bus.code != "BQ") ++network_.generatorBusCount;
        bus.code = "BQ";
        bus.control = 'V';
    } else {
        bus.voltageFree = true;
    }
    if (pMadeUp || qMadeUp) {
        loadBus_ = &bus;
        pMadeUp_ = pMadeUp;
        qMadeUp_ = qMadeUp;
    }
}

// Limits that the builder left open start from zero for an injection.
double Opened(double limit) {
    return limit >= kUnlimited ? 0.0 : limit;
}

// 'E', 'I', 'S': injections, positive as consumption.
void Column80Reader::ReadInjection(char type) {
    NetBus& bus = *Bus(1);
    if (type != 'S') {
        bus.scheduledP -= deck_.Real(14, 6, 0) / base_;
        double maxP = Opened(bus.maxP) - deck_.Real(25, 5, 0) / base_;
        double maxS = Opened(bus.maxS) - deck_.Real(30, 5, 0) / base_;
        if (maxP == 0.0) maxP = kUnlimited;
        if (maxS == 0.0) maxS = kUnlimited;
        bus.maxS = maxS;
        bus.maxP = bus.maxPCopy = std::min(maxP, maxS);
        bus.scheduledP = std::min(bus.scheduledP, bus.maxP);
    }
    bus.generationQ -= deck_.Real(36, 6, 0) / base_;
    bus.maxQ -= deck_.Real(47, 5, 0) / base_;
    bus.minQ -= deck_.Real(43, 4, 0) / base_;
    if (bus.minQ >= bus.maxQ) deck_.Fail("the reactive limits of the bus are not ordered");
}

// 'Q': a shunt bank of a rated Mvar at a rated voltage.
void Column80Reader::ReadShuntBank() {
    NetBus& bus = *Bus(1);
    const double ratio = deck_.Real(43, 4, 0) / bus.baseKv;
    if (ratio != 0.0) bus.shuntB -= deck_.Real(47, 5, 0) / base_ / (ratio * ratio);
}

// 'L', 'T': a line or transformer between two keys, its impedance in ohms
// on the higher of the two base voltages.
void Column80Reader::ReadBranch(char type) {
    NetBus* first = Bus(1);
    NetBus* second = Bus(7);
    if (first == second) deck_.Fail("both ends of the branch are one bus");
    MakeUpLoads(first, deck_.Real(14, 6, 0), deck_.Real(36, 6, 0));
    NetBus* low = first->baseKv <= second->baseKv ? first : second;
    NetBus* high = low == first ? second : first;
    const double highKv = high->baseKv;
    const double zBase = highKv * highKv / base_;
    char circuit = deck_.Text(13, 1)[0];
    if (circuit == ' ') circuit = '0';
    const char kind[] = {type, '\0'};
    NetBranch* branch = solver_.FindOrAddBranch80(low, high, kind, circuit);
    if (!branch) {
        solver_.Warn("Column-80 deck, line " + std::to_string(deck_.LineNumber()) + ": a second '" + kind +
                     "' record for circuit " + circuit + " between " + first->name + " and " + second->name +
                     " is left out");
        return;
    }
    const std::complex<double> z{deck_.Real(45, 7, 5) / zBase, deck_.Real(52, 8, 5) / zBase};
    if (std::fabs(z.real()) < kNoImpedance && std::fabs(z.imag()) < kNoImpedance)
        deck_.Fail("the branch has no impedance");
    const std::complex<double> y = 1.0 / z;
    branch->g = y.real();
    branch->b = y.imag();
    branch->fromShuntB = branch->toShuntB = deck_.Real(60, 7, 3) * zBase * 5e-7;
    if (type == 'T') {
        branch->nominalRatio = low->baseKv / highKv;
        const double tapKv = deck_.Real(29, 5, 0);
        branch->tap = TapOfWinding(tapKv, low->baseKv);
    }
    branch->rating = deck_.Real(23, 5, 0) / (base_ * 1000.0 / (kSqrt3 * highKv));
    branch->owner = first->owner;
    branch->meteredBus = low;
    ++network_.branchCount;
}

// A bus whose record left its load to the branches: each branch record
// that follows takes its MW and Mvar out of the load at its first bus and
// adds them at its second.
void Column80Reader::MakeUpLoads(NetBus* first, double mw, double mvar) {
    if (!loadBus_ || deck_.Text(21, 1) == "T") return;
    const double sign = loadBus_ == first ? -1.0 : 1.0;
    if (pMadeUp_) loadBus_->loadP += sign * mw / base_;
    if (qMadeUp_ && deck_.Text(43, 1) != "T") loadBus_->loadQ += sign * mvar / base_;
}

// DC and FACTS cards stand in the deck under their two-letter codes.
bool Column80Reader::ReadDeviceCard() {
    if (deck_.Is("BD ") || deck_.Is("BZ ") || deck_.Is("LD ")) {
        ReadDcCard();
        return true;
    }
    if (!deck_.Is("FS ") && !deck_.Is("FC ") && !deck_.Is("FT ")) return false;
    if (std::string fault = ReadFactsCard(solver_, deck_.Line()); !fault.empty()) deck_.Fail(fault);
    return true;
}

// A DC card names an AC bus by twelve columns, which this deck fills with
// the name its buses take from key and nominal kV ("  2A2     14" for key
// "  2A2" at 13.8 kV); the name is matched exactly, as in the other decks.
// The DC bus a converter card makes belongs to no voltage level: it is
// numbered at once with the kV of the card (the card's ratio check has
// refused a DC kV of 0), and a branch record may reach it by a key that
// begins its name. An AC bus that the card names before any record of this
// deck does is left unnumbered, so that the first record naming it by its
// key gives it its level, its name and its kV.
void Column80Reader::ReadDcCard() {
    const std::size_t known = network_.buses.size();
    if (std::string fault = solver_.ReadDcCard(deck_.Line()); !fault.empty()) deck_.Fail(fault);
    for (std::size_t i = known; i < network_.buses.size(); ++i) {
        NetBus* bus = network_.buses[i].get();
        if (IsConverterBus(network_, *bus)) bus->number = ++network_.busCount;
    }
}

// A converter named by its DC bus takes its ratio from the DC kV over the
// AC kV of its card. The card can show an AC kV only as the whole number of
// the bus's name, so the converter takes its bus's own base kV instead:
// 13.8 kV stays 13.8.
void Column80Reader::TakeConverterKvFromBuses() {
    for (const auto& owned : network_.converters) {
        NetConverter& c = *owned;
        if (!c.acBus || c.acBus->baseKv <= 0.0) continue;
        if (c.converterBus && c.acKv > 0.0) c.ratio *= c.acKv / c.acBus->baseKv;
        c.acKv = c.acBus->baseKv;
    }
}

// The buses that DC cards named and no record of the deck did keep the kV
// of their cards.
void Column80Reader::NumberBusesOfDcCardsOnly() {
    for (const auto& owned : network_.buses) {
        NetBus& bus = *owned;
        if (bus.number != 0) continue;
        if (bus.baseKv <= 0.0) deck_.FailAfterReading("the bus \"" + bus.name + "\" of a DC card has no base kV");
        bus.number = ++network_.busCount;
    }
}

void Column80Reader::Finish() {
    NumberBusesOfDcCardsOnly();
    TakeConverterKvFromBuses();
    solver_.CloseFile(input_);
    TakeLoadsAsPolynomial(network_);
}

}  // namespace

// Each bus's zone names its area; the first bus of an area whose code holds
// 'S', or else 'Q', is its slack bus. The DC bus of a converter names no
// area of its own.
void Solver::FormZoneAreas() {
    for (const auto& owned : network_->buses) {
        NetBus& bus = *owned;
        if (IsConverterBus(*network_, bus)) continue;
        NetArea* area = FindOrAddArea(0, bus.areaCode, Search::Yes);
        if (area->number == 0) {
            area->number = ++network_->areaCount;
            area->codes[0] = bus.areaCode;
        }
        bus.area = area;
        if (CodeHas(bus.code, "S") || (CodeHas(bus.code, "Q") && !area->areaBus)) area->areaBus = &bus;
    }
}

void Solver::ReadColumn80Deck(FILE* input) {
    mvaBase_ = 100.0;
    DoubleOption('$', mvaBase_, 1.0, 1e8);
    Column80Reader(*this, input, mvaBase_).Read();
    iterationLimit_ = 100;
    if (!ReadOperatingPoint(OptionValue('6'))) FormZoneAreas();
    // Until its converter takes it out of the network, a DC bus stands in
    // the area of its AC bus.
    for (const auto& converter : network_->converters)
        if (converter->converterBus && converter->acBus) converter->converterBus->area = converter->acBus->area;
}

NetBus* Solver::FindOrAddBus80(int number, std::string_view key, Search search, bool create) {
    if (search == Search::Yes) {
        for (const auto& bus : network_->buses)
            if ((number != 0 && bus->externalNumber == number) || bus->name.compare(0, key.size(), key) == 0)
                return bus.get();
    }
    return create ? AddBus(key, 0.0, ListEnd::Tail) : nullptr;
}

NetBranch* Solver::FindOrAddBranch80(NetBus* first, NetBus* second, const char* kinds, char circuit) {
    for (const AdjacencyNode& node : first->branches) {
        const NetBranch& b = *node.branch;
        const bool joins = (b.from == first && b.to == second) || (b.from == second && b.to == first);
        if (joins && b.circuit == circuit && CodeHas(b.code, kinds)) return nullptr;
    }
    NetBranch* branch = FindOrAddBranch(first, second, Search::No, "", circuit);
    branch->code = kinds;
    return branch;
}

void Solver::UnlinkBranch(AdjacencyList& list, NetBranch* branch) {
    list.remove(branch);
}
