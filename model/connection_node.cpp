#include "connection_node.h"

#include "segment_distance.h"

ConnectionNode::ConnectionNode(PowerSystem* owner, int key, Point centre) : Bus(owner, key, centre, false) {
    rect_ = {centre.x - kNodeSize / 2, centre.y - kNodeSize / 2, centre.x + kNodeSize / 2, centre.y + kNodeSize / 2};
    length_ = kNodeSize;
    std::fill(labelFlags_.begin(), labelFlags_.end(), 0);
}

std::unique_ptr<IElement> ConnectionNode::Duplicate(bool forClipboard) {
    return DuplicateAt(forClipboard, {rect_.left + kNodeSize / 2, rect_.top + kNodeSize / 2});
}

std::unique_ptr<IElement> ConnectionNode::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<ConnectionNode>(owner, key, point);
}

bool ConnectionNode::AutoConnect() {
    return ConnectFreeEnds(rect_, [this](Point) { return Centre(); });
}

int ConnectionNode::HitTestBody(Point point, Point& nearest) {
    nearest = Centre();
    return SquaredDistance(point, nearest);
}

void ConnectionNode::RecalcGeometry() {
    rect_.right = rect_.left + length_;
    rect_.bottom = rect_.top + length_;
}
