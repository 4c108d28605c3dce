#include "compensator_dialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "control_id.h"

namespace {
enum CompensatorValue : int { kP = 0, kQ = 1, kQMin = 2, kQMax = 3 };
}  // namespace

CompensatorDialog::CompensatorDialog(IElement& element, PromptService& prompts, QWidget* parent, const char* title,
                                     const char* qLabel)
    : ElementDialog(element, prompts, parent), showCheck_(new QCheckBox("Display Qcomp", this)) {
    setWindowTitle(QString::fromLatin1(title));
    SetControlId(*showCheck_, kShowId);
    auto* grid = new QGridLayout;
    qField_ = AddReadOnlyField(*grid, 0, 0, qLabel, kQId);
    qMaxField_ = AddField(*grid, 1, 0, "Max Q compenser  (for 1 p.u.) [MVAr]:", kQMaxId);
    qMinField_ = AddField(*grid, 2, 0, "Min Q compensator (for 1 p.u.) [MVAr]:", kQMinId);
    SetContent(grid, {showCheck_});
}

void CompensatorDialog::LoadMembers() {
    const ElementArrays& values = Arrays();
    q_ = values.Value(kQ);
    qMax_ = values.Value(kQMax);
    qMin_ = values.Value(kQMin);
    show_ = values.Flag(0);
}

void CompensatorDialog::DoDataExchange(DataExchange& exchange) {
    ExactNumber(exchange, *qField_, q_);
    ExactNumber(exchange, *qMaxField_, qMax_);
    ExactNumber(exchange, *qMinField_, qMin_);
    exchange.Check(*showCheck_, show_);
}

bool CompensatorDialog::WriteBack() {
    ElementArrays& values = Arrays();
    values.SetValue(kP, 0);
    values.SetValue(kQ, q_);
    values.SetValue(kQMax, qMax_);
    values.SetValue(kQMin, qMin_);
    values.SetFlag(0, show_);
    return false;
}

CDlgSynchronousCompensatorProperties::CDlgSynchronousCompensatorProperties(IElement& element, PromptService& prompts,
                                                                           QWidget* parent)
    : CompensatorDialog(element, prompts, parent, "Synchronous Compensator Properties", "Q compenser [MVAr]:") {}

void CDlgSynchronousCompensatorProperties::ArrangeControls() {
    if (!OwnerLabelMode()) return;
    for (QLineEdit* field : {qMaxField_, qMinField_, qField_}) field->setEnabled(false);
}

CDlgSVCProperties::CDlgSVCProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : CompensatorDialog(element, prompts, parent, "SVC Properties", "Qcomp [MVAr]:") {}

void CDlgSVCProperties::ArrangeControls() {
    if (OwnerLabelMode()) qField_->setEnabled(false);
}
