#pragma once

#include "bus.h"

// A small round node that joins elements where no bar is drawn; it shows no
// labels, has no ends to snap to and cannot be stretched.
class ConnectionNode : public Bus {
public:
    static constexpr int kNodeSize = 6;

    // A node centred on the point.
    ConnectionNode(PowerSystem* owner, int key, Point centre);
    ConnectionNode() = default;

    int GetElementType() const override { return ElementType::ConnectionNode; }
    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    bool HasFreeEnd() const override { return false; }
    bool AutoConnect() override;
    bool DragHandle(int, int, Point) override { return false; }
    int HitTestBody(Point point, Point& nearest) override;
    void DrawSymbol(DrawingContext& dc) override;
    void RecalcGeometry() override;
    int SnapToEnd(Point, Point&) override { return -1; }
    void AdjustBusKind(int) override {}

private:
    Point Centre() const { return {(rect_.left + rect_.right) / 2, (rect_.top + rect_.bottom) / 2}; }
};
