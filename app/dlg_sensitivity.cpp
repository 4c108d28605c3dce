#include "dlg_sensitivity.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_id.h"
#include "dialog_buttons.h"
#include "element_interface.h"
#include "model_interface.h"
#include "network_records.h"
#include "prompt_service.h"
#include "record_cursor.h"
#include "sorted_combo.h"
#include "windows_1250.h"

namespace {

constexpr int kSlackKind = 0;

QString Name(const std::string* name) { return name ? FromWindows1250(*name) : QString(); }

}  // namespace

CDlgSensitivity::CDlgSensitivity(PromptService& prompts, IRecordCursor& cursor, const IModel& model,
                                 SensitivityMode mode, QWidget* parent)
    : QDialog(parent), prompts_(prompts), cursor_(cursor), model_(model), mode_(mode), elements_(new QComboBox) {
    setWindowTitle("Sensitivity Analysis");
    SetControlId(*elements_, kElementId);
    elements_->setMinimumWidth(260);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Bus:"));
    row->addWidget(elements_, 1);
    const DialogButtons buttons = MakeDialogButtons(*this);
    ok_ = buttons.accept;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons.box);
}

void CDlgSensitivity::SetUp() {
    if (setUp_) return;
    setUp_ = true;
    cursor_.SetTable(mode_ == SensitivityMode::Buses ? IRecordCursor::BusTable : IRecordCursor::BranchTable, 0);
    cursor_.MoveFirst();
    mode_ == SensitivityMode::Buses ? ListBuses() : ListBranches();
    if (elements_->count() > 0) elements_->setCurrentIndex(0);
    // With nothing listed there is no key a study could start on.
    ok_->setEnabled(elements_->count() > 0);
}

void CDlgSensitivity::ListBuses() {
    for (BusRecord record; cursor_.Next(record);) {
        if (record.kind == kSlackKind) continue;
        const QString name = record.name ? FromWindows1250(record.name) : QString();
        elements_->setItemData(AddSorted(*elements_, name), record.key);
    }
}

void CDlgSensitivity::ListBranches() {
    for (BranchRecord record; cursor_.Next(record);) {
        const IElement* branch = model_.FindByKey(record.key);
        if (!branch) continue;
        const QString text = FromWindows1250(branch->GetName()) + " (" + Name(branch->GetEndName(0)) + " - " +
                             Name(branch->GetEndName(1)) + ")";
        elements_->setItemData(AddSorted(*elements_, text), record.key);
    }
}

int CDlgSensitivity::DoModal() {
    SetUp();
    return prompts_.RunModal(*this);
}

void CDlgSensitivity::accept() {
    if (elements_->currentIndex() < 0) return;
    chosenKey_ = elements_->currentData().toInt();
    QDialog::accept();
}
