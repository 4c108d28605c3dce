// Feeds arbitrary bytes to the readers of an element's stored form, as the
// document reader calls them for each element. The first byte picks what is
// read: 0-3 the element base keeping that many labels, followed by its
// labels and a line path; 4-7 a bus, horizontal bus, connection node or
// network equivalent; 8-14 a line, fixed or regulating transformer,
// connector, disconnector, circuit breaker or fuse; each kind its whole
// block. Every read either succeeds or throws ArchiveError. What
// was read must store and read back to the same bytes, and must then answer
// the hit tests, bounds and drawing of the diagram without overflow. Any
// other exception, a crash, a leak or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "drawing_context.h"
#include "ee_element.h"
#include "element_factory.h"
#include "element_type.h"
#include "null_drawing_context.h"
#include "primitive_line.h"

namespace {

class FuzzElement final : public EEElement {
public:
    explicit FuzzElement(int labels) { archivedLabelCount_ = labels; }
    using EEElement::SerializeLabels;
};

struct Stored {
    explicit Stored(int labels) : element(labels) {}
    FuzzElement element;
    PrimitiveLine path;

    void Serialize(Archive& archive) {
        element.Serialize(archive);
        element.SerializeLabels(archive);
        path.Serialize(archive);
    }
    std::vector<std::uint8_t> Bytes() {
        Archive out = Archive::ForStoring();
        Serialize(out);
        return out.Bytes();
    }
};

void UseGeometry(Stored& stored) {
    FuzzElement& element = stored.element;
    PrimitiveLine& path = stored.path;
    Point probe = element.GetConnectionPoint(0);
    Point nearest;
    Rect common;
    element.CalcBoundingRect();
    element.IntersectsRect(common, path.GetBoundingRect(), true);
    element.HitTestBody(probe, nearest);
    element.SnapToEnd(probe, nearest);
    int end = 0;
    element.HitTestEnd(path.GetBoundingRect(), end);
    element.HitTest(probe);
    element.ClearLabelSelection();
    element.SelectInRect(path.GetBoundingRect());
    path.DistanceToPath(probe, nearest);
    path.FindNode(probe, nearest, true, true);
    path.GetLongestSegment(probe, nearest);
    path.GetSegmentLengthSquared(-1);
    NullDrawingContext dc;
    element.Draw(dc);
    element.DrawSelectionHandles(dc);
    path.Draw(dc, true);
    element.Move(3, -3, false);
}

std::vector<std::uint8_t> BytesOf(IElement& element) {
    Archive out = Archive::ForStoring();
    element.Serialize(out);
    return out.Bytes();
}

// An element kind without a model, as the clipboard holds one.
int ReadElement(int classType, std::span<const std::uint8_t> bytes) {
    std::unique_ptr<IElement> read = StandardElementFactory().Make(classType);
    try {
        Archive in = Archive::ForLoading(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
        read->Serialize(in);
    } catch (const ArchiveError&) {
        return 0;
    }
    std::vector<std::uint8_t> first = BytesOf(*read);
    std::unique_ptr<IElement> again = StandardElementFactory().Make(classType);
    Archive in = Archive::ForLoading(first);
    again->Serialize(in);
    if (in.Remaining() != 0 || BytesOf(*again) != first) std::abort();

    Point probe{read->GetBoundingRect().left + 1, read->GetBoundingRect().bottom};
    Point nearest;
    read->CalcBoundingRect();
    read->HitTestBody(probe, nearest);
    read->SnapToEnd(probe, nearest);
    read->HitTest(probe);
    read->DragHandle(4, static_cast<int>(0xFFFF0001u), {0, -5});
    read->UpdateResultLabel(nullptr);
    std::string text;
    read->CheckLimits(text);
    read->GetVoltageIndex();
    read->GetLoadingIndex();
    read->WriteCDFCard(text, nullptr);
    read->DragHandle(0, 0, probe);
    read->DragHandle(4, static_cast<int>(0xFFFF0000u), {2, 2});
    NullDrawingContext dc;
    read->SetSelected(true);
    read->Draw(dc);
    read->Move(3, -3, true);
    read->RecalcGeometry();
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr int kKinds[] = {ElementType::Bus,         ElementType::HorizontalBus,  ElementType::ConnectionNode,
                              ElementType::NetworkEquivalent, ElementType::PowerLine, ElementType::Transformer,
                              ElementType::RegulatedTransformer, ElementType::Connector, ElementType::Disconnector,
                              ElementType::CircuitBreaker, ElementType::Fuse};
    const int pick = data[0] % 16;
    if (pick >= 4 && pick < 15) return ReadElement(kKinds[pick - 4], {data + 1, size - 1});
    int labels = pick % 4;
    Stored read(labels);
    try {
        Archive in = Archive::ForLoading(std::vector<std::uint8_t>(data + 1, data + size));
        read.Serialize(in);
    } catch (const ArchiveError&) {
        return 0;
    }
    std::vector<std::uint8_t> first = read.Bytes();
    Stored again(labels);
    Archive in = Archive::ForLoading(first);
    again.Serialize(in);
    if (in.Remaining() != 0 || again.Bytes() != first) std::abort();
    UseGeometry(read);
    return 0;
}
