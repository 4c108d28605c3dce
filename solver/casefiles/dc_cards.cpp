#include "dc_cards.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "card_fields.h"
#include "number_text.h"
#include "solver.h"

namespace {

constexpr const char* kGround = "GROUND  ";
// The control codes a "BZ " card may give.
constexpr const char* kModes[] = {"ID", "VD", "PA", "QA", "AL", "GA", "AT"};
// Pairs of codes that hold one quantity twice over (P = Vd Id).
constexpr const char* kForbiddenPairs[][2] = {{"ID", "VD"}, {"PA", "VD"}, {"ID", "PA"}};

bool IsMode(const std::string& code) {
    for (const char* mode : kModes)
        if (code == mode) return true;
    return false;
}

bool ForbiddenPair(const std::string& first, const std::string& second) {
    for (const auto& pair : kForbiddenPairs)
        if ((first == pair[0] && second == pair[1]) || (first == pair[1] && second == pair[0])) return true;
    return false;
}

class DcCardReader {
public:
    DcCardReader(Solver& solver, const std::string& line)
        : solver_(solver), network_(*solver.GetNetwork()), line_(line) {}

    std::string Read();

private:
    NetConverter* Converter(const std::string& name);
    // A converter that an earlier card made; the fault says so when none did.
    NetConverter* Existing(const std::string& name, std::string& fault);
    NetBus* AcBus(int col, int kvCol);
    std::string SharedBusFault(const std::string& name, const NetBus* dcBus, const NetBus* acBus) const;
    std::string BusNamedConverter();
    std::string GroundConverter();
    std::string Control();
    std::string LineFault(const NetConverter* a, const NetConverter* b, double resistance, double inductance) const;
    std::string ShortLine();
    std::string LongLine(double power);
    // The converter of the two names at col and col + 8 that is not GROUND.
    std::string NotGround(std::string& name) const;

    Solver& solver_;
    Network& network_;
    const std::string& line_;
};

std::string DcCardReader::Read() {
    const std::string code = line_.substr(0, 3);
    if (code == "BD ") {
        const std::string form = GetField(line_, 51, 8, 8);
        for (char c : form)
            if (std::isalpha(static_cast<unsigned char>(c))) return BusNamedConverter();
        return GroundConverter();
    }
    if (code == "BZ ") return Control();
    if (code != "LD ") return {};
    const double power = GetRealField(line_, 57, 5, 1);
    return power == 0.0 ? ShortLine() : LongLine(power);
}

NetConverter* DcCardReader::Converter(const std::string& name) {
    NetConverter* converter = solver_.FindOrAddConverter(name, Search::Yes);
    if (converter->number == 0) converter->number = ++network_.converterCount;
    return converter;
}

NetConverter* DcCardReader::Existing(const std::string& name, std::string& fault) {
    for (const auto& converter : network_.converters)
        if (converter->name == name) return converter.get();
    if (fault.empty()) fault = FormatInCLocale("no converter card names the converter %s of the DC line", name.c_str());
    return nullptr;
}

NetBus* DcCardReader::AcBus(int col, int kvCol) {
    const double kv = GetRealField(line_, kvCol, 4, 0);
    return solver_.FindOrAddBus(0, GetField(line_, col, 12, 12), kv, Search::Yes);
}

std::string DcCardReader::NotGround(std::string& name) const {
    const std::string first = GetField(line_, 4, 8, 8);
    const std::string second = GetField(line_, 12, 8, 8);
    if ((first == kGround) == (second == kGround)) return "exactly one of the two names of the card must be GROUND";
    name = first == kGround ? second : first;
    return {};
}

// The DC bus of a converter leaves the network with its transformer, so no
// converter may have it for its AC bus, its own converter included.
std::string DcCardReader::SharedBusFault(const std::string& name, const NetBus* dcBus, const NetBus* acBus) const {
    bool shared = dcBus && dcBus == acBus;
    for (const auto& other : network_.converters)
        shared = shared || (dcBus && other->acBus == dcBus) || (other->converterBus && other->converterBus == acBus);
    return shared ? FormatInCLocale("the converter %s shares a bus between a DC and an AC side", name.c_str())
                  : std::string();
}

// A converter needs a bridge and a ratio that its equations can divide by.
std::string BridgesAndRatioFault(const std::string& name, int bridges, double ratio) {
    if (bridges < 1) return FormatInCLocale("the converter %s has no bridges", name.c_str());
    if (ratio < 1e-4) return FormatInCLocale("the transformer ratio of the converter %s is below 1e-4", name.c_str());
    return {};
}

// A converter named by its DC bus, which the card makes when it is new; its
// commutating transformer to the AC bus is a branch of the network until
// the preparation takes it over.
std::string DcCardReader::BusNamedConverter() {
    const std::string name = GetField(line_, 7, 12, 12);
    const double dcKv = GetRealField(line_, 15, 4, 0);
    NetConverter* c = Converter(name);
    if (c->bridges > 0) return FormatInCLocale("a second card for the converter %s", name.c_str());
    const int before = static_cast<int>(network_.buses.size());
    NetBus* dcBus = solver_.FindOrAddBus(0, name, dcKv, Search::Yes);
    if (static_cast<int>(network_.buses.size()) > before) {
        dcBus->voltage = 1.0;
        dcBus->areaCode = GetField(line_, 19, 2, 2);
        dcBus->owner = GetField(line_, 4, 3, 3);
    }
    c->zone = GetField(line_, 19, 2, 2);
    c->bridges = GetIntField(line_, 24, 2);
    c->inductance += GetRealField(line_, 26, 5, 1) * 0.001;
    c->minAngle = std::max(0.0, GetRealField(line_, 31, 5, 1));
    c->thirdAngle = std::max(0.0, GetRealField(line_, 36, 5, 1));
    c->maxAngle = 90.0;
    NetBus* ac = AcBus(51, 59);
    if (std::string fault = SharedBusFault(name, dcBus, ac); !fault.empty()) return fault;
    c->acKv = GetRealField(line_, 59, 4, 0);
    c->ratio = c->acKv > 0.0 ? dcKv / c->acKv * c->bridges : 0.0;
    if (std::string fault = BridgesAndRatioFault(name, c->bridges, c->ratio); !fault.empty()) return fault;
    c->acBus = ac;
    c->converterBus = dcBus;
    ac->EditExtras().converters.push_back(c);
    return {};
}

// The GROUND form: the converter's commutating reactance and ratio are on
// the card, per bridge.
std::string DcCardReader::GroundConverter() {
    std::string name;
    if (std::string fault = NotGround(name); !fault.empty()) return fault;
    NetConverter* c = Converter(name);
    if (c->bridges > 0) return FormatInCLocale("a second card for the converter %s", name.c_str());
    NetBus* ac = AcBus(20, 28);
    if (std::string fault = SharedBusFault(name, nullptr, ac); !fault.empty()) return fault;
    c->acKv = ac->baseKv;
    c->zone = GetField(line_, 36, 2, 2);
    c->bridges = GetIntField(line_, 38, 2);
    const double reactance = GetRealField(line_, 40, 5, 3);
    const double ratio = GetRealField(line_, 45, 5, 4);
    c->minTap = GetRealField(line_, 55, 5, 3);
    if (c->minTap <= 0.0) c->minTap = 0.9;
    c->maxTap = GetRealField(line_, 60, 5, 3);
    if (c->maxTap <= c->minTap) c->maxTap = 1.1;
    c->minAngle = std::max(0.0, GetRealField(line_, 65, 4, 1));
    c->maxAngle = GetRealField(line_, 69, 4, 1);
    if (c->maxAngle <= c->minAngle) c->maxAngle = 90.0;
    c->thirdAngle = std::max(0.0, GetRealField(line_, 73, 4, 1));
    if (std::string fault = BridgesAndRatioFault(name, c->bridges, ratio); !fault.empty()) return fault;
    c->commutatingOhms = reactance * c->bridges;
    c->ratio = ratio * c->bridges;
    c->acBus = ac;
    ac->EditExtras().converters.push_back(c);
    return {};
}

// The two quantities a converter holds and their scheduled values.
std::string DcCardReader::Control() {
    std::string name;
    if (std::string fault = NotGround(name); !fault.empty()) return fault;
    NetConverter* c = Converter(name);
    if (!c->code.empty()) return FormatInCLocale("the converter %s has its type already", name.c_str());
    const std::string first = GetField(line_, 33, 2, 2);
    const std::string second = GetField(line_, 35, 2, 2);
    const std::string type = GetField(line_, 49, 1, 1);
    if (!IsMode(first) || !IsMode(second))
        return FormatInCLocale("the control codes \"%s%s\" are not both known", first.c_str(), second.c_str());
    if (type != "R" && type != "I")
        return FormatInCLocale("the converter type \"%s\" is neither R nor I", type.c_str());
    if (ForbiddenPair(first, second))
        return FormatInCLocale("the control codes %s and %s cannot go together", first.c_str(), second.c_str());
    const double values[] = {std::fabs(GetRealField(line_, 37, 6, 2)), std::fabs(GetRealField(line_, 43, 6, 2))};
    if (values[0] == 0.0 || values[1] == 0.0)
        return FormatInCLocale("a scheduled value of the converter %s is 0", name.c_str());
    c->code = type;
    c->modes = {first, second};
    for (int k = 0; k < 2; ++k) {
        const std::string& mode = c->modes[k];
        double* scheduled = mode == "ID"   ? &c->scheduledCurrent
                            : mode == "VD" ? &c->scheduledVoltage
                            : mode == "PA" ? &c->scheduledP
                            : mode == "QA" ? &c->scheduledQ
                            : mode == "AL" ? &c->scheduledAlpha
                            : mode == "GA" ? &c->scheduledGamma
                                           : &c->scheduledTap;
        *scheduled = values[k];
    }
    c->furtherSetting = GetRealField(line_, 50, 5, 1);
    return {};
}

// What is wrong with a DC line between two converters (ohms, henry); the
// inductance counts with option O alone.
std::string DcCardReader::LineFault(const NetConverter* a, const NetConverter* b, double resistance,
                                    double inductance) const {
    if (a == b) return "a DC line needs two different converters";
    if (resistance < 0.01) return "the resistance of the DC line is below 0.01 ohm";
    if (inductance <= 0.0 && solver_.HasOption('O')) return "the DC line has no inductance";
    return {};
}

// The DC line between two converters named by 8 characters.
std::string DcCardReader::ShortLine() {
    std::string fault;
    NetConverter* a = Existing(GetField(line_, 4, 8, 8), fault);
    NetConverter* b = Existing(GetField(line_, 12, 8, 8), fault);
    if (!fault.empty()) return fault;
    const double resistance = GetRealField(line_, 29, 6, 2);
    const double inductance = GetRealField(line_, 35, 6, 2) * 0.001;
    if (std::string fault = LineFault(a, b, resistance, inductance); !fault.empty()) return fault;
    const std::string area = GetField(line_, 24, 2, 2);
    NetConverter* controlling = a->zone != area ? a : b;
    for (NetConverter* c : {a, b}) {
        c->resistanceOhms = resistance;
        c->inductance = inductance;
        c->areaText = area;
        c->controlling = controlling;
    }
    a->partner = b;
    b->partner = a;
    return {};
}

// The DC line with its scheduled power: the converter that col 56 names
// controls it, the sign of the power says which end rectifies.
std::string DcCardReader::LongLine(double power) {
    std::string fault;
    NetConverter* a = Existing(GetField(line_, 7, 12, 12), fault);
    NetConverter* b = Existing(GetField(line_, 20, 12, 12), fault);
    if (!fault.empty()) return fault;
    const double resistance = GetRealField(line_, 38, 6, 2);
    const double inductance = GetRealField(line_, 44, 6, 2) * 0.001;
    if (std::string fault = LineFault(a, b, resistance, inductance); !fault.empty()) return fault;
    b->inductance += inductance;
    for (NetConverter* c : {a, b}) {
        c->resistanceOhms = resistance;
        c->inductance = b->inductance;
        c->areaText = "  ";
    }
    a->partner = b;
    b->partner = a;
    const double vd = GetRealField(line_, 62, 5, 1);
    const double firing = GetRealField(line_, 67, 4, 1);
    const double extinction = GetRealField(line_, 71, 4, 1);
    const char end = line_.size() >= 56 ? line_[55] : ' ';
    if (end != 'R' && end != 'I') return {};
    NetConverter* rectifier = power > 0.0 ? a : b;
    NetConverter* inverter = power > 0.0 ? b : a;
    const double p = std::fabs(power);
    rectifier->code.assign(1, 'R');
    inverter->code.assign(1, 'I');
    rectifier->maxAngle = 90.0;
    inverter->maxAngle = 180.0;
    rectifier->scheduledAlpha = firing;
    inverter->scheduledGamma = extinction;
    if (end == 'R') {
        rectifier->modes = {"PA", "AL"};
        inverter->modes = {"VD", "GA"};
        rectifier->scheduledP = p;
        inverter->scheduledVoltage = vd - p / vd * resistance;
        rectifier->controlling = inverter->controlling = a;
    } else {
        rectifier->modes = {"VD", "AL"};
        inverter->modes = {"PA", "GA"};
        rectifier->scheduledVoltage = vd;
        inverter->scheduledP = p;
        rectifier->controlling = inverter->controlling = b;
    }
    return {};
}

// The scheduled value of a code in the card's units, from the solved link
// (from the card when the link was never set up).
double CardValue(const NetConverter& c, const std::string& mode, double mvaBase) {
    const bool solved = c.dcBaseKv > 0.0;
    const NetConverter& rectifier = c.code == "R" ? c : *c.partner;
    if (mode == "ID") return solved ? rectifier.id * mvaBase / c.dcBaseKv * 1000.0 : c.scheduledCurrent;
    if (mode == "VD") return solved ? c.vd * c.dcBaseKv : c.scheduledVoltage;
    if (mode == "PA") return solved ? std::fabs(c.p) * mvaBase : c.scheduledP;
    if (mode == "QA") return solved ? std::fabs(c.q) * mvaBase : c.scheduledQ;
    if (mode == "AL") return solved ? c.alpha * 180.0 / kPi : c.scheduledAlpha;
    if (mode == "GA") return solved ? c.gamma * 180.0 / kPi : c.scheduledGamma;
    return solved ? c.tap : c.scheduledTap;
}

// A converter's "BD " and "BZ " cards. A tap beyond its limits widens them
// (rounded outward to 0.001) and holds the ratio in place of the angle.
std::string ConverterCards(const NetConverter& c, double mvaBase) {
    double minTap = c.minTap, maxTap = c.maxTap;
    std::array<std::string, 2> modes = c.modes;
    if (c.tap < minTap || c.tap > maxTap) {
        if (c.tap < minTap) minTap = std::floor(c.tap * 1000.0) / 1000.0;
        if (c.tap > maxTap) maxTap = std::ceil(c.tap * 1000.0) / 1000.0;
        for (std::string& mode : modes)
            if (mode == "AL" || mode == "GA") {
                mode = "AT";
                break;
            }
    }
    const std::string& bus = c.acBus->name;
    std::string out = FormatInCLocale("BD %8.8s%s%12.12s    %2.2s%2d", c.name.c_str(), kGround, bus.c_str(),
                                      c.zone.c_str(), c.bridges);
    out += FormatNumber(0, 5, 3, c.commutatingOhms / c.bridges) + FormatNumber(0, 5, 4, c.ratio / c.bridges) +
           FormatNumber(0, 5, 3, 0.0) + FormatNumber(0, 5, 3, minTap) + FormatNumber(0, 5, 3, maxTap) +
           FormatNumber(0, 4, 1, c.minAngle) + FormatNumber(0, 4, 1, c.maxAngle) +
           FormatNumber(0, 4, 1, c.thirdAngle) + '\n';
    out += FormatInCLocale("BZ %8.8s%s%12.12s %2.2s%2.2s", c.name.c_str(), kGround, bus.c_str(), modes[0].c_str(),
                           modes[1].c_str());
    for (const std::string& mode : modes) out += FormatNumber(0, 6, 2, CardValue(c, mode, mvaBase));
    return out + c.code + '\n';
}

}  // namespace

std::string Solver::ReadDcCard(const std::string& line) {
    return DcCardReader(*this, line).Read();
}

std::string DcCards(const Network& network, double mvaBase) {
    std::string out;
    for (const auto& owned : network.converters) {
        const NetConverter& r = *owned;
        if (r.code != "R" || !r.partner) continue;
        const NetConverter& i = *r.partner;
        out += ConverterCards(r, mvaBase) + ConverterCards(i, mvaBase);
        out += FormatInCLocale("LD %8.8s%8.8s    %2.2s", r.name.c_str(), i.name.c_str(), r.areaText.c_str()) +
               FormatNumber(3, 6, 2, r.resistanceOhms) + FormatNumber(0, 6, 2, r.inductance * 1000.0) + '\n';
    }
    return out;
}
