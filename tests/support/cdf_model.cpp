#include "cdf_model.h"

#include "cdf_host_records.h"
#include "generator.h"
#include "load.h"
#include "shunt.h"
#include "transformer.h"

namespace {

// Reactive limits of a generator that never bind, Mvar.
constexpr double kOpenMvar = 99999.0;

}  // namespace

CdfModel::CdfModel(const std::string& path, bool flatStart) {
    PowerSystem& model = drawing_.model();
    HostNetwork network = LoadCdfAsHostRecords(path, CdfConversion{.flatStart = flatStart});
    for (const BusRecord& r : network.buses) {
        Bus& bus = drawing_.AddBus(r.name, r.baseKv, r.voltage);
        bus.GetValues()[Bus::kAngle] = r.angle;
        if (r.kind != 1) {
            double* g = drawing_.Hang<Generator>(bus, 10).GetValues();
            g[Generator::kP] = r.generationP;
            g[Generator::kQ] = r.generationQ;
            g[Generator::kQMin] = -kOpenMvar;
            g[Generator::kQMax] = kOpenMvar;
            g[Generator::kPMin] = 0.0;
            g[Generator::kPMax] = 0.0;
            // A load increase is met by the slack alone.
            g[Generator::kGenerationShare] = 0.0;
        }
        if (r.loadP != 0.0 || r.loadQ != 0.0) {
            double* l = drawing_.Hang<Load>(bus, 20).GetValues();
            l[Load::kP] = l[Load::kPConstantPower] = r.loadP;
            l[Load::kQ] = l[Load::kQConstantPower] = r.loadQ;
            l[Load::kPShare] = l[Load::kQShare] = 1.0;
        }
        if (r.shuntG != 0.0 || r.shuntB != 0.0) {
            double* s = drawing_.Hang<Shunt>(bus, 30).GetValues();
            s[Shunt::kP] = r.shuntG * model.GetMvaBase();
            s[Shunt::kQ] = r.shuntB * model.GetMvaBase();
        }
        // Attaching a generator makes a load bus a generator bus: the kind
        // is set last.
        bus.GetValues()[Bus::kKind] = r.kind;
        buses_[r.number] = &bus;
    }
    for (const BranchRecord& r : network.branches) {
        Bus& from = *buses_.at(r.fromBus);
        Bus& to = *buses_.at(r.toBus);
        PowerLine& branch = r.kind == BranchRecord::Line ? drawing_.Join<PowerLine>(from, to, 15)
                                                         : drawing_.Join<Transformer>(from, to, 15);
        double* d = branch.GetValues();
        d[BranchData::kLength] = 1.0;
        d[BranchData::kResistance] = r.resistance;
        d[BranchData::kReactance] = r.reactance;
        d[BranchData::kSusceptance] = r.chargingB;
        d[BranchData::kConductance] = 0.0;
        d[BranchData::kRating] = 1e6;
        if (r.kind != BranchRecord::Line) {
            d[BranchData::kFromTapKv] = r.fromWindingKv;
            d[BranchData::kToTapKv] = r.toWindingKv;
            d[BranchData::kPhaseShift] = r.phaseShift;
        }
        branches_.push_back(&branch);
    }
}
