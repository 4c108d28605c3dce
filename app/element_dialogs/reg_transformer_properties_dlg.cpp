#include "reg_transformer_properties_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "branch_data.h"
#include "control_id.h"
#include "element_interface.h"
#include "two_port_rules.h"

namespace BD = BranchData;

namespace {

constexpr int kRatioFlag = 4;
constexpr int kToEnd = 1;
// The tap side as the record keeps it: below 1 the From winding.
constexpr double kTapAtFrom = 0.5;
constexpr double kTapAtTo = 1.5;

const TwoPortDialog::Texts kRegulatingTexts = {
    "Regulating Transformer Properties",
    false,
    "Rated  power - Sn [MVA]:",
    "Metered Bus for flow interchange:",
    "Show data on the \"from\" side",
    "Show data on the \"to\" side",
    "Show load factor",
    "Vnominal 'From' [kV]:",
    "Vnominal  'To' [kV]:",
    RegTransformerPropertiesDlg::kLoadFactorId,
};

int TapSideOf(double stored) { return stored < 1 ? 0 : 1; }

}  // namespace

const std::array<const char*, 5> RegTransformerPropertiesDlg::kRegulationTypes = {
    "LTC controlling voltage on a load bus with tap limits (LTC)",
    "LTC controlling Q out of 'To'  (sending) bus",
    "LTC keeping Q out of 'To' bus within MVAr limits",
    "Phase shifter controlling P out of 'To'  (sending) bus",
    "Phase shifter keeping P out of 'To' bus within MW limits",
};

RegTransformerPropertiesDlg::RegTransformerPropertiesDlg(IElement& element, int page, PromptService& prompts,
                                                         QWidget* parent)
    : TwoPortDialog(element, prompts, parent, kRegulatingTexts),
      page_(page),
      typeList_(new QComboBox(this)),
      controlledList_(new QComboBox(this)),
      showRatioCheck_(new QCheckBox("Show transf ratio", this)) {
    for (const char* type : kRegulationTypes) typeList_->addItem(QString::fromLatin1(type));
    SetControlId(*typeList_, kTypeId);
    SetControlId(*controlledList_, kControlledBusId);
    SetControlId(*showRatioCheck_, kShowRatioId);

    QGridLayout& rows = OwnRows();
    rows.addWidget(new QLabel("Type:", this), kFirstOwnRow, 0);
    rows.addWidget(typeList_, kFirstOwnRow, 1);
    rows.addWidget(new QLabel("Controlled bus:", this), kFirstOwnRow + 1, 0);
    rows.addWidget(controlledList_, kFirstOwnRow + 1, 1);
    auto* tapSide = new QGroupBox("Var Tap position:", this);
    auto* tapSideRow = new QHBoxLayout(tapSide);
    tapSideRadios_ = {new QRadioButton("At 'From' side", tapSide), new QRadioButton("At 'To' side", tapSide)};
    SetControlId(*tapSideRadios_[0], kTapAtFromId);
    SetControlId(*tapSideRadios_[1], kTapAtToId);
    for (QRadioButton* radio : tapSideRadios_) tapSideRow->addWidget(radio);
    rows.addWidget(tapSide, kFirstOwnRow + 2, 0, 1, 2);
    fromTapField_ = AddField(rows, kFirstOwnRow + 3, 0, "Tap for \"From\" bus [kV]:", kFromTapId);
    toTapField_ = AddField(rows, kFirstOwnRow + 4, 0, "Tap for \"To\" bus [kV]:", kToTapId);
    minimumField_ = AddField(rows, kFirstOwnRow + 5, 0, "Min tap [kV]:", kMinimumId, &minimumLabel_);
    maximumField_ = AddField(rows, kFirstOwnRow + 6, 0, "Max tap [kV]:", kMaximumId, &maximumLabel_);
    SetControlId(*minimumLabel_, kMinimumLabelId);
    SetControlId(*maximumLabel_, kMaximumLabelId);
    phaseShiftField_ = AddField(rows, kFirstOwnRow + 7, 0, "Phase shift [deg]:", kPhaseShiftId);
    currentRatioField_ = AddField(rows, kFirstOwnRow + 8, 0, "Current ratio [p.u]:", kCurrentRatioId, &currentRatioLabel_);
    tapStepsField_ = AddField(rows, kFirstOwnRow + 9, 0, "Number of tap steps:", kTapStepsId, &tapStepsLabel_);
    firstQuantityField_ = AddField(rows, kFirstOwnRow + 10, 0, "", kFirstQuantityId, &firstQuantityLabel_);
    secondQuantityField_ = AddField(rows, kFirstOwnRow + 11, 0, "", kSecondQuantityId, &secondQuantityLabel_);
    SetControlId(*firstQuantityLabel_, kFirstQuantityLabelId);
    SetControlId(*secondQuantityLabel_, kSecondQuantityLabelId);
    // Kept as the record holds them; the dialog does not offer them.
    for (QWidget* hidden : std::initializer_list<QWidget*>{currentRatioField_, currentRatioLabel_, tapStepsField_,
                                                           tapStepsLabel_}) {
        hidden->hide();
    }
    ChecksRows().addWidget(showRatioCheck_, 3, 0);

    connect(typeList_, &QComboBox::currentIndexChanged, this, [this] { ApplyTypeRule(); });
    for (QRadioButton* radio : tapSideRadios_) connect(radio, &QRadioButton::toggled, this, [this] { ApplyTypeRule(); });
}

std::string RegTransformerPropertiesDlg::LoadFactorText() { return TransformerLoadFactorText(Arrays().Values()); }

void RegTransformerPropertiesDlg::LoadMembers() {
    ElementArrays& record = Arrays();
    // A transformer has at least one tap step, even when the dialog is
    // cancelled.
    if (static_cast<int>(record.Value(BD::kTapSteps)) == 0) record.SetValue(BD::kTapSteps, 1);
    TwoPortDialog::LoadMembers();
    type_ = static_cast<int>(record.Value(BD::kControlType));
    tapSide_ = TapSideOf(record.Value(BD::kTapSide));
    controlledBus_ = static_cast<int>(record.Value(BD::kRegulatedEnd));
    fromTap_ = record.Value(BD::kFromTapKv);
    toTap_ = record.Value(BD::kToTapKv);
    minimum_ = record.Value(BD::kLowerLimit);
    maximum_ = record.Value(BD::kUpperLimit);
    phaseShift_ = record.Value(BD::kPhaseShift);
    currentRatio_ = record.Value(BD::kTapRatio);
    tapSteps_ = static_cast<int>(record.Value(BD::kTapSteps));
    const RegulationLayout layout = RegulationLayoutFor(type_, tapSide_ == 0);
    firstQuantity_ = record.Value(layout.firstQuantityIndex);
    secondQuantity_ = record.Value(layout.secondQuantityIndex);
    showRatio_ = record.Flag(kRatioFlag);
    for (int end = 0; end < 2; ++end) controlledList_->addItem(EndName(end));
}

void RegTransformerPropertiesDlg::ArrangeControls() {
    TwoPortDialog::ArrangeControls();
    ApplyTypeRule();
    if (!OwnerLabelMode()) return;
    for (QWidget* locked : std::initializer_list<QWidget*>{typeList_, controlledList_, phaseShiftField_,
                                                           resistanceField_, reactanceField_, susceptanceField_,
                                                           ratingField_, conductanceField_, notificationField_}) {
        locked->setEnabled(false);
    }
    if (page_ == 0) currentRatioField_->setEnabled(false);
}

void RegTransformerPropertiesDlg::ApplyTypeRule() {
    const int type = typeList_->currentIndex();
    const RegulationLayout layout = RegulationLayoutFor(type, tapSideRadios_[0]->isChecked());
    if (!layout.controlledBusEnabled) controlledList_->setCurrentIndex(kToEnd);
    controlledList_->setEnabled(layout.controlledBusEnabled && !OwnerLabelMode());
    minimumLabel_->setText(QString::fromLatin1(layout.minimumLabel));
    maximumLabel_->setText(QString::fromLatin1(layout.maximumLabel));
    if (layout.fromTapEnabled) fromTapField_->setEnabled(*layout.fromTapEnabled);
    if (layout.toTapEnabled) toTapField_->setEnabled(*layout.toTapEnabled);
    const std::pair<QLabel*, QLineEdit*> pairs[] = {{firstQuantityLabel_, firstQuantityField_},
                                                   {secondQuantityLabel_, secondQuantityField_}};
    const char* labels[] = {layout.firstQuantityLabel, layout.secondQuantityLabel};
    for (int i = 0; i < 2; ++i) {
        const bool shown = labels[i] != nullptr;
        pairs[i].first->setVisible(shown);
        pairs[i].second->setVisible(shown);
        if (shown) pairs[i].first->setText(QString::fromLatin1(labels[i]));
    }
}

void RegTransformerPropertiesDlg::DoDataExchange(DataExchange& exchange) {
    TwoPortDialog::DoDataExchange(exchange);
    exchange.ComboIndex(*typeList_, type_);
    exchange.ComboIndex(*controlledList_, controlledBus_);
    exchange.Radio(tapSideRadios_, tapSide_);
    ExactNumber(exchange, *fromTapField_, fromTap_, FieldRange<double>{0, 999999999});
    ExactNumber(exchange, *toTapField_, toTap_, FieldRange<double>{0, 999999999});
    ExactNumber(exchange, *minimumField_, minimum_);
    ExactNumber(exchange, *maximumField_, maximum_);
    ExactNumber(exchange, *phaseShiftField_, phaseShift_);
    ExactNumber(exchange, *currentRatioField_, currentRatio_);
    exchange.Integer(*tapStepsField_, tapSteps_, FieldRange<int>{1, 999999999});
    ExactNumber(exchange, *firstQuantityField_, firstQuantity_);
    ExactNumber(exchange, *secondQuantityField_, secondQuantity_);
    exchange.Check(*showRatioCheck_, showRatio_);
}

bool RegTransformerPropertiesDlg::WriteBack() {
    TwoPortDialog::WriteBack();
    ElementArrays& record = Arrays();
    const double oldRatio = record.Value(BD::kTapRatio);
    record.SetFlag(kRatioFlag, showRatio_);
    record.SetValue(BD::kCircuits, 1.0);
    record.SetValue(BD::kPhaseShift, phaseShift_);
    record.SetValue(BD::kTapRatio, currentRatio_);
    record.SetValue(BD::kToTapKv, toTap_);
    record.SetValue(BD::kFromTapKv, fromTap_);
    record.SetValue(BD::kUpperLimit, maximum_);
    record.SetValue(BD::kLowerLimit, minimum_);
    if (FieldChanged(*tapStepsField_)) record.SetValue(BD::kTapSteps, tapSteps_);
    // The side is kept exactly unless the other winding was chosen.
    if (tapSide_ != TapSideOf(record.Value(BD::kTapSide))) {
        record.SetValue(BD::kTapSide, tapSide_ == 0 ? kTapAtFrom : kTapAtTo);
    }
    if (type_ >= 0) record.SetValue(BD::kControlType, type_);
    if (controlledBus_ >= 0) record.SetValue(BD::kRegulatedEnd, controlledBus_);
    const RegulationLayout layout = RegulationLayoutFor(type_, tapSide_ == 0);
    if (layout.secondQuantityLabel != nullptr) record.SetValue(layout.secondQuantityIndex, secondQuantity_);
    if (layout.firstQuantityLabel != nullptr) record.SetValue(layout.firstQuantityIndex, firstQuantity_);
    // The name is kept as it was (the dialog does not show it).
    return currentRatio_ != oldRatio;
}
