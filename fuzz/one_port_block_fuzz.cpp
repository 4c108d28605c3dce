// Feeds arbitrary bytes to the readers of the one-port kinds' stored blocks
// (generators, compensators, loads, shunts, capacitors, reactors and the
// switched banks), as the document reader calls them for each element of a
// model. The first byte picks the kind and whether the document is of
// version 15 (loads without their characteristic) or of the current one.
// Every read either succeeds or throws ArchiveError. What was read must
// store and read back to the same bytes, and must then answer its labels,
// records, limits, hit tests, bounds, drawing and copying without overflow.
// Any other exception, a crash, a leak or a large allocation is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "element_factory.h"
#include "element_records.h"
#include "element_type.h"
#include "null_drawing_context.h"
#include "power_system.h"
#include "variable_bank.h"

namespace {

constexpr int kKinds[] = {ElementType::Generator, ElementType::SyncCompensator, ElementType::VarCompensator,
                          ElementType::Load,      ElementType::Shunt,           ElementType::Capacitor,
                          ElementType::Reactor,   ElementType::VariableBank,    ElementType::VariableReactorBank};
constexpr int kKindCount = sizeof kKinds / sizeof kKinds[0];

// One model for the whole run: the elements read consult its document
// version and ask it for keys when they are copied.
PowerSystem& Model() {
    static PowerSystem* model = [] {
        PowerSystem* made = PowerSystem::Create();
        made->AddRef();
        return made;
    }();
    return *model;
}

std::vector<std::uint8_t> BytesOf(IElement& element) {
    Archive out = Archive::ForStoring();
    element.Serialize(out);
    return out.Bytes();
}

std::unique_ptr<IElement> Read(int classType, std::vector<std::uint8_t> bytes, std::size_t& remaining) {
    std::unique_ptr<IElement> element = StandardElementFactory().Make(classType);
    element->SetOwner(&Model());
    Archive in = Archive::ForLoading(std::move(bytes));
    element->Serialize(in);
    remaining = in.Remaining();
    return element;
}

void Use(IElement& element) {
    element.UpdateResultLabel(nullptr);
    std::string text;
    element.CheckLimits(text);
    double p = 0, q = 0;
    bool pending = false;
    element.GetFlowAtEnd(element.GetEndKeys()[0], p, q, pending);
    element.GetLoadingIndex();
    element.GetVoltageIndex();
    element.GetBaseVoltage();
    ShuntRecord shunt;
    element.FillSolverRecord(&shunt, 1);
    BankRecord bank;
    element.FillSolverRecord(&bank, 1);
    if (auto* steps = dynamic_cast<VariableBank*>(&element)) {
        for (int position : {-1, 0, 1, 1 << 30}) steps->GetTotalAtPosition(position);
    }
    element.RecalcGeometry();
    Point probe{element.GetBoundingRect().left + 1, element.GetBoundingRect().bottom};
    Point nearest;
    element.CalcBoundingRect();
    element.HitTestBody(probe, nearest);
    element.HitTest(probe);
    element.SnapToEnd(probe, nearest);
    NullDrawingContext dc;
    element.Draw(dc);
    element.SetSelected(true);
    element.Draw(dc);
    element.Move(3, -3, true);
    element.MoveEndAttachedTo(element.GetEndKeys()[0], {-3, 3});
    std::unique_ptr<IElement> copy = element.Duplicate(false);
    if (copy) copy->Draw(dc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int classType = kKinds[data[0] % kKindCount];
    const bool version15 = (data[0] / kKindCount) % 2 == 1;
    Model().SetFileVersion(version15 ? 15 : 0);
    std::size_t remaining = 0;
    std::unique_ptr<IElement> read;
    try {
        read = Read(classType, std::vector<std::uint8_t>(data + 1, data + size), remaining);
    } catch (const ArchiveError&) {
        return 0;
    }
    // The program writes the current form, whatever it read.
    Model().SetFileVersion(0);
    std::vector<std::uint8_t> first = BytesOf(*read);
    std::unique_ptr<IElement> again = Read(classType, first, remaining);
    if (remaining != 0 || BytesOf(*again) != first) std::abort();
    Use(*read);
    return 0;
}
