#pragma once

#include <istream>
#include <string>
#include <vector>

// The columns of a continuation table as the PV-curve variable chooser
// offers them: every column but the last is a bus voltage (Y), the last is
// the total load (X).
struct PvCurveColumns {
    // The table traced a curve the chooser can offer: a header of two or
    // more names and either a nose (a row whose load falls below the
    // highest so far) or three or more rows of the header's width.
    bool usable = false;
    std::string xName;
    // The Y names, the largest voltage drop from the first row to the row
    // of highest load first; empty unless usable.
    std::vector<std::string> yNames;
};

// Reads the table: lines of tokens split at blanks, tabs, CR and LF, lines
// without a token skipped; a header line of names, then rows of as many
// numbers (C locale; a token that is not a number counts as 0). Reading
// stops at the nose or at a row of another width, which spoils the table.
PvCurveColumns ReadPvCurveColumns(std::istream& table);
