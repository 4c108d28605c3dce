#pragma once

// The data record of a line or transformer: 26 values, integers and flags
// held as doubles, in this order. The properties dialogs copy the whole
// record in and out.
namespace BranchData {
enum Index : int {
    kReserved0 = 0,        // archived as uint32; printed nowhere
    kReserved1 = 1,        // archived as uint32; a flow arrow is drawn only when P from differs from it
    kCircuits = 2,         // number of circuits
    kControlType = 3,      // 0 voltage, 1 reactive flow, 2 reactive band, 3 active flow, 4 active band
    kResistance = 4,       // p.u. (lines: per km)
    kReactance = 5,        // p.u. (lines: per km)
    kSusceptance = 6,      // p.u. (lines: per km)
    kConductance = 7,      // p.u. (lines: per km)
    kRating = 8,           // lines: maximum current, A; transformers: rated power, MVA
    kLength = 9,           // lines: km; regulating transformers: the tap side
    kTapSide = 9,          //   below 1 the from winding carries the tap, else the to winding
    kRegulatedEnd = 10,    // 0 from, 1 to
    kMeteredEnd = 11,      // 0 from, 1 to
    kPhaseShift = 12,      // degrees
    kTapRatio = 13,
    kFromTapKv = 14,       // rated voltage of the from winding at its tap, kV
    kToTapKv = 15,         // the same for the to winding
    kCurrent = 16,         // lines: the larger end current of the last solve, A
    kTapSteps = 16,        // regulating transformers: number of tap steps
    kLowerLimit = 17,      // regulating transformers: kV of the tapped winding, or degrees
    kUpperLimit = 18,
    kPFrom = 19,           // MW into the branch at the from end
    kQFrom = 20,           // Mvar
    kPTo = 21,             // MW into the branch at the to end
    kQTo = 22,             // Mvar
    kNotification = 23,    // warning threshold: lines A, transformers MVA
    kBandMinimum = 24,     // regulating transformers, MW or Mvar: the flow to hold, or the band's low end
    kBandMaximum = 25,     // regulating transformers: the band's high end
    kCount = 26
};

// The branch kinds, as the solver record's kind code.
enum Kind : int { kLine = 0, kFixedTransformer = 1, kRegulatingTransformer = 2 };
}  // namespace BranchData
