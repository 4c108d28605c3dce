#pragma once

#include <array>
#include <memory>

#include "one_port.h"

// A shunt admittance on a bus, given by the P and Q it takes at 1 p.u.
// (Q positive capacitive, negative inductive), hanging below its bus with
// an earth. Its present P and Q follow the square of the bus voltage. The
// capacitor and the reactor are its fixed kinds; the switched banks build
// on the capacitor.
class Shunt : public OnePortElement {
public:
    // The value array: index and meaning, MW and Mvar.
    enum Value : int {
        kP = 0,  // at 1 p.u.
        kQ = 1,  // at 1 p.u.
        kPresentP = 2,  // at the bus's present voltage
        kPresentQ = 3,
        kValueCount = 4
    };

    // A new shunt at the point, connected to the bus under it, hanging 10
    // below the bus.
    Shunt(PowerSystem* owner, int key, Point at);
    // An empty shunt that an archive fills.
    Shunt();

    int GetElementType() const override { return ElementType::Shunt; }
    // The present P and Q, and the label of the kind (empty for a remote
    // copy).
    void UpdateResultLabel(const double* values) override;
    // "CHANGE SHUNT=<bus> G= <MW> B= <Mvar>" to the remote solver.
    void SendChangeCommand() override;
    // A ShuntRecord: per-unit G and B, and P and Q at the present voltage
    // (true) while on and attached.
    bool FillSolverRecord(SolverRecord record, char mode) override;
    // -P (it consumes) and +Q (capacitive positive) at the present voltage.
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    void Serialize(Archive& archive) override;
    // Distance to the body's centre line.
    int HitTestBody(Point point, Point& nearest) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;
    void RecalcGeometry() override;

protected:
    std::span<double> ValueArray() override { return values_; }
    Shunt(PowerSystem* owner, int key, Point at, int category);
    explicit Shunt(int category);

    // The present values from the shunt record and the label of the fixed
    // kinds.
    void UpdateShuntLabel();
    // The drawn symbols below end 1.
    void DrawCapacitorSymbol(DrawingContext& dc);
    void DrawReactorSymbol(DrawingContext& dc);
    // The earth below the body; `halfWidth` is the widest bar's half.
    void DrawEarth(DrawingContext& dc, int halfWidth, bool withStem);

    std::array<double, kValueCount> values_{};
};

// A fixed capacitor: plates and earth.
class Capacitor : public Shunt {
public:
    Capacitor(PowerSystem* owner, int key, Point at);
    Capacitor();

    int GetElementType() const override { return ElementType::Capacitor; }
    // "CHANGE CAPACITOR=<bus> B= <Mvar>" to the remote solver.
    void SendChangeCommand() override;
    // Q only: a capacitor takes no active power.
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;

protected:
    Capacitor(PowerSystem* owner, int key, Point at, int category);
    explicit Capacitor(int category) : Shunt(category) {}
};

// A fixed reactor: a coil and earth; its Q is stored negative.
class Reactor : public Shunt {
public:
    Reactor(PowerSystem* owner, int key, Point at);
    Reactor();

    int GetElementType() const override { return ElementType::Reactor; }
    // "CHANGE REACTOR=<bus> B= <Mvar>" to the remote solver.
    void SendChangeCommand() override;
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;
};
