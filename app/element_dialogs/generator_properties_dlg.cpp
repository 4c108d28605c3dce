#include "generator_properties_dlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "control_id.h"

namespace {
enum GeneratorValue : int { kP = 0, kQ = 1, kQMin = 2, kQMax = 3, kPMin = 4, kPMax = 5 };
}  // namespace

GeneratorPropertiesDlg::GeneratorPropertiesDlg(IElement& element, PromptService& prompts, QWidget* parent)
    : ElementDialog(element, prompts, parent), showCheck_(new QCheckBox("Display Pg and Qg", this)) {
    setWindowTitle("Generator Properties");
    SetControlId(*showCheck_, kShowId);
    auto* grid = new QGridLayout;
    pField_ = AddField(*grid, 0, 0, "Pg [MW]:", kPId);
    qField_ = AddField(*grid, 1, 0, "Qg [MVAr]:", kQId);
    qMaxField_ = AddField(*grid, 2, 0, "Qgmax[MVAr]:", kQMaxId);
    qMinField_ = AddField(*grid, 3, 0, "Qgmin[MVAr]:", kQMinId);
    pMaxField_ = AddField(*grid, 4, 0, "Pgmax[MW]:", kPMaxId);
    pMinField_ = AddField(*grid, 5, 0, "Pgmin[MW.]:", kPMinId);
    SetContent(grid, {showCheck_});
}

void GeneratorPropertiesDlg::LoadMembers() {
    const ElementArrays& values = Arrays();
    p_ = values.Value(kP);
    q_ = values.Value(kQ);
    qMin_ = values.Value(kQMin);
    qMax_ = values.Value(kQMax);
    pMin_ = values.Value(kPMin);
    pMax_ = values.Value(kPMax);
    show_ = values.Flag(0);
}

void GeneratorPropertiesDlg::ArrangeControls() {
    if (!OwnerLabelMode()) return;
    for (QLineEdit* field : {qMinField_, qMaxField_, qField_}) field->setEnabled(false);
}

void GeneratorPropertiesDlg::DoDataExchange(DataExchange& exchange) {
    ExactNumber(exchange, *pField_, p_, FieldRange<double>{0, 9999});
    // A solved Q above 100 Mvar is common; the limit is for what is typed.
    ExactNumber(exchange, *qField_, q_, FieldRange<double>{-100, 100}, RangeCheck::WhenTyped);
    ExactNumber(exchange, *qMaxField_, qMax_);
    ExactNumber(exchange, *qMinField_, qMin_);
    ExactNumber(exchange, *pMaxField_, pMax_, FieldRange<double>{0, 99999});
    ExactNumber(exchange, *pMinField_, pMin_);
    exchange.Check(*showCheck_, show_);
}

bool GeneratorPropertiesDlg::WriteBack() {
    ElementArrays& values = Arrays();
    const bool pChanged = p_ != values.Value(kP);
    values.SetValue(kP, p_);
    values.SetValue(kQ, q_);
    values.SetValue(kQMin, qMin_);
    values.SetValue(kQMax, qMax_);
    values.SetValue(kPMin, pMin_);
    values.SetValue(kPMax, pMax_);
    values.SetFlag(0, show_);
    return pChanged;
}
