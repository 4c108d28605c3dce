#pragma once

#include "drawn_network.h"
#include "generator.h"
#include "load.h"
#include "power_line.h"
#include "shunt.h"
#include "transformer.h"

// Three buses holding the results of a power flow as a solve would leave
// them in the elements: slack North (110 kV) feeds Middle (110 kV) over a
// line rated 400 A, and Middle feeds South (20 kV) through a transformer
// rated 50 MVA. Middle carries a 10 Mvar shunt.
struct SolvedThreeBusModel {
    SolvedThreeBusModel() {
        north = &net.AddBus("North", 110.0, 1.05);
        middle = &net.AddBus("Middle", 110.0, 1.0);
        south = &net.AddBus("South", 20.0, 0.98);
        double* g = net.Hang<Generator>(*north, 10).GetValues();
        g[Generator::kP] = 100.0;
        g[Generator::kQ] = 30.0;
        north->GetValues()[Bus::kKind] = Bus::kSwingKind;
        middle->GetValues()[Bus::kAngle] = -5.0;
        south->GetValues()[Bus::kAngle] = -8.25;
        double* l = net.Hang<Load>(*middle, 20).GetValues();
        l[Load::kP] = 60.0;
        l[Load::kQ] = 20.0;
        net.Hang<Shunt>(*middle, 30).GetValues()[Shunt::kQ] = 10.0;
        l = net.Hang<Load>(*south, 20).GetValues();
        l[Load::kP] = 38.0;
        l[Load::kQ] = 8.0;

        line = &net.Join<PowerLine>(*north, *middle);
        line->SetName("North-Middle");
        SetFlows(*line, 61.5, 15.0, -60.5, -12.0, 400.0);
        transformer = &net.Join<Transformer>(*middle, *south);
        transformer->SetName("T1");
        SetFlows(*transformer, 38.2, 9.0, -38.0, -8.0, 50.0);
    }

    static void SetFlows(PowerLine& branch, double pFrom, double qFrom, double pTo, double qTo, double rating) {
        double* d = branch.GetValues();
        d[BranchData::kLength] = 1.0;
        d[BranchData::kReactance] = 0.1;
        d[BranchData::kPFrom] = pFrom;
        d[BranchData::kQFrom] = qFrom;
        d[BranchData::kPTo] = pTo;
        d[BranchData::kQTo] = qTo;
        d[BranchData::kRating] = rating;
    }

    DrawnNetwork net;
    Bus* north;
    Bus* middle;
    Bus* south;
    PowerLine* line;
    PowerLine* transformer;
};
