#include "dlg_load_directions.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "control_id.h"
#include "dlg_edit_all_directions.h"
#include "dlg_edit_load_direction.h"
#include "model_interface.h"
#include "record_cursor.h"
#include "windows_1250.h"

namespace {

constexpr int kNumberColumnWidth = 75;
constexpr int kListWidth = 600;
constexpr int kMinNameWidth = 150;
constexpr int kVisibleRows = 14;
// The factors of a row, in the order of their columns.
enum FactorIndex { kGeneration, kActiveLoad, kReactiveLoad };

QString Shown(double value) { return QString::number(value, 'f', 3); }

}  // namespace

CDlgLoadDirections::CDlgLoadDirections(PromptService& prompts, IRecordCursor& cursor, IModel& model, QWidget* parent)
    : DialogBase(prompts, parent),
      cursor_(cursor),
      model_(model),
      list_(new QTableWidget(0, kColumnCount)),
      outputPathField_(new QLineEdit),
      browseButton_(new QPushButton("...")),
      createOutputBox_(new QCheckBox("Create output file for later processing")),
      stopAtLoadBox_(new QCheckBox("Stop and show results on grid for total load [MW]:")),
      totalLoadField_(new QLineEdit),
      editButton_(new QPushButton("&Edit...")),
      adjustAllButton_(new QPushButton("Adjust &All...")) {
    setWindowTitle("Load Directions");
    rows_.reserve(500);
    SetControlId(*list_, kListId);
    SetControlId(*outputPathField_, kOutputPathId);
    SetControlId(*browseButton_, kBrowseId);
    SetControlId(*createOutputBox_, kCreateOutputId);
    SetControlId(*stopAtLoadBox_, kStopAtLoadId);
    SetControlId(*totalLoadField_, kTotalLoadId);
    SetControlId(*editButton_, kEditId);
    SetControlId(*adjustAllButton_, kAdjustAllId);
    auto* autoAdjust = new QPushButton("Auto Adjust");
    SetControlId(*autoAdjust, kAutoAdjustId);

    connect(editButton_, &QPushButton::clicked, this, &CDlgLoadDirections::OnEdit);
    connect(adjustAllButton_, &QPushButton::clicked, this, &CDlgLoadDirections::OnAdjustAll);
    connect(autoAdjust, &QPushButton::clicked, this, &CDlgLoadDirections::OnAutoAdjust);
    connect(browseButton_, &QPushButton::clicked, this, &CDlgLoadDirections::OnBrowse);
    connect(list_, &QTableWidget::itemSelectionChanged, this, &CDlgLoadDirections::UpdateEditButton);
    connect(stopAtLoadBox_, &QCheckBox::clicked, this, [this] { ApplyRunOptions(true); });
    connect(createOutputBox_, &QCheckBox::clicked, this, [this] { ApplyRunOptions(false); });

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(outputPathField_, 1);
    pathRow->addWidget(browseButton_);
    browseButton_->setFixedWidth(browseButton_->fontMetrics().horizontalAdvance("...") + 24);
    auto* stopRow = new QHBoxLayout;
    stopRow->addWidget(stopAtLoadBox_);
    stopRow->addWidget(totalLoadField_);
    stopRow->addStretch(1);
    auto* options = new QVBoxLayout;
    options->addWidget(createOutputBox_);
    options->addLayout(pathRow);
    options->addLayout(stopRow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    buttons->addButton(editButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(adjustAllButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(autoAdjust, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(list_);
    left->addLayout(options);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
}

void CDlgLoadDirections::OnInitDialog() {
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->setHorizontalHeaderLabels(
        {"Bus Name", "Pgen [MW]", "Pload [MW]", "Qload [MVAr]", "kPg", "kPl", "kQl"});
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    // A number column is wide enough for its heading in whatever font the
    // desktop gives; the name column takes what they leave of the list.
    int numbersWidth = 0;
    for (int column = kPgenColumn; column < kColumnCount; ++column) {
        QTableWidgetItem& heading = *list_->horizontalHeaderItem(column);
        heading.setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int width = std::max(kNumberColumnWidth, list_->fontMetrics().horizontalAdvance(heading.text()) + 16);
        list_->setColumnWidth(column, width);
        numbersWidth += width;
    }
    list_->horizontalHeaderItem(kNameColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const int listWidth = std::max(kListWidth, numbersWidth + kMinNameWidth);
    list_->setColumnWidth(kNameColumn, listWidth - numbersWidth);
    list_->setMinimumSize(listWidth + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width(),
                          kVisibleRows * list_->verticalHeader()->defaultSectionSize() +
                              list_->horizontalHeader()->sizeHint().height() + 2 * list_->frameWidth());
    outputPath_ = QFile::decodeName(QByteArray::fromStdString(model_.GetContinuationResult()));
    ListBuses();
    UpdateEditButton();
    adjustAllButton_->setEnabled(list_->rowCount() > 0);
    DialogBase::OnInitDialog();
    ApplyRunOptions(true);
}

void CDlgLoadDirections::ListBuses() {
    // Every bus under its own key: a bus group's record names no element
    // that could take the factors back. Mode 0 lists every bus as it is,
    // without messages and without touching its voltage.
    cursor_.SetTable(IRecordCursor::BusTable, 0);
    cursor_.SetGroupBuses(false);
    cursor_.SetMode(0);
    cursor_.MoveFirst();
    for (BusRecord record; cursor_.Next(record); record = BusRecord{}) {
        if (!record.hasLoad && !record.hasGeneration) continue;
        DirectionRow row;
        row.busKey = record.key;
        row.hasGeneration = record.hasGeneration;
        row.hasLoad = record.hasLoad;
        row.factors = {Factor{record.generationShare}, Factor{record.pLoadShare}, Factor{record.qLoadShare}};
        std::array<QString, kPgColumn> texts;
        texts[kNameColumn] = FromWindows1250(record.name ? record.name : "");
        if (row.hasGeneration) texts[kPgenColumn] = Shown(record.generationP);
        if (row.hasLoad) {
            texts[kPloadColumn] = Shown(record.loadP);
            texts[kQloadColumn] = Shown(record.loadQ);
        }
        AddRow(row, texts);
    }
}

void CDlgLoadDirections::AddRow(const DirectionRow& row, const std::array<QString, kPgColumn>& texts) {
    const int at = list_->rowCount();
    list_->insertRow(at);
    for (int column = 0; column < kColumnCount; ++column) {
        auto* item = new QTableWidgetItem(column < kPgColumn ? texts[static_cast<std::size_t>(column)] : QString());
        if (column != kNameColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        list_->setItem(at, column, item);
    }
    // Generation and active load show as magnitudes, reactive load with
    // its sign; OK hands back the stored values, signs included.
    if (row.hasGeneration) list_->item(at, kPgColumn)->setText(Shown(std::fabs(row.factors[kGeneration].value)));
    if (row.hasLoad) {
        list_->item(at, kPlColumn)->setText(Shown(std::fabs(row.factors[kActiveLoad].value)));
        list_->item(at, kQlColumn)->setText(Shown(row.factors[kReactiveLoad].value));
    }
    rows_.push_back(row);
}

void CDlgLoadDirections::DoDataExchange(DataExchange& exchange) {
    if (exchange.Saving()) {
        outputPath_ = outputPathField_->text();
    } else {
        outputPathField_->setText(outputPath_);
    }
    exchange.Check(*createOutputBox_, createOutput_);
    exchange.Check(*stopAtLoadBox_, stopAtLoad_);
    exchange.Number(*totalLoadField_, totalLoad_);
}

bool CDlgLoadDirections::Validate() {
    if (createOutput_ == 1 && outputPath_.isEmpty()) {
        Message("Please specify output file!");
        return false;
    }
    return true;
}

void CDlgLoadDirections::Commit() {
    model_.SetContinuationResult(QFile::encodeName(outputPath_).toStdString());
    for (const DirectionRow& row : rows_) {
        if (std::none_of(row.factors.begin(), row.factors.end(), [](const Factor& f) { return f.edited; })) continue;
        BusRecord record;
        record.key = row.busKey;
        record.hasGeneration = row.hasGeneration;
        record.hasLoad = row.hasLoad;
        record.generationShare = row.factors[kGeneration].value;
        record.pLoadShare = row.factors[kActiveLoad].value;
        record.qLoadShare = row.factors[kReactiveLoad].value;
        model_.ApplyRecordToElement(record);
    }
}

void CDlgLoadDirections::SetFactor(int row, int factor, double value) {
    Factor& stored = rows_[static_cast<std::size_t>(row)].factors[static_cast<std::size_t>(factor)];
    if (stored.value == value) return;
    stored.value = value;
    stored.edited = true;
    list_->item(row, kPgColumn + factor)->setText(Shown(value));
}

DirectionFactors CDlgLoadDirections::ShownFactors(int row) const {
    auto shown = [this, row](int column) { return list_->item(row, column)->text().toDouble(); };
    return {shown(kPgColumn), shown(kPlColumn), shown(kQlColumn)};
}

void CDlgLoadDirections::OnEdit() {
    const std::vector<int> rows = SelectedRows();
    if (rows.size() == 1) EditOneRow(rows.front());
    if (rows.size() > 1) EditRows(rows);
}

void CDlgLoadDirections::EditOneRow(int row) {
    const DirectionRow& data = rows_[static_cast<std::size_t>(row)];
    CDlgEditLoadDirection dialog(Prompts(), ShownFactors(row), data.hasGeneration, data.hasLoad, this);
    if (dialog.DoModal() != QDialog::Accepted) return;
    const TypedFactors& typed = dialog.Typed();
    if (typed.generation) SetFactor(row, kGeneration, *typed.generation);
    if (typed.activeLoad) SetFactor(row, kActiveLoad, *typed.activeLoad);
    if (typed.reactiveLoad) SetFactor(row, kReactiveLoad, *typed.reactiveLoad);
}

void CDlgLoadDirections::EditRows(const std::vector<int>& rows) {
    // The dialog shows the factors of the first selected row with
    // generation and of the first with load.
    int generationRow = -1;
    int loadRow = -1;
    for (int row : rows) {
        const DirectionRow& data = rows_[static_cast<std::size_t>(row)];
        if (generationRow < 0 && data.hasGeneration) generationRow = row;
        if (loadRow < 0 && data.hasLoad) loadRow = row;
        if (generationRow >= 0 && loadRow >= 0) break;
    }
    DirectionFactors shown;
    if (generationRow >= 0) shown.generation = ShownFactors(generationRow).generation;
    if (loadRow >= 0) {
        const DirectionFactors loadShown = ShownFactors(loadRow);
        shown.activeLoad = loadShown.activeLoad;
        shown.reactiveLoad = loadShown.reactiveLoad;
    }
    CDlgEditAllDirections dialog(Prompts(), shown, generationRow >= 0, loadRow >= 0, this);
    if (dialog.DoModal() != QDialog::Accepted) return;

    // A field left as shown gives every row the exact value behind the
    // text it showed.
    auto given = [this](const std::optional<double>& typed, int row, int factor) {
        return typed ? *typed : rows_[static_cast<std::size_t>(row)].factors[static_cast<std::size_t>(factor)].value;
    };
    const TypedFactors& typed = dialog.Typed();
    for (int row : rows) {
        const DirectionRow& data = rows_[static_cast<std::size_t>(row)];
        if (dialog.AdjustGeneration() && data.hasGeneration) {
            SetFactor(row, kGeneration, given(typed.generation, generationRow, kGeneration));
        }
        if (!data.hasLoad) continue;
        if (dialog.AdjustActiveLoad()) SetFactor(row, kActiveLoad, given(typed.activeLoad, loadRow, kActiveLoad));
        if (dialog.AdjustReactiveLoad()) {
            SetFactor(row, kReactiveLoad, given(typed.reactiveLoad, loadRow, kReactiveLoad));
        }
    }
}

void CDlgLoadDirections::OnAdjustAll() {
    list_->setFocus();
    list_->selectAll();
    UpdateEditButton();
    OnEdit();
}

void CDlgLoadDirections::OnAutoAdjust() {
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const DirectionRow& data = rows_[static_cast<std::size_t>(row)];
        if (data.hasGeneration) SetFactor(row, kGeneration, 1.0);
        if (data.hasLoad) {
            SetFactor(row, kActiveLoad, 1.0);
            SetFactor(row, kReactiveLoad, 1.0);
        }
    }
}

void CDlgLoadDirections::OnBrowse() {
    const std::array<FileFilter, 2> filters{FileFilter{"Result Data (*.PRN,*.TXT,*.DAT) ", "*.PRN;*.TXT;*.DAT"},
                                            FileFilter{"All Files (*.*)", "*"}};
    std::optional<QString> path = Prompts().SaveFileName(QString(), filters, outputPathField_->text());
    if (!path) return;
    if (QFileInfo(*path).suffix().isEmpty()) *path += ".TXT";
    outputPath_ = *path;
    outputPathField_->setText(outputPath_);
}

std::vector<int> CDlgLoadDirections::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CDlgLoadDirections::UpdateEditButton() { editButton_->setEnabled(list_->selectionModel()->hasSelection()); }

void CDlgLoadDirections::ApplyRunOptions(bool fromStopCheck) {
    if (fromStopCheck) {
        if (stopAtLoadBox_->isChecked()) createOutputBox_->setChecked(false);
        createOutputBox_->setEnabled(!stopAtLoadBox_->isChecked());
        totalLoadField_->setEnabled(stopAtLoadBox_->isChecked());
    }
    outputPathField_->setEnabled(createOutputBox_->isChecked());
    browseButton_->setEnabled(createOutputBox_->isChecked());
}
