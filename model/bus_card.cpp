#include "bus_card.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

// A value in its field of the card with as many of its decimals as fit: an
// open reactive limit such as -99999 Mvar keeps its columns with one
// decimal fewer, where a wider number would move every field after it.
std::string Fixed(int width, int decimals, double value) {
    char text[64];
    for (int d = decimals; d >= 0; --d) {
        const int length = std::snprintf(text, sizeof text, "%#*.*f", width, d, value);
        if (length <= width) break;
    }
    return text;
}

}  // namespace

int BusCard::TypeOfKind(int kind) {
    if (kind == 0) return kSwingType;
    return kind == 4 || kind == 5 || kind == 8 ? kGeneratorType : kLoadType;
}

std::string BusCard::Text() const {
    std::string word = name;
    auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    word.erase(word.begin(), std::find_if_not(word.begin(), word.end(), blank));
    word.erase(std::find_if_not(word.rbegin(), word.rend(), blank).base(), word.end());
    std::replace(word.begin(), word.end(), ' ', '_');
    if (word.size() > 12) word.resize(12);

    char text[64];
    std::snprintf(text, sizeof text, "%4d %-12s %2d %2d %2d", number, word.c_str(), 1, 1, type);
    std::string card = text;
    card += Fixed(7, 4, voltage);
    card += Fixed(7, 2, angle);
    card += Fixed(9, 2, loadP);
    card += Fixed(9, 2, loadQ);
    card += Fixed(9, 2, generationP);
    card += Fixed(8, 2, generationQ);
    card += ' ' + Fixed(7, 2, baseKv);
    card += ' ' + Fixed(6, 4, desiredVoltage);
    card += Fixed(8, 2, maxQ);
    card += Fixed(8, 2, minQ);
    card += Fixed(8, 4, shuntG);
    card += Fixed(8, 4, shuntB);
    std::snprintf(text, sizeof text, "%5d", remoteBus);
    return card + text;
}
