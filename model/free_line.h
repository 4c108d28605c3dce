#pragma once

#include <memory>

#include "ee_element.h"
#include "element_key.h"
#include "element_type.h"
#include "primitive_line.h"

// A line drawn freely on the diagram, node by node, that belongs to no
// network: dashed and showing its name (style 1), or plain with an arrowhead
// at its last end (any other style). It never attaches to a bus. Its path
// is a PrimitiveLine whose first and last nodes are its ends; it keeps
// exactly one label, shown only for the dashed style. Both styles are filed
// and stored as class type 13.
class FreeLine : public EEElement {
public:
    static constexpr int kDashedStyle = 1;
    static constexpr int kArrowedStyle = 0;

    // A new line whose first node lies at the point; the path stays open so
    // that the user draws the rest.
    FreeLine(PowerSystem* owner, int key, Point point, int style);
    // An empty line that an archive fills.
    FreeLine();

    int GetStyle() const { return style_; }
    const PrimitiveLine& GetPath() const { return path_; }
    PrimitiveLine& GetPath() { return path_; }

    int GetElementType() const override { return ElementType::FreeLine; }
    bool IsNetworkElement() const override { return false; }
    bool IsOverLimit() const override { return false; }
    bool AutoConnect() override { return false; }
    // The label takes the name again (a free line has no values).
    void UpdateResultLabel(const double* values) override;
    void SetName(std::string_view name) override;

    std::unique_ptr<IElement> Duplicate(bool forClipboard) override;
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int style) override;
    // One label at the point, shown for the dashed style only.
    void CreateLabels(Point anchor) override;

    // The geometry of a path between two ends.
    bool HasFreeEnd() const override;
    int SnapToEnd(Point point, Point& snapped) override;
    void SetConnectionPoint(Point point, bool end1) override;
    void SyncEndsFromPath() override;
    int GetNodeCount() const override { return path_.GetNodeCount(); }
    Rect CalcBoundingRect() override;
    void RecalcGeometry() override;
    bool HitTest(Point point) override;
    int HitTestBody(Point point, Point& nearest) override;
    void Move(int dx, int dy, bool withConnected) override;
    // Kind 0 adds a node at the point, kind 3 finishes the path there,
    // kind 4 drags a node handle or follows the mouse with the rubber band.
    bool DragHandle(int kind, int handle, Point point) override;

    void DrawSymbol(DrawingContext& dc) override;
    // The element block, the path, the label and the style.
    void Serialize(Archive& archive) override;

protected:
    // The element base and path of a new line; the kinds add their labels.
    FreeLine(PowerSystem* owner, int key, Point point, int style, int category);

    PrimitiveLine path_;
    int style_ = kDashedStyle;
};

// A closed shape drawn like a free line: filled with the element's brush
// once its path is finished with its last node on its first. It shows no
// label and is stored with the arrowed style's number.
class PolygonElement : public FreeLine {
public:
    PolygonElement(PowerSystem* owner, int key, Point point);
    PolygonElement();

    int GetElementType() const override { return ElementType::PolygonElement; }
    std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) override;
    void CreateLabels(Point anchor) override;
    void DrawSymbol(DrawingContext& dc) override;
};
