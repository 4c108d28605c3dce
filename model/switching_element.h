#pragma once

#include <memory>
#include <span>
#include <string>

#include "power_line.h"
#include "switch_flow.h"

// The switching elements join two buses without impedance: drawn like a
// line with a symbol in the middle, filed together with the connectors,
// never handed to the solver as branches. When closed, the model merges the
// buses they join into one bus group; after a solve each one's flow is
// found by balancing the buses of the group. They keep a record of six
// values of their own (SwitchData) and one label, the flow.
namespace SwitchData {
enum Index : int {
    kState = 0,         // 1 closed, 0 open
    kRatedCurrent = 1,  // A
    kSpare = 2,         // kept and archived
    kCurrent = 3,       // A
    kP = 4,             // MW, from end 0 to end 1
    kQ = 5,             // Mvar, same direction
    kCount = 6
};
}  // namespace SwitchData

// A connector of zero impedance; the base of the switches. A new one is
// closed.
class Connector : public PowerLine, public ISwitchFlow {
public:
    Connector(PowerSystem* owner, int key, Point at);
    // An empty connector that an archive fills.
    Connector();

    int GetElementType() const override { return ElementType::Connector; }
    // Open or closed: the state value follows; an open switch carries
    // nothing.
    void SetOn(bool on) override;
    bool IsFlowKnown() const { return flowsKnown_; }

    // --- ISwitchFlow: the flow balance of a bus group ---
    void SetFlow(int busKey, double p, double q) override;
    void SetFlowKnown(bool known) override;

    void UpdateResultLabel(const double* values) override;
    // The record of the model's connector table.
    bool FillSolverRecord(SolverRecord record, char mode) override;
    // A switch forms no tap command and writes no card.
    void SendChangeCommand() override {}
    bool WriteCDFCard(std::string&, int*) override { return false; }
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    bool CheckLimits(std::string&) override { return false; }
    bool IsOverLimit() const override { return false; }
    double GetLoadingIndex() const override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void CreateLabels(Point anchor) override;
    void DrawSymbol(DrawingContext& dc) override;
    void Serialize(Archive& archive) override;

protected:
    // A point of a symbol: offsets from the middle of its segment, along the
    // segment and across it to the left.
    struct SymbolOffset {
        double along;
        double across;
    };
    // Places the table's points on the segment a-b; false when the segment
    // is shorter than the minimum, or has no length at all.
    static bool PlaceSymbolPoints(Point a, Point b, std::span<const SymbolOffset> table, double minimumLength,
                                  std::vector<Point>& out);
    // The path with the symbol on its first segment, or on its second when
    // the path bends (for the switches: only when that one is long enough);
    // DrawContacts draws between the segment's ends a and b with the placed
    // points. Answers whether the symbol was placed.
    bool DrawWithSymbol(DrawingContext& dc, std::span<const SymbolOffset> table, double minimumLength,
                        bool secondSegmentNeedsRoom);
    virtual void DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points);
    // Builds a switch that starts open.
    Connector(PowerSystem* owner, int key, Point at, bool closed);
    // The two contacts (small squares) at c1 and c2 and the lines from the
    // segment's ends a and b to them.
    static void DrawTerminals(DrawingContext& dc, Point a, Point b, Point c1, Point c2);
    // The flow arrow of a switch: the first polyline toward end 1 when
    // P > 0, the second toward end 0 when P < 0, none at 0.
    void DrawSwitchArrow(DrawingContext& dc, const std::vector<Point>& points, std::span<const int> toEnd1,
                         std::span<const int> toEnd0) const;

    bool flowsKnown_ = false;
};

class Disconnector : public Connector {
public:
    Disconnector(PowerSystem* owner, int key, Point at);
    Disconnector() = default;
    int GetElementType() const override { return ElementType::Disconnector; }
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;

protected:
    void DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points) override;
};

class CircuitBreaker : public Connector {
public:
    CircuitBreaker(PowerSystem* owner, int key, Point at);
    CircuitBreaker() = default;
    int GetElementType() const override { return ElementType::CircuitBreaker; }
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;

protected:
    void DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points) override;
};

class Fuse : public Connector {
public:
    Fuse(PowerSystem* owner, int key, Point at);
    Fuse() = default;
    int GetElementType() const override { return ElementType::Fuse; }
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void DrawSymbol(DrawingContext& dc) override;

protected:
    void DrawContacts(DrawingContext& dc, Point a, Point b, const std::vector<Point>& points) override;
};
