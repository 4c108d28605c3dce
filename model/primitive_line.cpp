#include "primitive_line.h"

#include <algorithm>
#include <stdexcept>

#include "archive_records.h"
#include "diagram_archive.h"
#include "segment_distance.h"

namespace {

// Within this squared distance (60 or less) a point lies on a node.
constexpr int kNodeSnapDistance = 61;
// A segment needs this squared length (about 15 units) to carry a symbol.
constexpr int kSymbolSegmentLength = 226;

void Include(Rect& r, Point p) {
    r.left = std::min(r.left, p.x);
    r.top = std::min(r.top, p.y);
    r.right = std::max(r.right, p.x);
    r.bottom = std::max(r.bottom, p.y);
}

}  // namespace

int PrimitiveLine::GetPointCount() const { return GetNodeCount() + (finished_ ? 0 : 1); }

Point PrimitiveLine::GetNode(int index) const {
    if (!finished_ && index == GetNodeCount()) return floating_;
    if (index == -1) index = GetNodeCount() - 1;
    if (index < 0 || index >= GetNodeCount()) throw std::out_of_range("PrimitiveLine: no such node");
    return nodes_[static_cast<std::size_t>(index)];
}

void PrimitiveLine::SetNode(Point p, int index) {
    if (nodes_.empty()) {
        nodes_.push_back(p);
        return;
    }
    if (index == -1) index = GetNodeCount() - 1;
    if (index < 0 || index >= GetNodeCount()) throw std::out_of_range("PrimitiveLine: no such node");
    nodes_[static_cast<std::size_t>(index)] = p;
    CalcBoundingRect();
}

void PrimitiveLine::AddNode(Point p) {
    nodes_.push_back(p);
    CalcBoundingRect();
    floating_ = p;
}

void PrimitiveLine::MoveNode(int index, Point delta) {
    if (index < 0 || index >= GetNodeCount()) throw std::out_of_range("PrimitiveLine: no such node");
    Point& node = nodes_[static_cast<std::size_t>(index)];
    node.x += delta.x;
    node.y += delta.y;
    CalcBoundingRect();
}

void PrimitiveLine::FinishAt(const Point* p) {
    if (p) {
        AddNode(*p);
    } else {
        nodes_.push_back(floating_);
    }
    finished_ = true;
    CalcBoundingRect();
}

void PrimitiveLine::Finish(bool appendFloating) {
    if (appendFloating) nodes_.push_back(floating_);
    finished_ = true;
    CalcBoundingRect();
}

void PrimitiveLine::Reopen() {
    if (!finished_) return;
    finished_ = false;
    if (!nodes_.empty()) floating_ = nodes_.back();
}

bool PrimitiveLine::MoveFloatingPoint(Point p, Rect& invalid) {
    if (finished_) {
        invalid = GetBoundingRect();
        return true;
    }
    Point last = nodes_.empty() ? floating_ : nodes_.back();
    invalid = {last.x, last.y, p.x, p.y};
    invalid.Normalize();
    if (wholeExtent_ && !nodes_.empty()) {
        const Rect& whole = GetBoundingRect();
        Include(invalid, {whole.left, whole.top});
        Include(invalid, {whole.right, whole.bottom});
    }
    Include(invalid, floating_);
    floating_ = p;
    return true;
}

int PrimitiveLine::CalcBoundingRect() {
    int inflation = (penWidth_ + 1) >> 1;
    if (nodes_.empty()) return inflation;
    Rect r{nodes_[0].x, nodes_[0].y, nodes_[0].x, nodes_[0].y};
    for (Point p : nodes_) Include(r, p);
    r.Inflate(inflation, inflation);
    rect_ = r;
    return inflation;
}

const Rect& PrimitiveLine::GetBoundingRect() {
    CalcBoundingRect();
    return rect_;
}

int PrimitiveLine::DistanceToPath(Point p, Point& nearest) const {
    if (nodes_.size() < 2) return kNoPath;
    int best = kNoPath;
    for (std::size_t i = 0; i + 1 < nodes_.size(); ++i) {
        Point onSegment;
        int distance = SquaredDistanceToSegment(nodes_[i], nodes_[i + 1], p, onSegment, NearestRounding::TowardZero);
        if (i == 0 || distance < best) {
            best = distance;
            nearest = onSegment;
        }
    }
    return best;
}

int PrimitiveLine::FindNode(Point p, Point& found, bool includeFirst, bool includeLast) const {
    int count = GetNodeCount();
    int best = kNodeSnapDistance;
    int answer = -1;
    auto tryNode = [&](int index) {
        int distance = SquaredDistance(p, nodes_[static_cast<std::size_t>(index)]);
        if (distance < best) {
            best = distance;
            answer = index;
        }
    };
    if (count == 0) return -1;
    if (includeFirst) tryNode(0);
    for (int i = 1; i < count - 1; ++i) tryNode(i);
    if (includeLast) tryNode(count - 1);
    if (answer >= 0) found = nodes_[static_cast<std::size_t>(answer)];
    return answer;
}

bool PrimitiveLine::GetLongestSegment(Point& from, Point& to) const {
    if (nodes_.size() < 2) return false;
    int longest = -1;
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < nodes_.size(); ++i) {
        int length = SquaredDistance(nodes_[i], nodes_[i + 1]);
        if (length > longest) {
            longest = length;
            at = i;
        }
    }
    if (longest < kSymbolSegmentLength) return false;
    from = nodes_[at];
    to = nodes_[at + 1];
    return true;
}

int PrimitiveLine::GetSegmentLengthSquared(int index) const {
    int count = GetNodeCount();
    if (count == 0) return 0;
    if (index == -1) return SquaredDistance(nodes_.back(), nodes_.front());
    if (index < 0 || index >= count) return 0;
    if (index == count - 1) return finished_ ? 0 : SquaredDistance(nodes_.back(), floating_);
    return SquaredDistance(nodes_[static_cast<std::size_t>(index)], nodes_[static_cast<std::size_t>(index) + 1]);
}

void PrimitiveLine::SetExtentOptions(bool wholeExtent, int size) {
    wholeExtent_ = wholeExtent;
    extentSize_ = size;
}

void PrimitiveLine::SetPenWidth(int width) { penWidth_ = std::clamp(width, 0, 255); }

const LogPen& PrimitiveLine::RecreatePen() {
    pen_ = LogPen{PenStyle::Solid, {penWidth_, 0}, color_};
    return pen_;
}

void PrimitiveLine::Draw(DrawingContext& dc, bool marks) const {
    if (nodes_.empty()) return;
    dc.MoveTo(nodes_.front());
    for (std::size_t i = 1; i < nodes_.size(); ++i) dc.LineTo(nodes_[i]);
    if (marks) DrawNodeMarks(dc);
    if (!finished_) {
        dc.MoveTo(nodes_.back());
        dc.LineTo(floating_);
    }
}

void PrimitiveLine::DrawNodeMarks(DrawingContext& dc) const {
    for (Point p : nodes_) dc.Rectangle({p.x - 2, p.y - 2, p.x + 2, p.y + 2});
}

void PrimitiveLine::CopyNodesTo(PrimitiveLine& target) const {
    if (!nodes_.empty()) {
        if (target.nodes_.empty()) {
            target.nodes_.push_back(nodes_.front());
        } else {
            target.nodes_.front() = nodes_.front();
        }
        for (std::size_t i = 1; i < nodes_.size(); ++i) target.AddNode(nodes_[i]);
    }
    target.finished_ = true;
    target.CalcBoundingRect();
}

void PrimitiveLine::Serialize(Archive& archive) {
    if (archive.IsStoring()) {
        archive.WriteCount(nodes_.size());
        for (Point p : nodes_) WritePoint(archive, p);
        archive.WriteByte(static_cast<std::uint8_t>(penWidth_));
        WritePoint(archive, floating_);
        WriteRect(archive, rect_);
        archive.WriteUInt32(color_);
        WriteLogPen(archive, pen_);
        return;
    }
    std::size_t count = archive.ReadCount(8);
    std::vector<Point> nodes(count);
    for (Point& p : nodes) p = ReadPoint(archive);
    int penWidth = archive.ReadByte();
    Point floating = ReadPoint(archive);
    Rect rect = ReadRect(archive);
    ColorRef color = archive.ReadUInt32();
    LogPen pen = ReadLogPen(archive);
    nodes_ = std::move(nodes);
    penWidth_ = penWidth;
    floating_ = floating;
    rect_ = rect;
    color_ = color;
    pen_ = pen;
}
