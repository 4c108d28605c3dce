#include "bus_properties_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "control_id.h"
#include "element_interface.h"
#include "element_type.h"
#include "windows_1250.h"

namespace {

// Value indices of the bus family.
enum BusValue : int {
    kNominalKv = 0,
    kVoltage = 1,
    kAngle = 2,
    kDesiredVoltage = 3,
    kKind = 4,
    kMinVoltage = 5,  // a network equivalent: its Q injection, Mvar
    kMaxVoltage = 6,  // a network equivalent: its P injection, MW
    kControlledBusKey = 8,
    kShare = 9,
};
enum BusFlag : int { kNameFlag = 0, kVoltageFlag = 1, kInjectionFlag = 2 };

// Limits that a network equivalent's hidden fields hold so that its
// injections never fail the check of the limits.
constexpr double kNoLowerLimit = -999999999999.0;
constexpr double kNoUpperLimit = 999999999999.0;
// The band of the desired voltage around the nominal one; a value typed at
// the edge of the band passes whatever the division rounds to.
constexpr double kBandLow = 0.8;
constexpr double kBandHigh = 1.2;
constexpr double kBandTolerance = 1e-9;

QString Fixed3(double value) { return QString::asprintf("%.3f", value); }

}  // namespace

const std::array<const char*, 9> BusPropertiesDlg::kBusTypes = {
    "Slack bus - Hold voltage and and angle",
    "Unregulated PQ load bus",
    "PV load bus with remote voltage control",
    "PQ load bus with voltage controlled by LTC transformer",
    "PV generator bus with Q limits",
    "PV generator bus without Q limits",
    "PQ generator bus with V limits",
    "PQ generator bus with local or remote V limits",
    "PQ generator bus with Q limits controlling V on a remote bus",
};

BusPropertiesDlg::BusPropertiesDlg(IElement& element, PromptService& prompts, QWidget* parent)
    : ElementDialog(element, prompts, parent),
      typeList_(new QComboBox(this)),
      controlledList_(new QComboBox(this)),
      showNameCheck_(new QCheckBox("Show Name", this)),
      showVoltageCheck_(new QCheckBox("Show Voltage and Angle", this)),
      showInjectionCheck_(new QCheckBox("Show injected P and Q", this)) {
    setWindowTitle("Bus Properties");
    for (const char* type : kBusTypes) typeList_->addItem(QString::fromLatin1(type));
    SetControlId(*typeList_, kTypeId);
    SetControlId(*controlledList_, kControlledBusId);
    SetControlId(*showNameCheck_, kShowNameId);
    SetControlId(*showVoltageCheck_, kShowVoltageId);
    SetControlId(*showInjectionCheck_, kShowInjectionId);

    auto* grid = new QGridLayout;
    nameField_ = AddField(*grid, 0, 0, "Name:", kNameId);
    grid->addWidget(new QLabel("Type:", this), 1, 0);
    grid->addWidget(typeList_, 1, 1, 1, 3);
    voltageField_ = AddReadOnlyField(*grid, 2, 0, "Voltage [kV]:", kVoltageId);
    angleField_ = AddField(*grid, 3, 0, "Angle [deg]:", kAngleId);
    desiredField_ = AddField(*grid, 4, 0, "V desired [kV]:", kDesiredVoltageId);
    nominalField_ = AddField(*grid, 5, 0, "V nominal [kV]:", kNominalVoltageId);
    minField_ = AddField(*grid, 6, 0, "Vmin [kV]:", kMinVoltageId, &minLabel_);
    maxField_ = AddField(*grid, 7, 0, "Vmax [kV]:", kMaxVoltageId, &maxLabel_);
    SetControlId(*minLabel_, kMinVoltageLabelId);
    SetControlId(*maxLabel_, kMaxVoltageLabelId);
    shareField_ = AddField(*grid, 8, 0, "Remote Q control:", kShareId);
    grid->addWidget(new QLabel(" %", this), 8, 2);
    grid->addWidget(new QLabel("Controlled bus:", this), 9, 0);
    grid->addWidget(controlledList_, 9, 1, 1, 3);
    lengthField_ = AddField(*grid, 10, 0, "Length:", kLengthId, &lengthLabel_);
    // The equivalent's check takes the place of the length's label.
    grid->addWidget(showInjectionCheck_, 10, 0);
    showInjectionCheck_->hide();

    const std::array<std::pair<const char*, int>, 7> solved = {{
        {"Pload [MW]:", kLoadPId},
        {"Qload [MVAr]:", kLoadQId},
        {"Pgen [MW]:", kGenerationPId},
        {"Qgen [MVAr]:", kGenerationQId},
        {"Pshunt [MW]:", kShuntPId},
        {"Qshunt [MVAr]:", kShuntQId},
        {"Voltage [kV]:", kSolvedVoltageId},
    }};
    QLabel* solvedLabel = nullptr;
    for (std::size_t i = 0; i < solved.size(); ++i) {
        solvedFields_[i] = AddField(*grid, static_cast<int>(i) + 2, 3, solved[i].first, solved[i].second, &solvedLabel);
        SetReadOnly(*solvedFields_[i], true);
    }
    // The left column shows the solved voltage already.
    solvedFields_.back()->hide();
    solvedLabel->hide();

    SetContent(grid, {showNameCheck_, showVoltageCheck_});

    connect(typeList_, &QComboBox::currentIndexChanged, this, [this] { ApplyTypeRule(); });
}

bool BusPropertiesDlg::IsNetworkEquivalent() const {
    return Element().GetElementType() == ElementType::NetworkEquivalent;
}

void BusPropertiesDlg::LoadMembers() {
    ElementArrays& values = Arrays();
    type_ = static_cast<int>(values.Value(kKind));
    const double nominal = values.Value(kNominalKv);
    nominalVoltage_ = nominal;
    desiredVoltage_ = nominal * values.Value(kDesiredVoltage);
    angle_ = values.Value(kAngle);
    voltage_ = nominal * values.Value(kVoltage);
    minVoltage_ = nominal * values.Value(kMinVoltage);
    maxVoltage_ = nominal * values.Value(kMaxVoltage);
    name_ = Element().GetName();
    ShowSolvedValues();
    if (IsNetworkEquivalent()) {
        showInjection_ = values.Flag(kInjectionFlag);
        minVoltage_ = kNoLowerLimit;
        maxVoltage_ = kNoUpperLimit;
    }
    showName_ = values.Flag(kNameFlag);
    showVoltage_ = values.Flag(kVoltageFlag);
    length_ = Element().GetLength();
    share_ = static_cast<int>(values.Value(kShare));
    LoadControlledBuses();
}

void BusPropertiesDlg::ShowSolvedValues() {
    BusRecord record;
    if (!Element().FillSolverRecord(&record, 0)) return;
    const double solved[] = {record.loadP,         record.loadQ,  record.generationP, record.generationQ,
                             record.shuntPProduct, record.shuntQ, voltage_};
    for (std::size_t i = 0; i < solvedFields_.size(); ++i) solvedFields_[i]->setText(Fixed3(solved[i]));
}

void BusPropertiesDlg::LoadControlledBuses() {
    std::vector<IElement*> neighbours;
    Element().GetConnectedElements(neighbours);
    const int controlledKey = static_cast<int>(Arrays().Value(kControlledBusKey));
    controlledBus_ = -1;
    for (IElement* neighbour : neighbours) {
        if (neighbour == nullptr) continue;
        if (controlledBus_ < 0 && neighbour->GetKey() == controlledKey) {
            controlledBus_ = static_cast<int>(neighbourKeys_.size());
        }
        neighbourKeys_.push_back(neighbour->GetKey());
        controlledList_->addItem(FromWindows1250(neighbour->GetName()));
    }
}

void BusPropertiesDlg::ArrangeControls() {
    const int type = Element().GetElementType();
    if (type == ElementType::NetworkEquivalent || type == ElementType::ConnectionNode) {
        typeList_->setEnabled(false);
        lengthField_->hide();
        lengthLabel_->hide();
    }
    if (type == ElementType::NetworkEquivalent) {
        for (QWidget* limit : std::initializer_list<QWidget*>{minField_, maxField_, minLabel_, maxLabel_}) {
            limit->hide();
        }
        showInjectionCheck_->show();
    }
    if (OwnerLabelMode()) {
        for (QWidget* field : std::initializer_list<QWidget*>{angleField_, lengthField_, nameField_, nominalField_,
                                                              desiredField_, maxField_, minField_, voltageField_,
                                                              typeList_}) {
            field->setEnabled(false);
        }
    }
    ApplyTypeRule();
}

void BusPropertiesDlg::ApplyTypeRule() {
    const int type = typeList_->currentIndex();
    controlledList_->setEnabled(type == kRemoteControlType);
    shareField_->setEnabled(type == kRemoteControlType);
    SetReadOnly(*angleField_, type != 0);
}

void BusPropertiesDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Text(*nameField_, name_, 300);
    exchange.ComboIndex(*typeList_, type_);
    ExactNumber(exchange, *voltageField_, voltage_, FieldRange<double>{0, 9999999999999});
    // A solved angle outside the range never blocks OK: only a typed one is
    // checked.
    ExactNumber(exchange, *angleField_, angle_, FieldRange<double>{-180, 180}, RangeCheck::WhenTyped);
    ExactNumber(exchange, *desiredField_, desiredVoltage_, FieldRange<double>{0, 9999999999999});
    ExactNumber(exchange, *nominalField_, nominalVoltage_, FieldRange<double>{0.1, 9999999});
    ExactNumber(exchange, *minField_, minVoltage_);
    ExactNumber(exchange, *maxField_, maxVoltage_);
    exchange.Integer(*shareField_, share_, FieldRange<int>{0, 100});
    exchange.ComboIndex(*controlledList_, controlledBus_);
    exchange.Integer(*lengthField_, length_, FieldRange<int>{0, 4000});
    exchange.Check(*showNameCheck_, showName_);
    exchange.Check(*showVoltageCheck_, showVoltage_);
    exchange.Check(*showInjectionCheck_, showInjection_);
}

bool BusPropertiesDlg::Validate() {
    const char* refusal = nullptr;
    if (nominalVoltage_ <= 0) {
        refusal = kNominalNotPositive;
    } else if (desiredVoltage_ <= 0) {
        refusal = kDesiredNotPositive;
    } else if (const double ratio = desiredVoltage_ / nominalVoltage_;
               ratio > kBandHigh + kBandTolerance || ratio < kBandLow - kBandTolerance) {
        refusal = kDesiredOutOfBand;
    } else if (minVoltage_ > desiredVoltage_ || maxVoltage_ < desiredVoltage_) {
        refusal = kLimitsAroundDesired;
    }
    if (refusal == nullptr) return true;
    Message(QString::fromLatin1(refusal));
    return false;
}

double BusPropertiesDlg::PerUnit(double kv, const QLineEdit& field, int index) {
    if (!FieldChanged(field) && !FieldChanged(*nominalField_)) return Arrays().Value(index);
    return kv / nominalVoltage_;
}

bool BusPropertiesDlg::WriteBack() {
    ElementArrays& values = Arrays();
    const double desired = PerUnit(desiredVoltage_, *desiredField_, kDesiredVoltage);
    values.SetValue(kNominalKv, nominalVoltage_);
    values.SetValue(kDesiredVoltage, desired);
    values.SetValue(kAngle, angle_);
    // The next solve starts from the desired voltage.
    values.SetValue(kVoltage, desired);
    if (type_ >= 0) values.SetValue(kKind, type_);
    values.SetFlag(kNameFlag, showName_);
    values.SetFlag(kVoltageFlag, showVoltage_);
    if (IsNetworkEquivalent()) {
        // Its injections are results shown to three decimals: kept as they are.
        values.SetFlag(kInjectionFlag, showInjection_);
    } else {
        values.SetValue(kMaxVoltage, PerUnit(maxVoltage_, *maxField_, kMaxVoltage));
        values.SetValue(kMinVoltage, PerUnit(minVoltage_, *minField_, kMinVoltage));
    }
    values.SetValue(kShare, share_);
    values.SetValue(kControlledBusKey, controlledBus_ >= 0 ? neighbourKeys_[controlledBus_] : 0);
    Element().SetLength(length_);
    Element().SetName(name_);
    return false;
}
