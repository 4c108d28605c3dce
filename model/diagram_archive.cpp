#include "diagram_archive.h"

namespace {

int ReadCoordinate(Archive& archive) {
    int value = archive.ReadInt32();
    if (value < -kMaxDiagramCoordinate || value > kMaxDiagramCoordinate) {
        throw ArchiveError(ArchiveError::Kind::OutOfRange, "coordinate far off the diagram");
    }
    return value;
}

}  // namespace

void WritePoint(Archive& archive, Point p) {
    archive.WriteInt32(p.x);
    archive.WriteInt32(p.y);
}

Point ReadPoint(Archive& archive) {
    Point p;
    p.x = ReadCoordinate(archive);
    p.y = ReadCoordinate(archive);
    return p;
}

void WriteRect(Archive& archive, const Rect& r) {
    for (int edge : {r.left, r.top, r.right, r.bottom}) archive.WriteInt32(edge);
}

Rect ReadRect(Archive& archive) {
    Rect r;
    for (int* edge : {&r.left, &r.top, &r.right, &r.bottom}) *edge = ReadCoordinate(archive);
    return r;
}
