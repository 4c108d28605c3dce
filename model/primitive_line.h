#pragma once

#include <vector>

#include "archive.h"
#include "color.h"
#include "drawing_context.h"
#include "drawing_records.h"
#include "geometry.h"

// An open polyline with its own pen: the path of every line, transformer,
// switch, free line and polygon. While the user draws it node by node it is
// unfinished, and a floating point (the rubber band's end) follows the mouse
// and is drawn as its last point. Logical diagram units.
//
// Operations that read a node need at least one; an index outside the nodes
// is a programming error and throws std::out_of_range.
class PrimitiveLine {
public:
    // Squared distance that DistanceToPath answers for a line of fewer than
    // two nodes: farther than anything on the diagram.
    static constexpr int kNoPath = 9999999;

    PrimitiveLine() = default;

    bool IsFinished() const { return finished_; }
    // The nodes, and the floating point while unfinished.
    int GetPointCount() const;
    int GetNodeCount() const { return static_cast<int>(nodes_.size()); }
    // -1 the last node; the node count while unfinished the floating point.
    Point GetNode(int index) const;
    // -1 the last node. On an empty line the one node it makes holds p.
    void SetNode(Point p, int index);
    // Appends p, which also becomes the floating point.
    void AddNode(Point p);
    void MoveNode(int index, Point delta);
    // Appends p, or without one the floating point, as the last node.
    // The line is finished afterwards.
    void FinishAt(const Point* p);
    // With appendFloating the floating point becomes a node first.
    void Finish(bool appendFloating);
    // A finished line takes more nodes again, the floating point starting
    // at its last node.
    void Reopen();
    // Moves the rubber band's end to p; `invalid` gets the area to repaint.
    bool MoveFloatingPoint(Point p, Rect& invalid);
    Point GetFloatingPoint() const { return floating_; }

    // The nodes' extent inflated by half the pen width (rounded up); answers
    // that inflation. An empty line keeps its rectangle.
    int CalcBoundingRect();
    const Rect& GetBoundingRect();

    // Squared distance from p to the nearest segment between nodes (the
    // earlier of equally near ones), its nearest point in `nearest`.
    int DistanceToPath(Point p, Point& nearest) const;
    // The node within snapping distance of p (squared distance 60 or less),
    // the nearest one winning; -1 when none. Node 0 and the last node are
    // tried only when asked for.
    int FindNode(Point p, Point& found, bool includeFirst, bool includeLast) const;
    // The ends of the longest segment (the first of equal ones); false when
    // there is none of squared length 226 or more, room for a symbol.
    bool GetLongestSegment(Point& from, Point& to) const;
    // Squared length of segment index -> index + 1; -1 the closing segment
    // from the last node back to node 0; while unfinished the last node's
    // segment ends at the floating point; 0 for an index past the nodes.
    int GetSegmentLengthSquared(int index) const;

    // The whole-extent flag makes the rubber band repaint the whole line.
    void SetExtentOptions(bool wholeExtent, int size);
    bool GetWholeExtent() const { return wholeExtent_; }
    int GetExtentSize() const { return extentSize_; }

    void SetColor(ColorRef color) { color_ = color; }
    ColorRef GetColor() const { return color_; }
    // Width in logical units, 0-255.
    void SetPenWidth(int width);
    int GetPenWidth() const { return penWidth_; }
    // A solid pen of the line's width and colour.
    const LogPen& RecreatePen();
    const LogPen& GetPen() const { return pen_; }

    // Through every node (and the floating point while unfinished) with the
    // context's pen, which the caller selects; with marks the nodes' marks.
    void Draw(DrawingContext& dc, bool marks) const;
    // A 4 x 4 square at every node with the context's pen and brush.
    void DrawNodeMarks(DrawingContext& dc) const;

    // Node 0 overwrites the target's node 0, the others are appended; the
    // target ends finished.
    void CopyNodesTo(PrimitiveLine& target) const;

    // The finished flag and the extent options are not stored.
    void Serialize(Archive& archive);

private:
    std::vector<Point> nodes_;
    Point floating_;
    bool finished_ = true;
    LogPen pen_;
    ColorRef color_ = kBlack;
    int penWidth_ = 0;
    Rect rect_;
    bool wholeExtent_ = false;
    int extentSize_ = 20;
};
