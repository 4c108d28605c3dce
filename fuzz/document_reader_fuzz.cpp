// Feeds arbitrary bytes to a network model as a ".pf" document. The model
// either reads the whole document or refuses it with ArchiveError and stays
// empty. What it read must save, read again into a new model and save to the
// same bytes, and its elements must then be measured, hit and drawn without
// overflow. Any other exception, a crash, a leak or a large allocation is a
// finding. Built as document_measured_fuzz, the text is measured with the
// program's own fonts, as the program reads a document.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "element_factory.h"
#include "element_interface.h"
#include "null_drawing_context.h"
#include "power_system.h"
#include "text_measurer.h"

#ifdef FUZZ_PROGRAM_FONTS
#include <QGuiApplication>

#include "offscreen_application.h"
#include "qt_text_measurer.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    return StartOffscreenApplication<QGuiApplication>(argc, argv);
}
#endif

namespace {

#ifdef FUZZ_PROGRAM_FONTS
using Measurer = QtTextMeasurer;
#else
// Text as wide as it is long.
class Measurer final : public ITextMeasurer {
public:
    Size TextExtent(const LogFont&, std::string_view text) override { return {static_cast<int>(text.size()), 12}; }
};
#endif

class Model {
public:
    Model() : model_(PowerSystem::Create(StandardElementFactory())) {
        model_->AddRef();
        model_->SetTextMeasurer(&measurer_);
    }
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;
    ~Model() { model_->Release(); }

    PowerSystem& operator*() const { return *model_; }

    bool Load(std::vector<std::uint8_t> bytes) const {
        Archive in = Archive::ForLoading(std::move(bytes));
        try {
            model_->Serialize(in);
        } catch (const ArchiveError&) {
            return false;
        }
        return true;
    }
    std::vector<std::uint8_t> Save() const {
        Archive out = Archive::ForStoring();
        model_->Serialize(out);
        return out.Bytes();
    }

private:
    Measurer measurer_;
    PowerSystem* model_;
};

void UseElements(PowerSystem& model) {
    NullDrawingContext dc;
    for (int id = 0; id < PowerSystem::kListCount; ++id) {
        for (const auto& [key, element] : model.List(PowerSystem::ListId(id)).Entries()) {
            Point probe = element->GetConnectionPoint(0);
            Point nearest;
            element->CalcBoundingRect();
            element->HitTestBody(probe, nearest);
            element->HitTest(probe);
            element->SetSelected(true);
            element->Draw(dc);
            element->SetSelected(false);
            element->Draw(dc);
        }
    }
    Rect bounds;
    model.GetBoundingRect(bounds);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Model read;
    if (!read.Load({data, data + size})) {
        static const std::vector<std::uint8_t> empty = Model{}.Save();
        if (read.Save() != empty) std::abort();
        return 0;
    }
    std::vector<std::uint8_t> first = read.Save();
    Model again;
    if (!again.Load(first) || again.Save() != first) std::abort();
    UseElements(*read);
    return 0;
}
