#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive.h"
#include "color.h"
#include "drawing_context.h"
#include "drawing_records.h"
#include "element_records.h"
#include "geometry.h"

class PowerSystem;

// Everything drawn on the one-line diagram is an element, reached through
// this interface by the model, its lists, the document reader and writer,
// the solver binding, the view and the dialogs; none of them looks at an
// element's fields. Elements refer to each other only by key, resolved
// through their owner at each use. Coordinates are logical diagram units.
//
// Elements are told apart by their category (`GetType(false)`, the list
// that files them) and their class type (`GetElementType`). An element is
// destroyed by deleting it; its destructor tells the elements attached at
// its ends to drop its key.
class IElement {
public:
    virtual ~IElement() = default;

    // --- Identity and owner ---
    virtual int GetKey() const = 0;
    // Stores the key and tells the element at end 0 to take the new key.
    virtual void SetKey(int key) = 0;
    // actual: the class type; else the category.
    virtual int GetType(bool actual) const = 0;
    virtual int GetElementType() const = 0;
    // The model the element belongs to; null for an element on the
    // application's clipboard. Not owned.
    virtual void SetOwner(PowerSystem* owner) = 0;
    virtual const std::string& GetName() const = 0;
    virtual void SetName(std::string_view name) = 0;
    // False for free lines, texts, polygons and system-information boxes,
    // which no colour map colours.
    virtual bool IsNetworkElement() const = 0;
    // The owner's MVA base.
    virtual double GetMvaBase() const = 0;
    // The owner's remote-copy flag: result labels take their short formats.
    virtual bool GetOwnerLabelMode() const = 0;
    // The owner's element with that key, in any list.
    virtual IElement* FindElement(int key) = 0;

    // --- Values, results and the solver ---
    // With values: copies them in first. Then rebuilds the result labels.
    virtual void UpdateResultLabel(const double* values) = 0;
    // The value array that the dialogs edit in place, with its length, and
    // the label-shown flags (1 shown, 0 hidden), one per label. Empty values
    // for kinds without any.
    virtual void GetValuesAndFlags(std::span<double>& values, std::vector<std::uint8_t>*& flags) = 0;
    // The value array; null for kinds without values.
    virtual double* GetValues() = 0;
    // Forms the element's change command for the remote solver.
    virtual void SendChangeCommand() = 0;
    // False when the element gives the solver nothing (it is skipped).
    virtual bool FillSolverRecord(SolverRecord record, char mode) = 0;
    // The element's card of the IEEE common data format; false for none.
    virtual bool WriteCDFCard(std::string& card, int* flags) = 0;
    // MW and Mvar flowing out of the element at the end attached to key.
    virtual bool GetFlowAtEnd(int key, double& p, double& q, bool& pending) = 0;
    // True, with the warning in `text`, when a result is over a limit.
    virtual bool CheckLimits(std::string& text) = 0;
    virtual bool IsOverLimit() const = 0;
    // The values that the colour maps colour by: nominal voltage (kV),
    // loading (fraction) and voltage level (p.u.).
    virtual double GetBaseVoltage() const = 0;
    virtual double GetLoadingIndex() const = 0;
    virtual double GetVoltageIndex() const = 0;
    virtual bool IsOn() const = 0;
    // Stores the flag, then rebuilds the labels.
    virtual void SetOn(bool on) = 0;
    // A bus's bar length; 0 for other kinds.
    virtual void SetLength(int length) = 0;
    virtual int GetLength() const = 0;

    // --- Pen, brush, colours and labels ---
    virtual ColorRef GetColor() const = 0;
    // The line colour; buses take it for their fill as well.
    virtual void SetColor(ColorRef color) = 0;
    virtual ColorRef GetFillColor() const = 0;
    virtual void SetFillColor(ColorRef color) = 0;
    // A new background colour: the fill of every kind but the buses.
    virtual void SetBrushColor(ColorRef color) = 0;
    // 1 stands for the thinnest pen.
    virtual int GetPenWidth() const = 0;
    virtual void SetPenWidth(int width) = 0;
    // An index past the last label is ignored.
    virtual void SetLabelColor(int index, ColorRef color) = 0;
    virtual void SetLabelFont(int index, const LogFont& font) = 0;
    // Colour, fill, pen width, label fonts, colours, places and flags.
    virtual void CopyAttributesTo(IElement* target) = 0;
    // The view's fill-and-font dialog for this element; false when
    // cancelled.
    virtual bool EditFillAndFont() = 0;
    virtual bool IsHighlighted() const = 0;
    virtual void SetHighlighted(bool highlighted) = 0;

    // --- Dialogs ---
    // Both ask the view for the element's properties dialog and answer true
    // when it closed with OK.
    virtual bool OpenProperties() = 0;
    virtual bool ShowProperties() = 0;

    // --- Copies ---
    // A copy under a new key (from the clipboard's keys when forClipboard),
    // moved by the owner's duplication step.
    virtual std::unique_ptr<IElement> Duplicate(bool forClipboard) = 0;
    // A new element of the same class placed by a tool at `point`.
    virtual std::unique_ptr<IElement> CreateNew(PowerSystem* owner, int key, Point point, int flag) = 0;
    // Pasted copies connect to copies: each end of this element takes the
    // new key of what was attached at that end of `source`.
    virtual void RemapConnections(const IElement& source, const std::map<int, int>& newKeys) = 0;
    // Two-ports and switches make their labels and data here.
    virtual void CreateLabels(Point anchor) = 0;

    // --- Ends and connections ---
    // The name of the element attached at end 0 or 1; null when none.
    virtual const std::string* GetEndName(int end) const = 0;
    // The elements attached at the ends; for a bus, the buses at the far
    // ends of its lines and transformers.
    virtual void GetConnectedElements(std::vector<IElement*>& out) = 0;
    // The keys attached at end 0 and end 1; 0 (or -1) when free.
    virtual const std::array<int, 2>& GetEndKeys() const = 0;
    virtual bool HasFreeEnd() const = 0;
    // end -1 stands for end 1.
    virtual bool IsEndFree(int end) const = 0;
    // Connects free ends lying on the element; true when any was.
    virtual bool AutoConnect() = 0;
    // A free end near a side of the box, in `end` (0, or -1 for end 1).
    virtual bool HitTestEnd(const Rect& box, int& end) = 0;
    virtual void MoveEndAttachedTo(int key, Point delta) = 0;
    // Attaches key at the end lying on the point; false when none does.
    virtual bool ConnectAtPoint(int key, const Point* point) = 0;
    virtual void RemoveConnection(int key) = 0;
    virtual void DisconnectAll() = 0;
    virtual void DetachFromNeighbours() = 0;
    // 0 or 1 (or -1) names an end; any other value the key attached there.
    virtual Point GetConnectionPoint(int endOrKey) = 0;
    virtual void SetConnectionPoint(Point point, bool end1) = 0;
    // Two-ports copy their path's first and last nodes into their ends.
    virtual void SyncEndsFromPath() = 0;
    // The free end near the point, snapped there: 0, 1, or -1 for none.
    virtual int SnapToEnd(Point point, Point& snapped) = 0;
    // Nodes of the element's drawn path (lines, transformers, free lines,
    // polygons); 0 for kinds without one. A line still being drawn with one
    // node or none is dropped when the selection is cleared.
    virtual int GetNodeCount() const = 0;

    // --- Geometry, hit testing and moving ---
    // The body's stored rectangle, not normalised.
    virtual const Rect& GetBoundingRect() const = 0;
    // The normalised body united with every shown label.
    virtual Rect CalcBoundingRect() = 0;
    virtual void RecalcGeometry() = 0;
    virtual Point GetCenter() const = 0;
    // True when the element (with labels: or a shown label) meets the area;
    // the common part goes to `out`.
    virtual bool IntersectsRect(Rect& out, const Rect& area, bool labels) = 0;
    // Selects the body or a label under the point.
    virtual bool HitTest(Point point) = 0;
    // Squared distance from the point to the body, nearest point in
    // `nearest`.
    virtual int HitTestBody(Point point, Point& nearest) = 0;
    virtual void Move(int dx, int dy, bool withConnected) = 0;
    virtual void MoveConnectedElements(int dx, int dy) = 0;
    virtual bool DragHandle(int kind, int handle, Point delta) = 0;

    // --- Selection ---
    // Answers the previous flag.
    virtual bool SetSelected(bool selected) = 0;
    virtual bool SelectInRect(const Rect& area) = 0;
    // True when no label is selected; else hides the selected label.
    virtual bool ClearLabelSelection() = 0;
    // The body or one of its labels is selected.
    virtual bool IsAnySelected() const = 0;

    // --- Drawing and the document ---
    virtual void Draw(DrawingContext& dc) = 0;
    virtual void DrawSymbol(DrawingContext& dc) = 0;
    virtual void DrawSelectionHandles(DrawingContext& dc) = 0;
    // Writes or reads the element's own data after its type byte.
    virtual void Serialize(Archive& archive) = 0;

protected:
    IElement() = default;
    IElement(const IElement&) = default;
    IElement& operator=(const IElement&) = default;
};
