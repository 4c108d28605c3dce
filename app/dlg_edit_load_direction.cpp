#include "dlg_edit_load_direction.h"

#include <QFormLayout>
#include <QLineEdit>

#include "control_id.h"

CDlgEditLoadDirection::CDlgEditLoadDirection(PromptService& prompts, const DirectionFactors& shown, bool hasGeneration,
                                             bool hasLoad, QWidget* parent)
    : DialogBase(prompts, parent),
      factors_(shown),
      hasGeneration_(hasGeneration),
      hasLoad_(hasLoad),
      generationField_(new QLineEdit),
      activeLoadField_(new QLineEdit),
      reactiveLoadField_(new QLineEdit) {
    setWindowTitle("Adjust Load/Generator Directions");
    SetControlId(*generationField_, kGenerationId);
    SetControlId(*activeLoadField_, kActiveLoadId);
    SetControlId(*reactiveLoadField_, kReactiveLoadId);
    auto* fields = new QFormLayout;
    fields->addRow("K for active generation:", generationField_);
    fields->addRow("K for active loads:", activeLoadField_);
    fields->addRow("K for reactive loads:", reactiveLoadField_);
    SetContent(fields);
}

void CDlgEditLoadDirection::OnInitDialog() {
    generationField_->setEnabled(hasGeneration_);
    activeLoadField_->setEnabled(hasLoad_);
    reactiveLoadField_->setEnabled(hasLoad_);
    DialogBase::OnInitDialog();
}

void CDlgEditLoadDirection::DoDataExchange(DataExchange& exchange) {
    exchange.Number(*generationField_, factors_.generation);
    exchange.Number(*activeLoadField_, factors_.activeLoad);
    exchange.Number(*reactiveLoadField_, factors_.reactiveLoad);
}

void CDlgEditLoadDirection::Commit() {
    auto typed = [this](const QLineEdit& field, double value) {
        return FieldChanged(field) ? std::optional<double>(value) : std::nullopt;
    };
    typed_ = {typed(*generationField_, factors_.generation), typed(*activeLoadField_, factors_.activeLoad),
              typed(*reactiveLoadField_, factors_.reactiveLoad)};
}
