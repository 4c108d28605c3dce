#include "solver.h"

// The device families together: HVDC links and the FACTS devices in the
// order the Newton iteration takes them (links, SVCs, TCSCs, STATCOMs), and
// what a continuation reads and keeps of every device, generator models
// included.

bool Solver::DeviceEquations(Evaluate evaluate) {
    if (HvdcEquations(evaluate)) return false;
    SvcEquations(evaluate);
    TcscEquations(evaluate);
    StatcomEquations(evaluate);
    return true;
}

void Solver::UpdateDevices(double step, Trial trial, Clamping clamping) {
    UpdateDcLinks(step, trial, clamping);
    UpdateSvcs(step, trial, clamping);
    UpdateTcscs(step, trial, clamping);
    UpdateStatcoms(step, trial, clamping);
}

// The field each device unknown moves, at its position: a link's follow its
// present codes; the third SVC unknown is alpha while the SVC holds its
// voltage, else the offset; a STATCOM's first is Ish while it holds its
// voltage, else the offset.
void Solver::DeviceStateFields(std::vector<StateField>& fields) {
    // Machine models are few and rare: the bus list is walked only for them.
    if (network_->generatorModelCount > 0)
        for (const auto& owned : network_->buses)
            if (owned->generator) GeneratorModelFields(*owned, fields);
    for (const auto& owned : network_->converters)
        if (owned->code == "R") HvdcStateFields(*owned, fields);
    for (const auto& owned : network_->svcs) {
        NetSvc& svc = *owned;
        const int j = svc.base + 1;
        fields[j] = &svc.q;
        fields[j + 1] = &svc.be;
        fields[j + 2] = svc.controlCode == "AL" ? &svc.alpha : &svc.offset;
    }
    for (const auto& owned : network_->tcscs) {
        NetTcsc& t = *owned;
        double* values[] = {&t.p, &t.qk, &t.qm, &t.bt, &t.alpha, &t.current, &t.delta};
        for (int k = 0; k < 7; ++k) fields[t.base + 1 + k] = values[k];
    }
    for (const auto& owned : network_->statcoms) {
        NetStatcom& st = *owned;
        const bool voltageHeld = st.controlCode == "PW" || st.controlCode == "AL";
        double* values[] = {voltageHeld ? &st.current : &st.offset, &st.phi, &st.vdc, &st.mr, &st.psi, &st.p, &st.q};
        for (int k = 0; k < 7; ++k) fields[st.base + 1 + k] = values[k];
    }
}

// Every value of a device that a step may move, whatever its mode.
void Solver::DeviceValues(std::vector<double*>& values) {
    values.clear();
    if (network_->generatorModelCount > 0)
        for (const auto& owned : network_->buses)
            if (owned->generator) GeneratorModelValues(*owned->generator, values);
    for (const auto& owned : network_->converters) HvdcValues(*owned, values);
    for (const auto& owned : network_->svcs)
        values.insert(values.end(), {&owned->q, &owned->be, &owned->alpha, &owned->offset});
    for (const auto& owned : network_->tcscs) {
        NetTcsc& t = *owned;
        values.insert(values.end(), {&t.p, &t.qk, &t.qm, &t.bt, &t.alpha, &t.current, &t.delta});
    }
    for (const auto& owned : network_->statcoms) {
        NetStatcom& st = *owned;
        values.insert(values.end(), {&st.current, &st.offset, &st.phi, &st.vdc, &st.mr, &st.psi, &st.p, &st.q});
    }
}
