#include "diagram_archive.h"

#include <algorithm>

namespace {

int ReadCoordinate(Archive& archive) {
    int value = archive.ReadInt32();
    if (value < -kMaxDiagramCoordinate || value > kMaxDiagramCoordinate) {
        throw ArchiveError(ArchiveError::Kind::OutOfRange, "coordinate far off the diagram");
    }
    return value;
}

// Measured text and inflated outlines may reach past the range that is
// read back; they are written at its end, so a saved document always reads.
void WriteCoordinate(Archive& archive, int value) {
    archive.WriteInt32(std::clamp(value, -kMaxDiagramCoordinate, kMaxDiagramCoordinate));
}

}  // namespace

void WritePoint(Archive& archive, Point p) {
    WriteCoordinate(archive, p.x);
    WriteCoordinate(archive, p.y);
}

Point ReadPoint(Archive& archive) {
    Point p;
    p.x = ReadCoordinate(archive);
    p.y = ReadCoordinate(archive);
    return p;
}

void WriteRect(Archive& archive, const Rect& r) {
    for (int edge : {r.left, r.top, r.right, r.bottom}) WriteCoordinate(archive, edge);
}

Rect ReadRect(Archive& archive) {
    Rect r;
    for (int* edge : {&r.left, &r.top, &r.right, &r.bottom}) *edge = ReadCoordinate(archive);
    return r;
}
