#include "shunt_dialogs.h"

#include <cmath>

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "control_id.h"
#include "element_interface.h"

namespace {

enum ShuntValue : int { kP = 0, kQ = 1 };

QString Present(double value) { return QString::asprintf("%.6g", value); }

const FixedShuntDialog::Kind kCapacitor = {"Capacitor Properties",
                                           "Generated reactive Q for nominal voltage (1 p.u.) [MVAr]:",
                                           "Currently generated Qc:", "Display Qc value", 1.0};
const FixedShuntDialog::Kind kReactor = {"Reactor Properties",
                                         "Reactive shunt for nominal voltage (for 1 p.u.) [MVAr]:",
                                         "Current Ql shunt value:", "Display Ql value", -1.0};

}  // namespace

ShuntFamilyDialog::PresentValues ShuntFamilyDialog::ReadPresentValues() {
    ShuntRecord record;
    if (!Element().FillSolverRecord(&record, 1)) return {};
    return {record.presentP, record.presentQ};
}

CDlgShuntProperties::CDlgShuntProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : ShuntFamilyDialog(element, prompts, parent), showCheck_(new QCheckBox("Display value", this)) {
    setWindowTitle("Shunt Properties");
    SetControlId(*showCheck_, kShowId);
    auto* grid = new QGridLayout;
    pField_ = AddField(*grid, 0, 0, "Psh for nominal voltage (for 1 p.u.) [MW]:", kPId);
    qField_ = AddField(*grid, 1, 0, "Qsh for nominal voltage (+ capacitor, - reactor) [MVAr]:", kQId);
    presentPField_ = AddReadOnlyField(*grid, 2, 0, "Current Psh value [MW]:", kPresentPId);
    presentQField_ = AddReadOnlyField(*grid, 3, 0, "Current Qsh value [MVAr]:", kPresentQId);
    SetContent(grid, {showCheck_});
}

void CDlgShuntProperties::LoadMembers() {
    p_ = Arrays().Value(kP);
    q_ = Arrays().Value(kQ);
    show_ = Arrays().Flag(0);
    const PresentValues present = ReadPresentValues();
    presentPField_->setText(Present(present.p));
    presentQField_->setText(Present(present.q));
}

void CDlgShuntProperties::DoDataExchange(DataExchange& exchange) {
    ExactNumber(exchange, *pField_, p_);
    ExactNumber(exchange, *qField_, q_);
    exchange.Check(*showCheck_, show_);
}

bool CDlgShuntProperties::WriteBack() {
    ElementArrays& values = Arrays();
    const bool changed = p_ != values.Value(kP) || q_ != values.Value(kQ);
    values.SetValue(kP, p_);
    values.SetValue(kQ, q_);
    values.SetFlag(0, show_);
    return changed;
}

FixedShuntDialog::FixedShuntDialog(IElement& element, PromptService& prompts, QWidget* parent, const Kind& kind)
    : ShuntFamilyDialog(element, prompts, parent),
      sign_(kind.sign),
      showCheck_(new QCheckBox(QString::fromLatin1(kind.checkText), this)) {
    setWindowTitle(QString::fromLatin1(kind.title));
    SetControlId(*showCheck_, kShowId);
    auto* grid = new QGridLayout;
    qField_ = AddField(*grid, 0, 0, kind.qLabel, kQId);
    presentQField_ = AddReadOnlyField(*grid, 1, 0, kind.presentLabel, kPresentQId);
    SetContent(grid, {showCheck_});
}

void FixedShuntDialog::LoadMembers() {
    // A capacitor shows Q as it is stored, a reactor its magnitude.
    const double stored = Arrays().Value(kQ);
    q_ = sign_ > 0 ? stored : std::fabs(stored);
    show_ = Arrays().Flag(0);
    const double present = ReadPresentValues().q;
    presentQField_->setText(Present(sign_ > 0 ? present : std::fabs(present)));
}

void FixedShuntDialog::DoDataExchange(DataExchange& exchange) {
    ExactNumber(exchange, *qField_, q_);
    exchange.Check(*showCheck_, show_);
}

bool FixedShuntDialog::WriteBack() {
    ElementArrays& values = Arrays();
    // A sign typed over the shown value is no change: the kind's sign wins.
    const bool changed = std::fabs(q_) != std::fabs(values.Value(kQ));
    values.SetValue(kQ, sign_ * std::fabs(q_));
    values.SetValue(kP, 0);
    values.SetFlag(0, show_);
    return changed;
}

CapacitorPropertiesDlg::CapacitorPropertiesDlg(IElement& element, PromptService& prompts, QWidget* parent)
    : FixedShuntDialog(element, prompts, parent, kCapacitor) {}

CDlgReactorProperties::CDlgReactorProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : FixedShuntDialog(element, prompts, parent, kReactor) {}
