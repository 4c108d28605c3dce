#pragma once

#include <memory>
#include <string_view>

#include "element_key.h"
#include "element_type.h"
#include "power_line.h"

// A line drawn freely on the diagram, node by node, that belongs to no
// network: dashed and showing its name (style 1), or plain with an arrowhead
// at its last end (any other style). It never attaches to a bus. Its path
// is a PrimitiveLine whose first and last nodes are its ends; it keeps
// exactly one label, shown only for the dashed style. Both styles are filed
// and stored as class type 13. It takes the path, ends and geometry of the
// two-ports, without their data.
class FreeLine : public PowerLine {
public:
    static constexpr int kDashedStyle = 1;
    static constexpr int kArrowedStyle = 0;

    // A new line whose first node lies at the point; the path stays open so
    // that the user draws the rest.
    FreeLine(PowerSystem* owner, int key, Point point, int style);
    // An empty line that an archive fills.
    FreeLine();

    int GetStyle() const { return style_; }

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

    void DrawSymbol(DrawingContext& dc) override;
    // The element block and the path, then the label and the style.
    void Serialize(Archive& archive) override;

protected:
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
