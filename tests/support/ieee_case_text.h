#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "card_line.h"

// Small IEEE common data format cases built record by record.

// A bus record: number, name, area 0, zone 1, the type, 1 p.u. at 0
// degrees, 100 kV and nothing else; tests set the other fields.
inline CardLine BusCard(int number, int type) {
    char text[8];
    std::snprintf(text, sizeof text, "%4d", number);
    std::string name = "B" + std::to_string(number);
    name.resize(12, ' ');
    CardLine card;
    card.At(1, text).At(6, name).At(19, " 0").At(21, "  1").At(25, " " + std::to_string(type));
    card.At(28, "1.0000").At(34, "   0.00").At(77, " 100.00").At(124, "   0");
    return card;
}

// A branch record of the type between two buses with X = 0.1 p.u.
inline CardLine BranchCard(int from, int to, int type) {
    char text[16];
    CardLine card;
    std::snprintf(text, sizeof text, "%4d", from);
    card.At(1, text);
    std::snprintf(text, sizeof text, "%4d", to);
    card.At(6, text).At(11, " 0").At(13, "  1").At(17, "1").At(19, std::to_string(type));
    card.At(20, "  0.000000").At(30, "  0.100000").At(41, "  0.00000").At(51, "    0");
    return card;
}

struct CaseText {
    std::vector<std::string> buses;
    std::vector<std::string> branches;
    std::vector<std::string> tail;  // sections after the branches
    std::string title = " 01/02/26 Hand-made case        100.0 2026 W Test case";

    std::string Text() const {
        std::string text = title + "\nBUS DATA FOLLOWS\n";
        for (const auto& line : buses) text += line + "\n";
        text += "-999\nBRANCH DATA FOLLOWS\n";
        for (const auto& line : branches) text += line + "\n";
        text += "-999\n";
        for (const auto& line : tail) text += line + "\n";
        return text + "END OF DATA\n";
    }
};

// A slack bus 1 (generator at 1.05 p.u. with open limits), a load bus 2 and
// a line between them.
inline CaseText TwoBuses() {
    CaseText c;
    c.buses = {BusCard(1, 3).At(85, "1.0500"), BusCard(2, 0).At(41, "    50.00")};
    c.branches = {BranchCard(1, 2, 0)};
    return c;
}

// Two areas: buses 1-2 in area 1, buses 3-4 in area 2, joined by the tie
// 2-3 metered at bus 3.
inline CaseText TwoAreas() {
    CaseText c;
    c.buses = {BusCard(1, 3).At(19, " 1"), BusCard(2, 0).At(19, " 1"), BusCard(3, 2).At(19, " 2").At(85, "1.0200"),
               BusCard(4, 0).At(19, " 2")};
    c.branches = {BranchCard(1, 2, 0), BranchCard(2, 3, 0).At(11, " 1"), BranchCard(3, 4, 0)};
    c.tail = {"INTERCHANGE DATA FOLLOWS",
              CardLine().At(1, " 1").At(4, "   1").At(21, "   12.5").At(46, "North"),
              CardLine().At(1, " 2").At(4, "   3").At(21, "  -12.5"),
              "-9",
              "TIE LINES FOLLOW",
              CardLine().At(1, "   3").At(11, "   2").At(21, "1"),
              "-999"};
    return c;
}
