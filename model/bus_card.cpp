#include "bus_card.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

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

    char text[256];
    std::snprintf(text, sizeof text,
                  "%4d %-12s %2d %2d %2d%7.4f%7.2f%9.2f%9.2f%9.2f%8.2f %7.2f %6.4f%8.2f%8.2f%8.4f%8.4f%5d", number,
                  word.c_str(), 1, 1, type, voltage, angle, loadP, loadQ, generationP, generationQ, baseKv,
                  desiredVoltage, maxQ, minQ, shuntG, shuntB, remoteBus);
    return text;
}
