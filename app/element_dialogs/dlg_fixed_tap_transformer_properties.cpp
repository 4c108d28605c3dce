#include "dlg_fixed_tap_transformer_properties.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "branch_data.h"
#include "control_id.h"
#include "two_port_rules.h"

namespace BD = BranchData;

namespace {

constexpr int kRatioFlag = 4;

const TwoPortDialog::Texts kFixedTapTexts = {
    "Fixed Tap Transformer - Properties",
    false,
    "Rated  power - Sn [MVA]:",
    "Metered bus for flow interchange:",
    "Show data on the \"from\" side",
    "Show data on the \"to\" side",
    "Show load factor",
    "V base 'from' [kV]: ",
    "V base 'to' [kV]: ",
    CDlgFixedTapTransformerProperties::kLoadFactorId,
};

}  // namespace

CDlgFixedTapTransformerProperties::CDlgFixedTapTransformerProperties(IElement& element, PromptService& prompts,
                                                                     QWidget* parent)
    : TwoPortDialog(element, prompts, parent, kFixedTapTexts), showRatioCheck_(new QCheckBox("Show transformer ratio", this)) {
    SetControlId(*showRatioCheck_, kShowRatioId);
    fromTapField_ = AddField(OwnRows(), kFirstOwnRow, 0, "Tap position 'from' [kV]:", kFromTapId);
    toTapField_ = AddField(OwnRows(), kFirstOwnRow + 1, 0, "Tap position 'to' [kV]:", kToTapId);
    angleShiftField_ = AddField(OwnRows(), kFirstOwnRow + 2, 0, "Angle shift [deg]:", kAngleShiftId);
    ChecksRows().addWidget(showRatioCheck_, 3, 0);
}

std::string CDlgFixedTapTransformerProperties::LoadFactorText() {
    return TransformerLoadFactorText(Arrays().Values());
}

void CDlgFixedTapTransformerProperties::LoadMembers() {
    TwoPortDialog::LoadMembers();
    fromTap_ = Arrays().Value(BD::kFromTapKv);
    toTap_ = Arrays().Value(BD::kToTapKv);
    angleShift_ = Arrays().Value(BD::kPhaseShift);
    showRatio_ = Arrays().Flag(kRatioFlag);
}

void CDlgFixedTapTransformerProperties::DoDataExchange(DataExchange& exchange) {
    TwoPortDialog::DoDataExchange(exchange);
    ExactNumber(exchange, *fromTapField_, fromTap_, FieldRange<double>{0, 999999999999});
    ExactNumber(exchange, *toTapField_, toTap_, FieldRange<double>{0, 99999999999});
    ExactNumber(exchange, *angleShiftField_, angleShift_);
    exchange.Check(*showRatioCheck_, showRatio_);
}

bool CDlgFixedTapTransformerProperties::WriteBack() {
    TwoPortDialog::WriteBack();
    ElementArrays& record = Arrays();
    record.SetValue(BD::kFromTapKv, fromTap_);
    record.SetValue(BD::kToTapKv, toTap_);
    record.SetValue(BD::kPhaseShift, angleShift_);
    record.SetFlag(kRatioFlag, showRatio_);
    // One circuit; the name is kept as it was (the dialog does not show it).
    record.SetValue(BD::kCircuits, 1.0);
    return false;
}
