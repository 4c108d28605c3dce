#include "dc_listing.h"

#include "number_text.h"
#include "solution_values.h"

namespace {

constexpr double kDegreesPerRadian = 180.0 / kPi;

int AreaNumber(const NetArea* area) {
    return area ? area->number : 0;
}

// The extinction angle at or below its minimum.
const char* GammaLetter(const NetConverter& c) {
    return c.gamma <= c.minGamma ? "L" : " ";
}

const char* TapLetter(const NetConverter& c) {
    if (c.tap == c.minTap) return "L";
    if (c.tap == c.maxTap) return "H";
    if (c.tap < c.minTap) return "U";
    if (c.tap > c.maxTap) return "O";
    return " ";
}

std::string ConverterRow(const NetConverter& c, double id, double base) {
    const NetBus& bus = *c.acBus;
    const double kv = c.dcBaseKv;
    const char* alphaLetter = c.alpha <= c.minAlpha ? "L" : c.alpha >= c.maxAlpha ? "H" : " ";
    return FormatInCLocale("%2d %4d %12s %8s %1s %2s %2s %8.2f %8.2f %8.2f %8.2f %8.2f%s%8.2f%s%8.4f%s\n",
                           AreaNumber(c.area), ListedNumber(bus), bus.name.c_str(), c.name.c_str(), c.code.c_str(),
                           c.modes[0].c_str(), c.modes[1].c_str(), c.vd * kv, id / kv * base * 1000.0, c.p * base,
                           c.q * base, c.alpha * kDegreesPerRadian, alphaLetter, c.gamma * kDegreesPerRadian,
                           GammaLetter(c), c.tap, TapLetter(c));
}

}  // namespace

std::string ConverterListingLines(const NetConverter& c, const std::string& head, const std::string& qPart,
                                  double base) {
    return head + FormatInCLocale("  DC %1s %8.2f  Alpha=%6.2f  TAP=%6.4f \n", c.code.c_str(), -c.p * base,
                                  c.alpha * kDegreesPerRadian, c.tap) +
           qPart + FormatInCLocale("%19s %8.2f  GAMMA=%6.2f%s\n", "", -c.q * base, c.gamma * kDegreesPerRadian,
                                   GammaLetter(c));
}

// The controlling converter's power counts out of its own area.
std::string AreaDcRows(const NetArea& area, double base, double& exported, int& rows) {
    std::string out;
    for (const NetConverter* c : area.dcLinks) {
        const NetConverter& partner = *c->partner;
        if (partner.area == c->area) continue;
        const NetConverter& controlling = c->controlling ? *c->controlling : *c;
        const NetConverter& other = &controlling == c ? partner : *c;
        const bool own = controlling.area == &area;
        const double mw = own ? -controlling.p : controlling.p;
        const NetArea* far = own ? other.area : controlling.area;
        exported += mw;
        if (rows++ > 0) out += FormatInCLocale("%51s|", "");
        out += FormatInCLocale("DC %1s %-12s    %1s %-12s   %8.2f %2d\n", controlling.code.c_str(),
                               controlling.name.c_str(), other.code.c_str(), other.name.c_str(), mw * base,
                               AreaNumber(far));
    }
    return out;
}

std::string HvdcListingRows(const Network& network, double base) {
    std::string out;
    int number = 0;
    for (const auto& owned : network.converters) {
        const NetConverter& r = *owned;
        if (r.code != "R") continue;
        out += FormatInCLocale("-99\n%3d ", ++number) + ConverterRow(r, r.id, base) + "    " +
               ConverterRow(*r.partner, r.id, base);
    }
    return out;
}
