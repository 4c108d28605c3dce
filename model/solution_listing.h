#pragma once

#include <string>
#include <string_view>
#include <vector>

// The solver's solution listing as the model reads it back after a run over
// files: for every bus its solved state, and for every line or transformer
// at it the flows at that end. MW, Mvar, A; voltages in p.u.; angles in
// degrees. Converter rows and the blocks after the buses (areas, HVDC,
// devices) are not read.
struct ListedBranch {
    int farBus = 0;       // the number of the bus at the other end
    char circuit = ' ';
    double p = 0.0;       // into the branch at this end
    double q = 0.0;
    double current = 0.0;  // 0 when the listing leaves it blank (a bus of 0 kV)
    bool transformer = false;
    double ratio = 0.0;   // transformers: the ratio seen from this end
    double shift = 0.0;   // transformers: the phase shift, degrees
    int line = 0;         // of its first row, counted from 1
};

struct ListedBus {
    int number = 0;
    double voltage = 0.0;
    double angle = 0.0;
    double generationP = 0.0;
    double generationQ = 0.0;
    std::vector<ListedBranch> branches;
    int line = 0;
};

struct SolutionListing {
    std::vector<ListedBus> buses;
};

// What stops the reading: the line (from 1) and why.
struct ListingError {
    int line = 0;
    std::string reason;
};

// Parses the listing's text (LF or CR LF) by its fixed columns, so that a
// blank field (a bus of 0 kV, a blank circuit, a line without a ratio)
// shifts nothing after it; a number wider than its field pushes what
// follows, as the writer's formats do. The buses end at the first line of
// nine characters or fewer, or at the end of the text. False, with the
// error, for a listing of another program, a row that does not parse, or a
// listing that ends within a bus's rows; `listing` is then incomplete.
bool ParseSolutionListing(std::string_view text, SolutionListing& listing, ListingError& error);
