#include "dlg_var_condenser_properties.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_id.h"
#include "dlg_bank_steps.h"
#include "element_interface.h"
#include "exchange_numbers.h"
#include "grid_list_ctrl.h"
#include "variable_bank.h"

namespace {

constexpr int kShowFlag = 0;
constexpr int kCountColumnWidth = 70;
// What "Add ..." offers.
constexpr BankBlock kNewRow{10, 0.1};

QPushButton* NewButton(const char* text, int id, QWidget* parent) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    SetControlId(*button, id);
    return button;
}

BankBlock Magnitudes(BankBlock block) { return {std::abs(block.count), std::fabs(block.mvar)}; }

}  // namespace

BankButtons BankButtonsFor(int selectedCount, int row, int rowCount) {
    BankButtons buttons;
    if (selectedCount <= 0) return buttons;
    buttons.remove = true;
    if (selectedCount != 1) return buttons;
    buttons.edit = true;
    buttons.up = row > 0;
    buttons.down = row < rowCount - 1;
    return buttons;
}

CDlgVarCondenserProperties::CDlgVarCondenserProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : ElementDialog(element, prompts, parent),
      bank_(dynamic_cast<VariableBank*>(&element)),
      stepList_(new CGridListCtrl(this)),
      editButton_(NewButton("Edit ...", kEditId, this)),
      deleteButton_(NewButton("Delete", kDeleteId, this)),
      upButton_(NewButton("Up", kUpId, this)),
      downButton_(NewButton("Down", kDownId, this)),
      showCheck_(new QCheckBox("Show Qc", this)) {
    setWindowTitle("Variable Condenser Properties");
    SetControlId(*stepList_, kStepListId);
    SetControlId(*showCheck_, kShowId);

    auto* current = new QGroupBox("Current values:", this);
    auto* currentGrid = new QGridLayout(current);
    positionField_ = AddReadOnlyField(*currentGrid, 0, 0, "Current position:", kPositionId);
    generatedField_ = AddReadOnlyField(*currentGrid, 1, 0, "Q generated [MVAr]:", kGeneratedId);
    auto* valueGrid = new QGridLayout;
    valueAtZeroField_ = AddField(*valueGrid, 0, 0, "Value at 0 step pos [MVAr]:", kValueAtZeroId);
    valueAtZeroField_->installEventFilter(this);

    stepList_->setColumnCount(2);
    stepList_->setHorizontalHeaderLabels({"No of steps", "Step value [MVAr]"});
    stepList_->setColumnWidth(0, kCountColumnWidth);
    stepList_->horizontalHeader()->setStretchLastSection(true);
    stepList_->verticalHeader()->hide();
    auto* addButton = NewButton("Add ...", kAddId, this);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {addButton, editButton_, deleteButton_, upButton_, downButton_}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* steps = new QHBoxLayout;
    steps->addWidget(stepList_);
    steps->addLayout(buttons);

    auto* content = new QVBoxLayout;
    content->addWidget(current);
    content->addLayout(valueGrid);
    content->addLayout(steps);
    SetContent(content, {showCheck_});

    connect(addButton, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(editButton_, &QPushButton::clicked, this, [this] { OnEdit(); });
    connect(deleteButton_, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(upButton_, &QPushButton::clicked, this, [this] { OnUp(); });
    connect(downButton_, &QPushButton::clicked, this, [this] { OnDown(); });
    connect(stepList_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
}

void CDlgVarCondenserProperties::LoadMembers() {
    show_ = Arrays().Flag(kShowFlag);
    BankRecord record;
    // The record's fields are filled whether or not the bank hangs on a bus.
    Element().FillSolverRecord(&record, 1);
    position_ = record.position;
    valueAtZero_ = std::fabs(record.valueAtZero);
    generated_ = record.presentQ;
    capacitor_ = record.capacitorBank;
    rows_.clear();
    if (bank_ != nullptr) {
        const std::vector<BankBlock>& steps = bank_->Steps();
        for (std::size_t i = 1; i < steps.size(); ++i) rows_.push_back(Magnitudes(steps[i]));
    }
    if (!capacitor_) {
        setWindowTitle("Variable Reactor Properties");
        showCheck_->setText("Show Ql:");
    }
}

void CDlgVarCondenserProperties::ArrangeControls() {
    stepList_->setRowCount(0);
    for (std::size_t i = 0; i < rows_.size(); ++i) InsertRow(static_cast<int>(i));
    UpdateButtons();
}

void CDlgVarCondenserProperties::DoDataExchange(DataExchange& exchange) {
    exchange.Integer(*positionField_, position_);
    ExactNumber(exchange, *generatedField_, generated_);
    ExactNumber(exchange, *valueAtZeroField_, valueAtZero_, FieldRange<double>{1e-6, 99999999});
    exchange.Check(*showCheck_, show_);
}

bool CDlgVarCondenserProperties::eventFilter(QObject* watched, QEvent* event) {
    if (watched == valueAtZeroField_ && event->type() == QEvent::FocusOut) OnValueAtZeroEdited();
    return ElementDialog::eventFilter(watched, event);
}

void CDlgVarCondenserProperties::OnValueAtZeroEdited() {
    std::optional<double> typed = ParseNumber(valueAtZeroField_->text());
    if (typed && *typed < 0) valueAtZeroField_->setText(FormatNumber(-*typed));
}

void CDlgVarCondenserProperties::ShowRow(int row) {
    const BankBlock& block = rows_[static_cast<std::size_t>(row)];
    stepList_->SetItemTextIfChanged(row, 0, QString::number(block.count));
    stepList_->SetItemTextIfChanged(row, 1, QString::asprintf("%.6f", block.mvar));
}

void CDlgVarCondenserProperties::InsertRow(int at) {
    stepList_->insertRow(at);
    auto* count = new QTableWidgetItem;
    auto* value = new QTableWidgetItem;
    value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    stepList_->setItem(at, 0, count);
    stepList_->setItem(at, 1, value);
    ShowRow(at);
}

std::vector<int> CDlgVarCondenserProperties::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : stepList_->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CDlgVarCondenserProperties::UpdateButtons() {
    const std::vector<int> selected = SelectedRows();
    const BankButtons rule = BankButtonsFor(static_cast<int>(selected.size()), selected.empty() ? -1 : selected[0],
                                            stepList_->rowCount());
    editButton_->setEnabled(rule.edit);
    deleteButton_->setEnabled(rule.remove);
    upButton_->setEnabled(rule.up);
    downButton_->setEnabled(rule.down);
}

bool CDlgVarCondenserProperties::EditSteps(BankBlock& block) {
    CDlgBankSteps steps(Prompts(), this);
    steps.count = block.count;
    steps.value = block.mvar;
    if (steps.DoModal() != QDialog::Accepted) return false;
    block = Magnitudes({steps.count, steps.value});
    return true;
}

void CDlgVarCondenserProperties::OnAdd() {
    BankBlock block = kNewRow;
    if (!EditSteps(block)) return;
    rows_.push_back(block);
    InsertRow(stepList_->rowCount());
    UpdateButtons();
}

void CDlgVarCondenserProperties::OnEdit() {
    const std::vector<int> selected = SelectedRows();
    if (selected.size() != 1) return;
    BankBlock block = rows_[static_cast<std::size_t>(selected[0])];
    if (!EditSteps(block)) return;
    rows_[static_cast<std::size_t>(selected[0])] = block;
    ShowRow(selected[0]);
}

void CDlgVarCondenserProperties::OnDelete() {
    const std::vector<int> selected = SelectedRows();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) rows_.erase(rows_.begin() + *row);
    stepList_->DeleteSelectedItems();
    UpdateButtons();
}

void CDlgVarCondenserProperties::OnUp() { MoveSelected(-1); }

void CDlgVarCondenserProperties::OnDown() { MoveSelected(1); }

void CDlgVarCondenserProperties::MoveSelected(int offset) {
    const std::vector<int> selected = SelectedRows();
    if (selected.size() != 1) return;
    const int from = selected[0];
    const int to = from + offset;
    if (to < 0 || to >= stepList_->rowCount()) return;
    std::swap(rows_[static_cast<std::size_t>(from)], rows_[static_cast<std::size_t>(to)]);
    ShowRow(from);
    ShowRow(to);
    stepList_->clearSelection();
    stepList_->selectRow(to);
    UpdateButtons();
}

bool CDlgVarCondenserProperties::WriteBack() {
    Arrays().SetFlag(kShowFlag, show_);
    if (bank_ == nullptr) return false;
    // Reactor banks keep their values negative, whatever was typed.
    const double sign = capacitor_ ? 1.0 : -1.0;
    std::vector<BankBlock>& steps = bank_->Steps();
    steps.clear();
    steps.reserve(rows_.size() + 1);
    steps.push_back({0, sign * std::fabs(valueAtZero_)});
    for (const BankBlock& row : rows_) steps.push_back({row.count, sign * row.mvar});
    return false;
}
