#pragma once

#include <array>
#include <memory>

#include "one_port.h"

// A load on a bus whose P and Q depend on the bus voltage through a
// polynomial (constant-power, constant-current and constant-impedance
// parts). It is drawn as an arrow head pointing away from the bus.
class Load : public OnePortElement {
public:
    // The value array: index and meaning, MW and Mvar.
    enum Value : int {
        kP = 0,  // at the present voltage
        kQ = 1,
        kLoadFlag = 2,  // an integer, archived as one byte
        // 3 to 6, 9 and 10 are kept and archived; nothing computes with them.
        kPShare = 7,  // shares in a continuation's load increase
        kQShare = 8,
        kPConstantPower = 11,  // MW
        kPConstantCurrent = 12,  // MW at 1 p.u.
        kPConstantImpedance = 13,  // MW at 1 p.u.
        kQConstantPower = 14,
        kQConstantCurrent = 15,
        kQConstantImpedance = 16,
        kValueCount = 17
    };
    // Documents up to this version store no characteristic: their loads are
    // constant-power loads.
    static constexpr int kLastVersionWithoutCharacteristic = 15;

    // A new load at the point, connected to the bus under it, standing 30
    // off the bus.
    Load(PowerSystem* owner, int key, Point at);
    // An empty load that an archive fills.
    Load();

    int GetElementType() const override { return ElementType::Load; }
    // P and Q at the bus's voltage while on; the label shows 0/0 while off.
    void UpdateResultLabel(const double* values) override;
    // "CHANGE LOAD=<bus> PLOAD= <MW> QLOAD= <Mvar>" to the remote solver.
    void SendChangeCommand() override;
    // What the load draws from the bus at end 0, as a negative injection.
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    void Serialize(Archive& archive) override;
    // The nearer of the body and the connection line.
    int HitTestBody(Point point, Point& nearest) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;
    void RecalcGeometry() override;

    // P and Q from the characteristic at the voltage (p.u.); 0 at no
    // voltage.
    void ApplyVoltage(double v);
    const std::array<Point, 3>& GetArrowHead() const { return arrow_; }

private:
    std::span<double> ValueArray() override { return values_; }

    std::array<Point, 3> arrow_{};
    std::array<double, kValueCount> values_{};
};
