#include "dlg_edit_all_directions.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "control_id.h"

namespace {

struct FactorControls {
    int checkId;
    int fieldId;
    const char* checkText;
    const char* fieldLabel;
};
constexpr std::array<FactorControls, 3> kControls{{
    {CDlgEditAllDirections::kAdjustGenerationId, CDlgEditAllDirections::kGenerationId,
     "Adjust generator directions (kPgen)", "kPgen:"},
    {CDlgEditAllDirections::kAdjustActiveLoadId, CDlgEditAllDirections::kActiveLoadId,
     "Adjust load active directions (kPload)", "kPload:"},
    {CDlgEditAllDirections::kAdjustReactiveLoadId, CDlgEditAllDirections::kReactiveLoadId,
     "Adjust load reactive directions (kQload)", "kQload:"},
}};

}  // namespace

CDlgEditAllDirections::CDlgEditAllDirections(PromptService& prompts, const DirectionFactors& shown,
                                             bool generationPresent, bool loadPresent, QWidget* parent)
    : DialogBase(prompts, parent), factors_(shown), generationPresent_(generationPresent), loadPresent_(loadPresent) {
    setWindowTitle("Adjusting Multiple Directions");
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        checks_[i] = new QCheckBox(kControls[i].checkText);
        fields_[i] = new QLineEdit;
        SetControlId(*checks_[i], kControls[i].checkId);
        SetControlId(*fields_[i], kControls[i].fieldId);
        const int row = static_cast<int>(i);
        grid->addWidget(checks_[i], row, 0);
        grid->addWidget(new QLabel(kControls[i].fieldLabel), row, 1);
        grid->addWidget(fields_[i], row, 2);
        // A box enables its own field; the dialog's state is read from the
        // boxes alone, so no field is checked on the way.
        connect(checks_[i], &QCheckBox::toggled, fields_[i], &QLineEdit::setEnabled);
    }
    SetContent(grid);
}

void CDlgEditAllDirections::OnInitDialog() {
    const std::array<bool, 3> present{generationPresent_, loadPresent_, loadPresent_};
    for (std::size_t i = 0; i < present.size(); ++i) {
        adjust_[i] = present[i] ? 1 : 0;
        checks_[i]->setEnabled(present[i]);
        fields_[i]->setEnabled(present[i]);
    }
    DialogBase::OnInitDialog();
}

void CDlgEditAllDirections::DoDataExchange(DataExchange& exchange) {
    const std::array<double*, 3> values{&factors_.generation, &factors_.activeLoad, &factors_.reactiveLoad};
    for (std::size_t i = 0; i < values.size(); ++i) {
        exchange.Check(*checks_[i], adjust_[i]);
        exchange.Number(*fields_[i], *values[i]);
    }
}

void CDlgEditAllDirections::Commit() {
    auto typed = [this](std::size_t i, double value) {
        return FieldChanged(*fields_[i]) ? std::optional<double>(value) : std::nullopt;
    };
    typed_ = {typed(0, factors_.generation), typed(1, factors_.activeLoad), typed(2, factors_.reactiveLoad)};
}
