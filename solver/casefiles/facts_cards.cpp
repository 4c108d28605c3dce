#include "facts_cards.h"

#include <cmath>

#include "card_fields.h"
#include "number_text.h"
#include "solver.h"

namespace {

// Current limits of a STATCOM card that gives none.
constexpr double kNoCurrentLimit = 99999999.0;

NetBus* BusNamed(Network& network, const std::string& name) {
    for (const auto& bus : network.buses)
        if (bus->name == name) return bus.get();
    return nullptr;
}

class FactsCardReader {
public:
    FactsCardReader(Solver& solver, const std::string& line)
        : solver_(solver), network_(*solver.GetNetwork()), line_(line) {}

    std::string Read();

private:
    // The bus named in columns col..col+11; sets the fault when none is.
    NetBus* Bus(int col);
    std::string Svc();
    std::string Tcsc();
    std::string Statcom();
    NetBus* LowSideBus(NetBus& svcBus, double& lowKv);

    Solver& solver_;
    Network& network_;
    const std::string& line_;
    std::string fault_;
};

std::string FactsCardReader::Read() {
    const std::string code = line_.substr(0, 3);
    if (code == "FS ") return Svc();
    if (code == "FC ") return Tcsc();
    if (code == "FT ") return Statcom();
    return {};
}

NetBus* FactsCardReader::Bus(int col) {
    const std::string name = GetField(line_, col, 12, 12);
    NetBus* bus = BusNamed(network_, name);
    if (!bus && fault_.empty()) fault_ = "the bus \"" + name + "\" of the card does not exist";
    return bus;
}

// "FS ": an SVC at its bus (or, with a transformer reactance, at a
// low-side bus the card makes) holding the controlled bus's voltage.
std::string FactsCardReader::Svc() {
    NetBus* svcBus = Bus(7);
    NetBus* controlled = Bus(20);
    if (!fault_.empty()) return fault_;
    const double x1 = GetRealField(line_, 32, 8, 7);
    const double x2 = GetRealField(line_, 40, 8, 7);
    if (x1 <= 0.0 || x2 <= 0.0) return "the reactances of an SVC must be positive";
    double minAngle = GetRealField(line_, 48, 3, 0);
    double maxAngle = GetRealField(line_, 51, 3, 0);
    if (minAngle == 0.0) minAngle = 90.0;
    if (maxAngle == 0.0) maxAngle = 178.0;
    if (minAngle >= maxAngle) return "the firing-angle limits of the SVC are not ordered";
    const double rating = GetRealField(line_, 56, 4, 0);
    const double transformerX = GetRealField(line_, 68, 8, 7);
    double lowKv = GetRealField(line_, 64, 4, 0);
    NetBus* terminal = svcBus;
    if (transformerX != 0.0) {
        terminal = LowSideBus(*svcBus, lowKv);
        if (!terminal) return fault_;
        const double base = solver_.MvaBase();
        const double x = base / (rating > 0.0 ? rating : base) * transformerX;
        if (std::fabs(x) < 1e-4) return "the transformer reactance of the SVC is below 1e-4 p.u.";
        NetBranch* branch = solver_.FindOrAddBranch(svcBus, terminal, Search::No, "", ' ');
        branch->code.assign(1, 'L');
        branch->b = -1.0 / x;
        branch->owner = svcBus->owner;
        ++network_.branchCount;
    } else if (lowKv == 0.0) {
        lowKv = svcBus->baseKv;
    }
    for (const auto& svc : network_.svcs)
        if (svc->terminalBus == terminal && svc->controlledBus == controlled && svc->capacitorX > 0.0)
            return "a second card for the SVC at " + terminal->name;
    NetSvc* svc = solver_.FindOrAddSvc(terminal->name, Search::No, terminal, controlled);
    ++network_.svcCount;
    svc->capacitorX = x1;
    svc->reactorX = x2;
    svc->minAngle = minAngle;
    svc->maxAngle = maxAngle;
    svc->slopePercent = static_cast<int>(std::lround(GetRealField(line_, 54, 2, 0)));
    svc->rating = rating;
    const double vref = GetRealField(line_, 60, 4, 3);
    svc->referenceVoltage = vref != 0.0 ? vref : 1.0;
    svc->transformerX = transformerX;
    svc->lowSideKv = lowKv;
    svc->furtherSetting = GetRealField(line_, 76, 5, 1);
    return {};
}

// The bus on the low side of an SVC's transformer: the SVC bus's name cut
// to 7 characters, "L" and the low-side kV as the card writes it.
NetBus* FactsCardReader::LowSideBus(NetBus& svcBus, double& lowKv) {
    if (lowKv == 0.0 || svcBus.baseKv == 0.0) {
        fault_ = "an SVC transformer needs the kV of both of its sides";
        return nullptr;
    }
    std::string name = svcBus.name.substr(0, 7);
    name.resize(7, ' ');
    name += 'L' + GetField(line_, 64, 4, 4);
    int number = 0;
    for (const auto& bus : network_.buses) number = std::max(number, bus->externalNumber);
    NetBus* bus = solver_.FindOrAddBus(0, name, lowKv, Search::No);
    bus->number = ++network_.busCount;
    bus->externalNumber = number + 1;
    bus->areaCode = svcBus.areaCode;
    bus->owner = svcBus.owner;
    bus->area = svcBus.area;
    bus->voltage = 1.0;
    bus->angle = svcBus.angle;
    return bus;
}

// "FC ": a TCSC in series between two buses.
std::string FactsCardReader::Tcsc() {
    NetBus* from = Bus(7);
    NetBus* to = Bus(20);
    if (!fault_.empty()) return fault_;
    if (from == to) return "a TCSC needs two different buses";
    if (from->baseKv <= 0.0 || to->baseKv <= 0.0) return "the buses of a TCSC need their kV";
    const double x1 = GetRealField(line_, 32, 8, 7);
    const double x2 = GetRealField(line_, 40, 8, 7);
    if (x1 <= 0.0 || x2 <= 0.0) return "the reactances of a TCSC must be positive";
    for (const auto& tcsc : network_.tcscs)
        if (tcsc->from == from && tcsc->to == to && tcsc->capacitorX > 0.0)
            return "a second card for the TCSC between " + from->name + " and " + to->name;
    double minAngle = GetRealField(line_, 48, 3, 0);
    double maxAngle = GetRealField(line_, 51, 3, 0);
    if (minAngle <= 0.0) minAngle = 143.0;
    if (maxAngle <= 0.0 || maxAngle > 175.0) maxAngle = 175.0;
    if (minAngle >= maxAngle) return "the firing-angle limits of the TCSC are not ordered";
    NetTcsc* tcsc = solver_.FindOrAddTcsc(from->name, Search::No, from, to);
    ++network_.tcscCount;
    network_.tcscUnknownCount = 7 * network_.tcscCount;
    tcsc->capacitorX = x1;
    tcsc->reactorX = x2;
    tcsc->minAngle = minAngle;
    tcsc->maxAngle = maxAngle;
    tcsc->scheduledValue = GetRealField(line_, 54, 8, 3);
    const char letter = line_.size() >= 62 ? line_[61] : ' ';
    tcsc->controlLetter = letter == 'D' || letter == 'I' || letter == 'P' ? letter : 'X';
    tcsc->rating = GetRealField(line_, 63, 4, 0);
    tcsc->angleSetting = GetRealField(line_, 67, 5, 1) * kPi / 180.0;
    tcsc->compensationPercent = GetRealField(line_, 72, 3, 0);
    return {};
}

// "FT ": a STATCOM at its bus holding the controlled bus's voltage.
std::string FactsCardReader::Statcom() {
    NetBus* bus = Bus(7);
    NetBus* controlled = Bus(20);
    if (!fault_.empty()) return fault_;
    const double reactance = GetRealField(line_, 38, 6, 5);
    if (reactance <= 0.0) return "the reactance of a STATCOM must be positive";
    for (const auto& statcom : network_.statcoms)
        if (statcom->terminalBus == bus && statcom->controlledBus == controlled && statcom->read)
            return "a second card for the STATCOM at " + bus->name;
    NetStatcom* statcom = solver_.FindOrAddStatcom(bus->name, Search::No, bus, controlled);
    ++network_.statcomCount;
    statcom->read = true;
    statcom->resistance = std::fabs(GetRealField(line_, 32, 6, 5));
    statcom->reactance = reactance;
    statcom->dcConductance = std::fabs(GetRealField(line_, 44, 6, 5));
    const double maxCurrent = std::fabs(GetRealField(line_, 50, 6, 4));
    const double minCurrent = std::fabs(GetRealField(line_, 56, 6, 4));
    statcom->maxCurrent = maxCurrent != 0.0 ? maxCurrent : kNoCurrentLimit;
    statcom->minCurrent = minCurrent != 0.0 ? minCurrent : kNoCurrentLimit;
    statcom->slopePercent = static_cast<int>(std::lround(GetRealField(line_, 62, 3, 0)));
    statcom->rating = GetRealField(line_, 65, 5, 0);
    const double vref = GetRealField(line_, 70, 4, 3);
    statcom->referenceVoltage = vref > 0.0 ? vref : 1.0;
    const char letter = line_.size() >= 74 ? line_[73] : ' ';
    const double value = GetRealField(line_, 75, 6, 5);
    statcom->returnCode = letter == 'P' ? "AL" : "PW";
    statcom->controlCode = statcom->returnCode;
    statcom->controlValue = value > 0.0 ? value : letter == 'P' ? 0.9 : 1.0;
    return {};
}

// Columns 1-31 of every card: the code, the area of the first bus, and
// the two buses' names.
std::string CardHead(const char* code, const NetBus& first, const NetBus& second) {
    return FormatInCLocale("%2s %2d %12s %12s", code, first.area ? first.area->number : 0, first.name.c_str(),
                           second.name.c_str());
}

// A current limit the card gave as none goes back as none.
double CardCurrentLimit(double limit) {
    return limit >= kNoCurrentLimit ? 0.0 : limit;
}

}  // namespace

std::string ReadFactsCard(Solver& solver, const std::string& line) {
    return FactsCardReader(solver, line).Read();
}

std::string FactsCards(const Network& network) {
    std::string out;
    for (const auto& owned : network.svcs) {
        const NetSvc& svc = *owned;
        out += CardHead("FS", *svc.terminalBus, *svc.controlledBus) + FormatNumber(1, 7, 6, svc.capacitorX) +
               FormatNumber(1, 7, 6, svc.reactorX) + FormatNumber(0, 3, 0, svc.minAngle) +
               FormatNumber(0, 3, 0, svc.maxAngle) + FormatNumber(0, 2, 0, svc.slopePercent) +
               FormatNumber(0, 4, 1, svc.rating) + FormatNumber(0, 4, 3, svc.referenceVoltage) +
               std::string(12, ' ') + FormatNumber(1, 4, 1, svc.furtherSetting) + '\n';
    }
    for (const auto& owned : network.tcscs) {
        const NetTcsc& tcsc = *owned;
        out += CardHead("FC", *tcsc.from, *tcsc.to) + FormatNumber(1, 7, 6, tcsc.capacitorX) +
               FormatNumber(1, 7, 6, tcsc.reactorX) + FormatNumber(0, 3, 0, tcsc.minAngle) +
               FormatNumber(0, 3, 0, tcsc.maxAngle) + FormatNumber(1, 7, 3, tcsc.scheduledValue) +
               tcsc.controlLetter + FormatNumber(0, 4, 1, tcsc.rating) +
               FormatNumber(0, 5, 1, tcsc.angleSetting * 180.0 / kPi) +
               FormatNumber(0, 3, 1, tcsc.compensationPercent) + '\n';
    }
    for (const auto& owned : network.statcoms) {
        const NetStatcom& st = *owned;
        out += CardHead("FT", *st.terminalBus, *st.controlledBus) + FormatNumber(1, 5, 4, st.resistance) +
               FormatNumber(1, 5, 4, st.reactance) + FormatNumber(1, 5, 4, st.dcConductance) +
               FormatNumber(1, 5, 3, CardCurrentLimit(st.maxCurrent)) +
               FormatNumber(1, 5, 3, CardCurrentLimit(st.minCurrent)) + FormatNumber(1, 2, 0, st.slopePercent) +
               FormatNumber(1, 4, 0, st.rating) + FormatNumber(0, 4, 3, st.referenceVoltage) +
               (st.returnCode == "PW" ? 'W' : 'P') + FormatNumber(1, 5, 4, st.controlValue) + '\n';
    }
    return out;
}
