// BrToSl: an amount of money in Bosnian words for payment documents. The
// words are Windows-1250 bytes and are joined without blanks.

#include <charconv>
#include <string>

#include "report_text.h"

namespace {

// Windows-1250 letters, kept apart so that no hex escape swallows the
// letter after it.
#define C_CARON "\xE8"  // č
#define S_CARON "\x9A"  // š

const char* const kHundreds[10] = {
    "",       "sto",    "dvjesto",          "tristo",  C_CARON "etiristo",
    "pesto",  S_CARON "esto", "sedamsto", "osamsto", "devetsto",
};

const char* const kTens[10] = {
    "",        "",          "dvadeset",   "trideset",  C_CARON "etrdeset",
    "pedeset", S_CARON "ezdeset", "sedamdeset", "osamdeset", "devedeset",
};

const char* const kTeens[10] = {
    "deset",     "jedanaest", "dvanaest",  "trinaest",  C_CARON "etrnaest",
    "petnaest",  S_CARON "estnaest", "sedamnaest", "osamnaest", "devetnaest",
};

enum Group { kUnits, kThousands, kMillions, kMilliards };

// The word for the units digit of a group whose tens digit is not 1, by group.
const char* const kUnitWords[4][10] = {
    {"", "jedan", "dva", "tri", C_CARON "etiri", "pet", S_CARON "est", "sedam", "osam", "devet"},
    {"", "hiljada", "dvijehiljade", "trihiljade", C_CARON "etirihiljade", "pethiljada",
     S_CARON "esthiljada", "sedamhiljada", "osamhiljada", "devethiljada"},
    {"", "milion", "dvamiliona", "trimiliona", C_CARON "etirimiliona", "petmiliona",
     S_CARON "estmiliona", "sedammiliona", "osammiliona", "devetmiliona"},
    {"", "milijarda", "dvijemilijarde", "trimilijarde", C_CARON "etirimilijarde", "petmilijardi",
     S_CARON "estmilijardi", "sedammilijardi", "osammilijardi", "devetmilijardi"},
};

// Follows a teen, or a group whose own words name no amount of it.
const char* const kPluralWords[4] = {"", "hiljada", "miliona", "milijardi"};

#undef C_CARON
#undef S_CARON

std::string GroupInWords(int hundreds, int tens, int units, Group group) {
    std::string text = kHundreds[hundreds];
    text += kTens[tens];
    std::string last;
    if (tens == 1) {
        last = std::string(kTeens[units]) + kPluralWords[group];
    } else {
        last = kUnitWords[group][units];
    }
    if (last.empty() && !text.empty()) last = kPluralWords[group];
    return text + last;
}

// The capital of a lower-case letter, Windows-1250 East European letters
// included; any other character as it is.
char Capital(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 'a' && u <= 'z') return static_cast<char>(u - 'a' + 'A');
    switch (u) {
        case 0xE8: return '\xC8';  // č
        case 0xE6: return '\xC6';  // ć
        case 0x9A: return '\x8A';  // š
        case 0x9E: return '\x8E';  // ž
        case 0xF0: return '\xD0';  // đ
        default: return c;
    }
}

}  // namespace

std::string BrToSl(double amount) {
    if (!(amount >= 0.0 && amount < 1e12)) return {};
    // Twelve integer digits with leading zeros, the point and the cents, in
    // whatever locale the process runs.
    char number[32];
    auto written = std::to_chars(number, number + sizeof number, amount, std::chars_format::fixed, 2);
    std::string text(number, written.ptr);
    // An amount just below 10^12 rounds up to thirteen integer digits.
    if (text.size() > 15) return {};
    text.insert(0, 15 - text.size(), '0');
    const char* digits = text.c_str();

    std::string result = " i ";
    result += std::string(digits + 13, 2);
    result += "/100";
    for (int group = kUnits; group <= kMilliards; ++group) {
        const char* d = digits + 9 - 3 * group;
        result.insert(0, GroupInWords(d[0] - '0', d[1] - '0', d[2] - '0', static_cast<Group>(group)));
    }
    result[0] = Capital(result[0]);
    return result;
}
