#include "dlg_transfer_capability.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "control_id.h"
#include "dialog_buttons.h"
#include "network_records.h"
#include "record_cursor.h"
#include "sorted_combo.h"
#include "up_down.h"
#include "windows_1250.h"

namespace {

constexpr FieldRange<double> kStepRange{1.0, 1000.0};      // MW
constexpr FieldRange<double> kStopRange{0.0, 1000000.0};   // MW; the arrows reach 100000 only

// A number field with its arrows beside it, as high as the field.
QHBoxLayout* FieldWithArrows(QLineEdit& field, UpDown& arrows) {
    field.setAlignment(Qt::AlignRight);
    field.setFixedWidth(80);
    arrows.setFixedHeight(field.sizeHint().height());
    auto* row = new QHBoxLayout;
    row->setSpacing(0);
    row->addWidget(&field);
    row->addWidget(&arrows);
    row->addStretch();
    return row;
}

}  // namespace

CDlgTransferCapability::CDlgTransferCapability(PromptService& prompts, IRecordCursor& cursor, QWidget* parent)
    : DialogBase(prompts, parent),
      cursor_(cursor),
      source_(new QComboBox),
      destination_(new QComboBox),
      step_(new QLineEdit),
      stepSpin_(new UpDown),
      stop_(new QLineEdit),
      stopSpin_(new UpDown),
      stopEnabledBox_(new QCheckBox("Stop calculation if transfer reaches [MW]:")),
      voltageChartBox_(new QCheckBox("Show bar chart with voltage changes")),
      angleChartBox_(new QCheckBox("Show bar chart with bus angle changes")),
      reactiveChartBox_(new QCheckBox("Show bar chart with bus reactive power generation changes")),
      lineLoadChartBox_(new QCheckBox("Show bar chart with line load factor changes")) {
    setWindowTitle("Transfer Capability");
    choice_.initialStep = 10.0;
    choice_.stopTransfer = 50.0;
    SetControlId(*source_, kSourceId);
    SetControlId(*destination_, kDestinationId);
    SetControlId(*step_, kStepId);
    SetControlId(*stepSpin_, kStepSpinId);
    SetControlId(*stop_, kStopId);
    SetControlId(*stopSpin_, kStopSpinId);
    SetControlId(*stopEnabledBox_, kStopEnabledId);
    SetControlId(*voltageChartBox_, kVoltageChartId);
    SetControlId(*angleChartBox_, kAngleChartId);
    SetControlId(*reactiveChartBox_, kReactiveChartId);
    SetControlId(*lineLoadChartBox_, kLineLoadChartId);
    connect(stopEnabledBox_, &QCheckBox::toggled, this, &CDlgTransferCapability::EnableStop);

    auto* buses = new QGroupBox("Source and Destination");
    auto* busFields = new QGridLayout(buses);
    busFields->addWidget(new QLabel("From bus:"), 0, 0);
    busFields->addWidget(source_, 0, 1);
    busFields->addWidget(new QLabel("To bus:"), 1, 0);
    busFields->addWidget(destination_, 1, 1);
    busFields->setColumnStretch(1, 1);

    auto* calculation = new QGroupBox("Calculation");
    auto* calculationFields = new QGridLayout(calculation);
    calculationFields->addWidget(new QLabel("Initial step size [MW]:"), 0, 0);
    calculationFields->addLayout(FieldWithArrows(*step_, *stepSpin_), 0, 1);
    calculationFields->addWidget(stopEnabledBox_, 1, 0);
    calculationFields->addLayout(FieldWithArrows(*stop_, *stopSpin_), 1, 1);

    auto* graphs = new QGroupBox("Graphs");
    auto* graphChecks = new QVBoxLayout(graphs);
    for (QCheckBox* box : {voltageChartBox_, angleChartBox_, reactiveChartBox_, lineLoadChartBox_})
        graphChecks->addWidget(box);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buses);
    layout->addWidget(calculation);
    layout->addWidget(graphs);
    layout->addWidget(MakeDialogButtons(*this).box);
}

void CDlgTransferCapability::OnInitDialog() {
    stopSpin_->SetBuddy(stop_);
    stopSpin_->SetRange(0, 100000);
    stepSpin_->SetBuddy(step_);
    stepSpin_->SetRange(1, 1000);
    ListBuses();
    if (source_->count() > 0) source_->setCurrentIndex(0);
    if (destination_->count() > 0) destination_->setCurrentIndex(destination_->count() > 1 ? 1 : 0);
    UpdateData(false);
    EnableStop();
    cursor_.SetMode(1);
}

void CDlgTransferCapability::ListBuses() {
    cursor_.SetTable(IRecordCursor::BusTable, 0);
    cursor_.MoveFirst();
    cursor_.SetMode(0);
    // Buses joined by closed switches come as one group, under the key the
    // study knows it by.
    cursor_.SetGroupBuses(true);
    for (BusRecord record; cursor_.Next(record);) {
        const QString name = record.name ? FromWindows1250(record.name) : QString();
        for (QComboBox* combo : {source_, destination_})
            combo->setItemData(AddSorted(*combo, name), record.key);
    }
}

void CDlgTransferCapability::EnableStop() {
    const bool enabled = stopEnabledBox_->isChecked();
    stop_->setEnabled(enabled);
    stopSpin_->setEnabled(enabled);
}

void CDlgTransferCapability::DoDataExchange(DataExchange& exchange) {
    exchange.Number(*step_, choice_.initialStep, kStepRange);
    exchange.Number(*stop_, choice_.stopTransfer, kStopRange);
    exchange.Check(*stopEnabledBox_, stopEnabled_);
    exchange.Check(*voltageChartBox_, voltageChart_);
    exchange.Check(*angleChartBox_, angleChart_);
    exchange.Check(*reactiveChartBox_, reactiveChart_);
    exchange.Check(*lineLoadChartBox_, lineLoadChart_);
}

bool CDlgTransferCapability::Validate() {
    if (source_->count() == 0 || source_->currentIndex() < 0) {
        Message("There is not enough information to proceed with calculation!");
        return false;
    }
    if (source_->currentIndex() == destination_->currentIndex()) {
        Message("Source and destination buses should be different!");
        return false;
    }
    return true;
}

void CDlgTransferCapability::Commit() {
    choice_.sourceKey = source_->currentData().toInt();
    choice_.destinationKey = destination_->currentData().toInt();
    choice_.sourceName = ToWindows1250(source_->currentText());
    choice_.destinationName = ToWindows1250(destination_->currentText());
    choice_.stopEnabled = stopEnabled_ == 1;
    choice_.voltageChart = voltageChart_ == 1;
    choice_.angleChart = angleChart_ == 1;
    choice_.reactiveChart = reactiveChart_ == 1;
    choice_.lineLoadChart = lineLoadChart_ == 1;
}
