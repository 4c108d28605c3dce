#pragma once

#include "bus.h"

// A square standing for the external network behind a bus: a swing source
// whose injection (values 6 MW and 5 Mvar) its third label shows.
class NetworkEquivalent : public Bus {
public:
    // A 40 by 40 square whose top edge starts 2 left of the point.
    NetworkEquivalent(PowerSystem* owner, int key, Point at);
    NetworkEquivalent();

    int GetElementType() const override { return ElementType::NetworkEquivalent; }
    void UpdateResultLabel(const double* values) override;
    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    // Its own injection, for its own key.
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    bool CheckLimits(std::string&) override { return false; }
    bool IsOverLimit() const override { return false; }
    bool AutoConnect() override;
    int HitTestBody(Point point, Point& nearest) override;
    void DrawSymbol(DrawingContext& dc) override;
    bool SetConnectedGeneration(double p, double q) override;
    void AdjustBusKind(int) override {}

private:
    // The side of the square that a point outside it (or on it) faces:
    // right, left, top, bottom, in that order; false for a point inside.
    bool FacingSide(Point point, Point& from, Point& to) const;
};
