#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "element_interface.h"
#include "element_key.h"

// An element with the bare behaviour that the model's own operations rely
// on: a key, a category and class type, a name, a rectangle, values, the
// selection flags and the attributes that the model sets. It draws itself as
// its name at its rectangle's top-left corner, so that a recording drawing
// context shows the order of drawing. What the model does not use answers
// the plain value.
class FakeElement : public IElement {
public:
    FakeElement(int classType, int category, int key = 0, Rect rect = {})
        : key(key), classType(classType), category(category), rect(rect) {}
    ~FakeElement() override {
        if (deletions) ++*deletions;
    }

    // A fresh element of the class type, filed under its category; how the
    // factory's makers make test elements.
    template <int ClassType, int CategoryOfType>
    static std::unique_ptr<IElement> Make() {
        return std::make_unique<FakeElement>(ClassType, CategoryOfType);
    }

    int key;
    int classType;
    int category;
    Rect rect;
    std::string name;
    std::vector<double> values;  // empty: the kind has no values
    std::vector<std::uint8_t> labelFlags;
    PowerSystem* owner = nullptr;
    bool selected = false;
    bool labelSelected = false;
    bool freeEnd = false;
    int nodeCount = 0;
    bool autoConnectAnswer = false;
    int autoConnectCalls = 0;
    int labelUpdates = 0;
    ColorRef color = kBlack;
    ColorRef fillColor = kWhite;
    ColorRef brushColor = kWhite;
    int penWidth = 0;
    std::map<int, ColorRef> labelColors;
    std::map<int, LogFont> labelFonts;
    int* deletions = nullptr;  // counts destructions when set
    // The names of the elements at the two ends; none for a free end.
    std::array<std::optional<std::string>, 2> endNames;
    std::vector<Rect> areasAsked;  // by IntersectsRect

    int GetKey() const override { return key; }
    void SetKey(int newKey) override { key = newKey; }
    int GetType(bool actual) const override { return actual ? classType : category; }
    int GetElementType() const override { return classType; }
    void SetOwner(PowerSystem* model) override { owner = model; }
    const std::string& GetName() const override { return name; }
    void SetName(std::string_view newName) override { name = newName; }
    bool IsNetworkElement() const override { return true; }
    double GetMvaBase() const override { return 100.0; }
    bool GetOwnerLabelMode() const override { return false; }
    IElement* FindElement(int) override { return nullptr; }

    void UpdateResultLabel(const double*) override { ++labelUpdates; }
    void GetValuesAndFlags(std::span<double>& v, std::vector<std::uint8_t>*& flags) override {
        v = values;
        flags = &labelFlags;
    }
    double* GetValues() override { return values.empty() ? nullptr : values.data(); }
    void SendChangeCommand() override {}
    bool FillSolverRecord(SolverRecord, char) override { return false; }
    bool WriteCDFCard(std::string&, int*) override { return false; }
    bool GetFlowAtEnd(int, double& p, double& q, bool& pending) override {
        p = q = 0.0;
        pending = false;
        return false;
    }
    bool CheckLimits(std::string&) override { return false; }
    bool IsOverLimit() const override { return false; }
    double GetBaseVoltage() const override { return 0.0; }
    double GetLoadingIndex() const override { return 0.0; }
    double GetVoltageIndex() const override { return 0.0; }
    bool IsOn() const override { return true; }
    void SetOn(bool) override {}
    void SetLength(int) override {}
    int GetLength() const override { return 0; }

    ColorRef GetColor() const override { return color; }
    void SetColor(ColorRef c) override { color = c; }
    ColorRef GetFillColor() const override { return fillColor; }
    void SetFillColor(ColorRef c) override { fillColor = c; }
    void SetBrushColor(ColorRef c) override { brushColor = c; }
    int GetPenWidth() const override { return penWidth == 0 ? 1 : penWidth; }
    void SetPenWidth(int width) override { penWidth = width == 1 ? 0 : width; }
    void SetLabelColor(int index, ColorRef c) override { labelColors[index] = c; }
    void SetLabelFont(int index, const LogFont& font) override { labelFonts[index] = font; }
    void CopyAttributesTo(IElement*) override {}
    bool EditFillAndFont() override { return false; }
    bool IsHighlighted() const override { return true; }
    void SetHighlighted(bool) override {}

    bool OpenProperties() override { return false; }
    bool ShowProperties() override { return false; }

    std::unique_ptr<IElement> Duplicate(bool) override { return nullptr; }
    std::unique_ptr<IElement> CreateNew(PowerSystem*, int, Point, int) override { return nullptr; }
    void RemapConnections(const IElement&, const std::map<int, int>&) override {}
    void CreateLabels(Point) override {}

    const std::string* GetEndName(int end) const override {
        const std::optional<std::string>& name = endNames.at(static_cast<std::size_t>(end));
        return name ? &*name : nullptr;
    }
    void GetConnectedElements(std::vector<IElement*>&) override {}
    const std::array<int, 2>& GetEndKeys() const override { return endKeys_; }
    bool HasFreeEnd() const override { return freeEnd; }
    bool IsEndFree(int) const override { return freeEnd; }
    bool AutoConnect() override {
        ++autoConnectCalls;
        return autoConnectAnswer;
    }
    bool HitTestEnd(const Rect&, int&) override { return false; }
    void MoveEndAttachedTo(int, Point) override {}
    bool ConnectAtPoint(int, const Point*) override { return false; }
    void RemoveConnection(int) override {}
    void DisconnectAll() override {}
    void DetachFromNeighbours() override {}
    Point GetConnectionPoint(int) override { return {}; }
    void SetConnectionPoint(Point, bool) override {}
    void SyncEndsFromPath() override {}
    int SnapToEnd(Point, Point&) override { return -1; }
    int GetNodeCount() const override { return nodeCount; }

    const Rect& GetBoundingRect() const override { return rect; }
    Rect CalcBoundingRect() override {
        Rect r = rect;
        r.Normalize();
        return r;
    }
    void RecalcGeometry() override {}
    Point GetCenter() const override { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }
    bool IntersectsRect(Rect& out, const Rect& area, bool) override {
        areasAsked.push_back(area);
        return IntersectRect(CalcBoundingRect(), area, out);
    }
    bool HitTest(Point) override { return false; }
    int HitTestBody(Point, Point& nearest) override {
        nearest = {};
        return 0;
    }
    void Move(int, int, bool) override {}
    void MoveConnectedElements(int, int) override {}
    bool DragHandle(int, int, Point) override { return false; }

    bool SetSelected(bool flag) override {
        bool old = selected;
        selected = flag;
        return old;
    }
    bool SelectInRect(const Rect&) override { return false; }
    bool ClearLabelSelection() override { return !labelSelected; }
    bool IsAnySelected() const override { return selected || labelSelected; }

    void Draw(DrawingContext& dc) override { dc.TextOut({rect.left, rect.top}, name); }
    void DrawSymbol(DrawingContext&) override {}
    void DrawSelectionHandles(DrawingContext&) override {}
    void Serialize(Archive&) override {}

private:
    std::array<int, 2> endKeys_{};
};
