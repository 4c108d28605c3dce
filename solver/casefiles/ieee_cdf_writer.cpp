#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "card_fields.h"
#include "dc_cards.h"
#include "facts_cards.h"
#include "number_text.h"
#include "solution_values.h"
#include "solver.h"

// Writes the network, with the values of the last solution, in the IEEE
// common data format that ReadIeeeCdf reads back. In card mode a bus record
// and a transformer record take two lines, the second one continuing at
// column 76. Every conversion here is made for the file only: the model
// keeps its own values.

namespace {

// A rating above this many MVA does not fit its five columns.
constexpr double kMaxRatingMva = 99999.0;
// Ratings are stored as MVA over the base; a rating that was a whole number
// of MVA must not be rounded up to the next one by that division.
constexpr double kRatingRoundOff = 1e-6;

// Bus type of the format, by the first rule that fits the code.
int BusType(const std::string& code) {
    if (code == "BA" || CodeHas(code, "LTC")) return 0;
    if (CodeHas(code, "VX")) return 1;
    if (CodeHas(code, "S")) return 3;
    if (CodeHas(code, "GQZ")) return 2;
    return 0;
}

int BranchType(const std::string& code) {
    if (CodeHas(code, "LE")) return 0;
    if (CodeHas(code, "T")) return 1;
    if (code == "R" || CodeHas(code, "V")) return 2;
    if (CodeHas(code, "QN")) return 3;
    return 4;
}

// A loss zone as a number: the zone's digits, or, for a zone that holds
// anything but digits and blanks, the sum of its character codes.
int ZoneNumber(const std::string& zone) {
    bool digits = true;
    int sum = 0;
    for (char c : zone) {
        digits = digits && (c == ' ' || (c >= '0' && c <= '9'));
        sum += c & 0x7F;
    }
    if (!digits) return sum;
    int number = 0;
    return ParseInt(zone, number) ? number : 0;
}

// A name right-aligned in exactly `width` columns.
std::string Fitted(const std::string& name, int width) {
    return FormatInCLocale("%*.*s", width, width, name.c_str());
}

double Degrees(double radians, double degreesToRadians) {
    return radians / degreesToRadians;
}

class IeeeCdfWriter {
public:
    IeeeCdfWriter(const Network& network, double mvaBase, double degreesToRadians, double lambda, bool cardMode)
        : network_(network), base_(mvaBase), degreesToRadians_(degreesToRadians), lambda_(lambda),
          cardMode_(cardMode), severalAreas_(network.areas.size() > 1) {}

    std::string Text();

private:
    void TitleCard();
    void Bus(const NetBus& bus);
    void Branch(const NetBranch& branch);
    void Transformer(const NetBranch& branch);
    void Interchange();
    void TieLines();
    // The break between the two lines of a record in card mode.
    void CardBreak() {
        if (cardMode_) out_ += '\n';
    }
    std::string AreaText(const NetArea* area, const char* tooLarge) const;
    const NetArea* BranchArea(const NetBranch& branch) const;

    const Network& network_;
    const double base_;
    const double degreesToRadians_;
    const double lambda_;
    const bool cardMode_;
    const bool severalAreas_;
    std::string out_;
};

std::string IeeeCdfWriter::Text() {
    out_ = cardMode_ ? "CARD\n" : "TAPE\n";
    TitleCard();
    out_ += FormatInCLocale("BUS DATA FOLLOWS                  %5d ITEMS\n", static_cast<int>(network_.buses.size()));
    for (const auto& bus : network_.buses) Bus(*bus);
    out_ += "-999\n";
    out_ += FormatInCLocale("BRANCH DATA FOLLOWS               %5d ITEMS\n",
                            static_cast<int>(network_.branches.size()));
    for (const auto& branch : network_.branches) Branch(*branch);
    out_ += "-999\n";
    out_ += FormatInCLocale("LOSS ZONES FOLLOW                 %5d ITEMS\n", 0);
    out_ += "-99\n";
    Interchange();
    TieLines();
    out_ += DcCards(network_, base_);
    out_ += FactsCards(network_);
    out_ += "END OF DATA\n";
    return std::move(out_);
}

// Date in columns 2-9, originator 11-30, MVA base 32-37, year 39-42,
// season 44 and the case title 46-73: where readers of the format look.
void IeeeCdfWriter::TitleCard() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int month = local.tm_mon + 1;
    const int year = local.tm_year + 1900;
    out_ += FormatInCLocale(" %02d/%02d/%02d %-20s", local.tm_mday, month, year % 100, "Quellmark");
    out_ += FormatNumber(1, 6, 0, base_);
    out_ += FormatInCLocale(" %4d", year);
    out_ += month <= 3 || month >= 10 ? " W " : " S ";
    std::string title = network_.title[0];
    std::erase(title, '\n');
    out_ += title.substr(0, 28);
    out_ += '\n';
}

void IeeeCdfWriter::Bus(const NetBus& bus) {
    const double v = bus.voltage;
    out_ += NumberOrStars(ListedNumber(bus), 4);
    out_ += ' ' + Fitted(bus.name, 12);
    out_ += ' ' + AreaText(bus.area, "99");
    out_ += FormatInCLocale("%3d %2d", ZoneNumber(bus.areaCode), BusType(bus.code));
    out_ += FormatNumber(1, 6, 4, v);
    out_ += FormatNumber(1, 6, 2, Degrees(WrappedAngle(bus.angle), degreesToRadians_));
    out_ += FormatNumber(1, 8, 2, LoadAt(bus.loadModelP, v, lambda_) * base_);
    out_ += FormatNumber(1, 8, 2, LoadAt(bus.loadModelQ, v, lambda_) * base_);
    out_ += FormatNumber(1, 8, 2, bus.generationP * base_);
    out_ += FormatNumber(1, 7, 2, bus.generationQ * base_);
    CardBreak();
    out_ += FormatNumber(1, 7, 2, bus.baseKv);

    // A "G" generator whose own voltage floats holds its remote bus's; one
    // holding its own (remote control off) writes its own voltage and the
    // remote number its case file gave, if any.
    const bool holdsRemote = CodeHas(bus.code, "G") && bus.voltageFree && bus.extras().remoteBus;
    double desired = v;
    if (holdsRemote)
        desired = bus.extras().remoteBus->voltageTarget;
    else if (CodeHas(bus.code, "QS"))
        desired = bus.voltageTarget;
    out_ += FormatNumber(1, 6, 4, desired);
    const bool voltageLimits = CodeHas(bus.code, "VX");
    out_ += FormatNumber(1, 7, 2, voltageLimits ? bus.maxVoltage : bus.maxQ * base_);
    out_ += FormatNumber(1, 7, 2, voltageLimits ? bus.minVoltage : bus.minQ * base_);

    // The format's branch record has one total charging and no conductance:
    // what a branch puts at its ends beyond that goes into the bus shunt.
    double shuntG = bus.shuntG;
    double shuntB = bus.shuntB;
    for (const AdjacencyNode& node : bus.branches) {
        const NetBranch& branch = *node.branch;
        const bool unequal = branch.fromShuntB != branch.toShuntB;
        if (branch.from == &bus) {
            const double t2 = branch.tap * branch.tap;
            shuntG += t2 * branch.fromShuntG;
            if (unequal) shuntB += t2 * branch.fromShuntB;
        }
        if (branch.to == &bus) {
            shuntG += branch.toShuntG;
            if (unequal) shuntB += branch.toShuntB;
        }
    }
    out_ += FormatNumber(1, 7, 4, shuntG);
    out_ += FormatNumber(1, 7, 4, shuntB);

    std::string remote = "0";
    if (CodeHas(bus.code, "G"))
        remote = NumberOrStars(holdsRemote ? ListedNumber(*bus.extras().remoteBus) : bus.extras().remoteNumber, 4);
    out_ += FormatInCLocale(" %4s\n", remote.c_str());
}

void IeeeCdfWriter::Branch(const NetBranch& branch) {
    out_ += NumberOrStars(ListedNumber(*branch.from), 4) + ' ';
    out_ += NumberOrStars(ListedNumber(*branch.to), 4) + ' ';
    out_ += AreaText(BranchArea(branch), "**");
    out_ += FormatInCLocale("%3d %c %1d", ZoneNumber(branch.owner), branch.circuit == ' ' ? '1' : branch.circuit,
                            BranchType(branch.code));

    const double y2 = branch.g * branch.g + branch.b * branch.b;
    out_ += FormatNumber(1, 9, 6, branch.g / y2);
    out_ += FormatNumber(1, 9, 6, -branch.b / y2);
    const bool equalEnds = branch.fromShuntB == branch.toShuntB;
    out_ += FormatNumber(1, 9, 5, equalEnds ? branch.fromShuntB + branch.toShuntB : 0.0);

    const double mva = branch.rating * base_;
    const double rating = mva > kRatingRoundOff ? std::ceil(mva - kRatingRoundOff) : 0.0;
    out_ += rating > kMaxRatingMva ? std::string(" 99999") : FormatInCLocale(" %5.0f", rating);
    out_ += std::string(12, ' ');

    const bool regulating = CodeHas(branch.code, "R");
    std::string controlled = "0";
    int remoteFlag = 0;
    if (regulating) {
        const NetBus* bus = branch.regulation().regulatedBus;
        if (bus) controlled = NumberOrStars(ListedNumber(*bus), 4);
        const bool atAnEnd = bus == branch.from || bus == branch.to;
        remoteFlag = CodeHas(branch.code, "PQNM") || atAnEnd ? 0 : 1;
    }
    out_ += FormatInCLocale(" %4s %1d ", controlled.c_str(), remoteFlag);
    if (regulating || CodeHas(branch.code, "T")) Transformer(branch);
    out_ += '\n';
}

// The ratio, shift, limits and targets of a transformer, from column 76.
void IeeeCdfWriter::Transformer(const NetBranch& branch) {
    CardBreak();
    const std::string& code = branch.code;
    const NetBus* controlled = branch.regulation().regulatedBus;
    out_ += FormatNumber(1, 6, 4, branch.tap != 0.0 ? 1.0 / branch.tap : 0.0);
    out_ += FormatNumber(1, 7, 2, Degrees(branch.shift, degreesToRadians_));

    double lower = 0.0;
    double upper = 0.0;
    if (code == "RP" || code == "RM") {
        lower = Degrees(branch.regulation().controlMin, degreesToRadians_);
        upper = Degrees(branch.regulation().controlMax, degreesToRadians_);
    } else if (CodeHas(code, "R")) {
        lower = branch.regulation().controlMin;
        upper = branch.regulation().controlMax;
    }
    out_ += FormatNumber(1, 6, 2, lower);
    out_ += FormatNumber(1, 6, 2, upper);
    out_ += FormatNumber(1, 6, 5, 0.0);  // step size

    double minimum = 0.0;
    double maximum = 0.0;
    if (code == "RP" || code == "RQ") {
        minimum = maximum = branch.regulation().controlTarget * base_;
    } else if (code == "RN" || code == "RM") {
        minimum = branch.regulation().bandMin * base_;
        maximum = branch.regulation().bandMax * base_;
    } else if (code == "R" && controlled) {
        minimum = maximum = controlled->voltage;
    } else if (CodeHas(code, "V") && controlled) {
        minimum = controlled->minVoltage;
        maximum = controlled->maxVoltage;
    }
    out_ += FormatNumber(1, 6, 5, minimum);
    out_ += FormatNumber(1, 6, 5, maximum);
}

// With fewer than two areas the header stands alone.
void IeeeCdfWriter::Interchange() {
    const int count = severalAreas_ ? static_cast<int>(network_.areas.size()) : 0;
    out_ += FormatInCLocale("INTERCHANGE DATA FOLLOWS          %5d ITEMS\n", count);
    if (severalAreas_) {
        for (const auto& owned : network_.areas) {
            const NetArea& area = *owned;
            const NetBus* slack = area.areaBus;
            out_ += NumberOrStars(area.number, 2) + ' ';
            out_ += NumberOrStars(slack ? ListedNumber(*slack) : 0, 4) + ' ';
            out_ += Fitted(slack ? slack->name : std::string(), 12);
            out_ += FormatNumber(1, 7, 1, area.scheduledExport * base_);
            out_ += std::string(17, ' ');
            out_ += Fitted(area.name, 30) + '\n';
        }
    }
    out_ += "-9\n";
}

void IeeeCdfWriter::TieLines() {
    std::string records;
    int count = 0;
    if (severalAreas_) {
        for (const auto& owned : network_.branches) {
            const NetBranch& branch = *owned;
            if (branch.from->area == branch.to->area) continue;
            const NetBus& metered = branch.meteredBus ? *branch.meteredBus : *branch.from;
            const NetBus& other = &metered == branch.from ? *branch.to : *branch.from;
            ++count;
            records += FormatInCLocale("%4s  %2d  %4s  %2d  %c\n", NumberOrStars(ListedNumber(metered), 4).c_str(),
                                       metered.area ? metered.area->number : 0,
                                       NumberOrStars(ListedNumber(other), 4).c_str(),
                                       other.area ? other.area->number : 0,
                                       branch.circuit == ' ' ? '1' : branch.circuit);
        }
    }
    out_ += FormatInCLocale("TIE LINES FOLLOW                  %5d ITEMS\n", count);
    out_ += records;
    out_ += "-999\n";
}

// An area number in two columns; only meaningful with several areas.
std::string IeeeCdfWriter::AreaText(const NetArea* area, const char* tooLarge) const {
    if (!severalAreas_ || !area) return " 0";
    if (area->number > 99) return tooLarge;
    return FormatInCLocale("%2d", area->number);
}

// The branch's own area, else the area both ends share, else the area of
// the end its flow is metered at.
const NetArea* IeeeCdfWriter::BranchArea(const NetBranch& branch) const {
    if (branch.area) return branch.area;
    if (branch.from->area == branch.to->area) return branch.from->area;
    return branch.meteredBus ? branch.meteredBus->area : nullptr;
}

}  // namespace

// The file is chosen by the name, or, without one, by option W (tape
// mode) or option w (card mode). False when no file is chosen.
bool Solver::WriteIeeeCdfFile(const char* fileName, int cardFlag) {
    const char* name = fileName;
    bool cardMode = (cardFlag & 0xFF) != 0;
    if (!name) {
        if (HasOption('W')) {
            name = OptionValue('W');
            cardMode = false;
        } else if (HasOption('w')) {
            name = OptionValue('w');
            cardMode = true;
        }
        if (IsEmptyValue(name)) return false;
    }
    RequireFiniteSolution();
    FILE* file = OpenOutput(name);
    std::string text = IeeeCdfWriter(*network_, mvaBase_, degreesToRadians_, lambda_, cardMode).Text();
    std::fputs(text.c_str(), file);
    if (!CloseFile(file)) FailOutput("Cannot write the case file", name, errno);
    return true;
}

int Solver::WriteIeeeCdf(const char* fileName, int cardFlag) {
    if (!network_ || failed_) return 1;
    return Guarded(1, [&] { return WriteIeeeCdfFile(fileName, cardFlag) ? 0 : 1; });
}
