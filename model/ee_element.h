#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "element_interface.h"
#include "primitive_text.h"

// The base of every element kind: the owner link, key, name and category;
// two end points with the keys of the elements attached there; the body's
// rectangle; pen, brush and line colour; the in-service flag; the text
// labels with their shown flags; and selection. It implements the whole
// element interface with the behaviour the kinds share; a kind overrides
// what differs. The base itself is a straight segment between its ends.
//
// Ends hold keys, never pointers: a neighbour is found through the owner at
// each use. An element on the application's clipboard has no owner; every
// call that needs the model then does nothing or answers the plain value.
class EEElement : public IElement {
public:
    // Class type of the base (and of the one-port base).
    static constexpr int kBaseType = 30;

    // A new element between two points, filed under `category`, taking the
    // owner's line colour and width; buses are filled with the line colour,
    // every other kind with the diagram's background.
    EEElement(PowerSystem* owner, int key, Point p0, Point p1, int category);
    // An empty element that an archive fills.
    EEElement();
    // Tells the elements attached at its ends to let go of its key.
    ~EEElement() override;

    // Squared distance from p to the segment a-b, with the segment's nearest
    // point in `nearest` (each coordinate of the offset rounded to nearest,
    // an exact half down).
    static int DistanceToSegment(Point a, Point b, Point p, Point& nearest);

    // Every label takes the owner's default label font and font colour.
    void ApplyDefaultLabelFont();

    // --- Identity and owner ---
    int GetKey() const override { return key_; }
    void SetKey(int key) override;
    int GetType(bool actual) const override { return actual ? GetElementType() : category_; }
    int GetElementType() const override { return kBaseType; }
    void SetOwner(PowerSystem* owner) override;
    const std::string& GetName() const override { return name_; }
    void SetName(std::string_view name) override { name_ = name; }
    bool IsNetworkElement() const override { return true; }
    double GetMvaBase() const override;
    bool GetOwnerLabelMode() const override;
    IElement* FindElement(int key) override;

    // --- Values, results and the solver: the base has none ---
    void UpdateResultLabel(const double*) override {}
    void GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) override;
    double* GetValues() override { return nullptr; }
    void SendChangeCommand() override {}
    bool FillSolverRecord(SolverRecord, char) override { return false; }
    bool WriteCDFCard(std::string&, int*) override { return false; }
    bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) override;
    bool CheckLimits(std::string&) override { return false; }
    bool IsOverLimit() const override { return false; }
    double GetBaseVoltage() const override { return 0.0; }
    double GetLoadingIndex() const override { return 0.0; }
    double GetVoltageIndex() const override { return 0.0; }
    bool IsOn() const override { return on_; }
    void SetOn(bool on) override;
    void SetLength(int) override {}
    int GetLength() const override { return 0; }

    // --- Pen, brush, colours and labels ---
    ColorRef GetColor() const override { return lineColor_; }
    void SetColor(ColorRef color) override;
    ColorRef GetFillColor() const override { return brush_.color; }
    void SetFillColor(ColorRef color) override { brush_ = LogBrush{BrushStyle::Solid, color, 0}; }
    void SetBrushColor(ColorRef color) override;
    int GetPenWidth() const override;
    void SetPenWidth(int width) override;
    void SetLabelColor(int index, ColorRef color) override;
    void SetLabelFont(int index, const LogFont& font) override;
    // Only the labels that both elements have take this one's font, colour
    // and place.
    void CopyAttributesTo(IElement* target) override;
    bool EditFillAndFont() override;
    bool IsHighlighted() const override { return highlighted_; }
    void SetHighlighted(bool highlighted) override { highlighted_ = highlighted; }

    // --- Dialogs ---
    bool OpenProperties() override { return ShowProperties(); }
    bool ShowProperties() override;

    // --- Copies: the kinds make them ---
    std::unique_ptr<IElement> Duplicate(bool) override { return nullptr; }
    std::unique_ptr<IElement> CreateNew(PowerSystem*, int, Point, int) override { return nullptr; }
    void RemapConnections(const IElement& source, const std::map<int, int>& newKeys) override;
    void CreateLabels(Point) override {}

    // --- Ends and connections ---
    const std::string* GetEndName(int end) const override;
    void GetConnectedElements(std::vector<IElement*>& out) override;
    const std::array<int, 2>& GetEndKeys() const override { return endKeys_; }
    bool HasFreeEnd() const override;
    bool IsEndFree(int end) const override;
    bool AutoConnect() override { return false; }
    bool HitTestEnd(const Rect& box, int& end) override;
    void MoveEndAttachedTo(int key, Point delta) override;
    bool ConnectAtPoint(int key, const Point* point) override;
    void RemoveConnection(int key) override;
    void DisconnectAll() override;
    void DetachFromNeighbours() override;
    Point GetConnectionPoint(int endOrKey) override;
    void SetConnectionPoint(Point point, bool end1) override;
    void SyncEndsFromPath() override {}
    int SnapToEnd(Point point, Point& snapped) override;
    int GetNodeCount() const override { return 0; }

    // --- Geometry, hit testing and moving ---
    const Rect& GetBoundingRect() const override { return rect_; }
    Rect CalcBoundingRect() override;
    void RecalcGeometry() override {}
    Point GetCenter() const override { return center_; }
    bool IntersectsRect(Rect& out, const Rect& area, bool labels) override;
    bool HitTest(Point point) override;
    int HitTestBody(Point point, Point& nearest) override;
    void Move(int dx, int dy, bool withConnected) override;
    void MoveConnectedElements(int dx, int dy) override;
    bool DragHandle(int kind, int handle, Point delta) override;

    // --- Selection ---
    bool SetSelected(bool selected) override;
    bool SelectInRect(const Rect& area) override;
    bool ClearLabelSelection() override;
    bool IsAnySelected() const override { return selected_ || HasSelectedLabel(); }

    // --- Drawing and the document ---
    void Draw(DrawingContext& dc) override;
    void DrawSymbol(DrawingContext& dc) override;
    void DrawSelectionHandles(DrawingContext& dc) override;
    // The base block; each kind writes its own data after it and then its
    // labels (SerializeLabels).
    void Serialize(Archive& archive) override;

    // --- What the kinds and the tests read ---
    int GetLabelCount() const { return static_cast<int>(labels_.size()); }
    // Null for an index outside the labels.
    PrimitiveText* GetLabel(int index);
    // The label shows a result of the last solve, not a name or entered data.
    bool ShowsResults(int label) const;
    bool IsLabelShown(int index) const;
    int GetSelectedLabel() const { return selectedLabel_; }
    bool IsSelected() const { return selected_; }
    bool IsDrawnByColorMap() const { return drawnByColorMap_; }
    const LogPen& GetPen() const { return pen_; }
    const LogBrush& GetBrush() const { return brush_; }
    PowerSystem* GetOwner() const { return owner_; }

protected:
    // A new label at `at`, measured with the owner's text measurer.
    PrimitiveText& AddLabel(Point at, bool shown);
    // Writes the first archived-label-count labels, or reads them, making
    // the ones that do not exist yet.
    void SerializeLabels(Archive& archive);
    // The element attached under the key, for drawing: a key that names no
    // element is reported once per drawing of the diagram and skipped.
    IElement* FindNeighbourForDrawing(int key);
    // A filled arrow head or triangle: the outline in the pen in force, the
    // inside in a solid brush of the same colour (the element's own brush
    // holds the background and would hide it).
    static void FillInPenColor(DrawingContext& dc, std::span<const Point> corners);
    // Moves a copy of this element by the owner's duplication step: the grid
    // step times the horizontal and the vertical steps, without what is
    // attached to the copy.
    void MoveByDuplicationStep(IElement& copy) const;
    // A message box through the owner's prompts.
    void ShowMessage(std::string_view text) const;
    // Adds the rectangle, grown by `margin` in x and y, to the owner's
    // pending redraw area.
    void InvalidateGrown(const Rect& rect, int margin);
    bool HasSelectedLabel() const;
    // A key that names an attached element: neither 0 nor -1.
    static bool IsAttachedKey(int key) { return key != 0 && key != -1; }

    LogPen pen_;
    LogBrush brush_;
    ColorRef lineColor_ = kBlack;
    Point center_;
    std::string name_;
    int category_ = 0;
    PowerSystem* owner_ = nullptr;
    std::array<Point, 2> ends_{};
    std::array<int, 2> endKeys_{};
    Rect rect_;  // the body, not normalised
    bool drawnByColorMap_ = false;
    bool on_ = true;
    int key_ = 0;
    std::vector<std::unique_ptr<PrimitiveText>> labels_;
    std::vector<std::uint8_t> labelFlags_;  // 1 shown, 0 hidden; one per label
    int selectedLabel_ = -1;
    bool orientation_ = false;  // the one-port kinds' facing
    bool selected_ = false;
    bool highlighted_ = true;
    int archivedLabelCount_ = 0;
};
