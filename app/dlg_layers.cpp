#include "dlg_layers.h"

#include <algorithm>
#include <array>

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "control_id.h"
#include "windows_1250.h"

namespace {

constexpr int kNameColumn = 0;
constexpr int kColumnCount = 5;
constexpr int kNumberColumnWidth = 75;
// The name column takes what the four number columns leave of the list.
constexpr int kListWidth = 500;

}  // namespace

CDlgLayers::CDlgLayers(PromptService& prompts, BackgroundPictures& pictures, std::function<void()> repaint,
                       QWidget* parent)
    : DialogBase(prompts, parent),
      pictures_(pictures),
      repaint_(std::move(repaint)),
      list_(new QTableWidget(0, kColumnCount)),
      nameField_(new QLineEdit),
      leftField_(new QLineEdit),
      topField_(new QLineEdit),
      rightField_(new QLineEdit),
      bottomField_(new QLineEdit) {
    setWindowTitle("Layers");
    SetControlId(*list_, kListId);
    SetControlId(*nameField_, kNameId);
    SetControlId(*leftField_, kLeftId);
    SetControlId(*topField_, kTopId);
    SetControlId(*rightField_, kRightId);
    SetControlId(*bottomField_, kBottomId);

    auto* addNew = new QPushButton("Add New...");
    auto* remove = new QPushButton("Remove");
    auto* update = new QPushButton("Update");
    SetControlId(*remove, kRemoveId);
    SetControlId(*update, kUpdateId);
    connect(addNew, &QPushButton::clicked, this, &CDlgLayers::AddLayer);
    connect(remove, &QPushButton::clicked, this, &CDlgLayers::OnRemove);
    connect(update, &QPushButton::clicked, this, &CDlgLayers::OnUpdate);
    connect(list_, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow) {
        if (row != previousRow) OnRowChanged(row);
    });
    // A row whose check changes becomes the selected one, so that the
    // fields, which now show its layer, are never stored into another.
    connect(list_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kNameColumn) SelectRow(item->row());
    });

    auto* fields = new QFormLayout;
    fields->addRow("Name:", nameField_);
    fields->addRow("Left:", leftField_);
    fields->addRow("Top:", topField_);
    fields->addRow("Right:", rightField_);
    fields->addRow("Bottom:", bottomField_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    buttons->addButton(addNew, QDialogButtonBox::ActionRole);
    buttons->addButton(remove, QDialogButtonBox::ActionRole);
    buttons->addButton(update, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(list_);
    left->addLayout(fields);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
}

void CDlgLayers::OnInitDialog() {
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->verticalHeader()->hide();
    list_->setHorizontalHeaderLabels({" Name", "Left", "Top", "Right", "Bottom"});
    list_->setMinimumWidth(kListWidth + 2 * list_->frameWidth());
    list_->setColumnWidth(kNameColumn, kListWidth - 4 * kNumberColumnWidth);
    for (int column = 1; column < kColumnCount; ++column) {
        list_->setColumnWidth(column, kNumberColumnWidth);
        list_->horizontalHeaderItem(column)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    list_->horizontalHeaderItem(kNameColumn)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    {
        const QSignalBlocker filling(list_);
        for (std::size_t i = 0; i < pictures_.size(); ++i) AppendRow(static_cast<int>(i));
    }
    DialogBase::OnInitDialog();
    if (list_->rowCount() > 0) SelectRow(0);
}

void CDlgLayers::DoDataExchange(DataExchange& exchange) {
    exchange.Text(*nameField_, name_);
    exchange.Integer(*leftField_, rect_.left);
    exchange.Integer(*topField_, rect_.top);
    exchange.Integer(*rightField_, rect_.right);
    exchange.Integer(*bottomField_, rect_.bottom);
}

bool CDlgLayers::LoadLayerFile(const QString& path, const QString& name, bool useDefaultRect) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray read = file.readAll();
    std::optional<BackgroundPicture> layer =
        LayerOfMetafile(std::vector<std::uint8_t>(read.begin(), read.end()), ToWindows1250(name), useDefaultRect);
    if (!layer) return false;
    pictures_.push_back(std::move(*layer));
    return true;
}

void CDlgLayers::AddLayer() {
    const std::array<FileFilter, 1> filters{FileFilter{"Enhanced Meta File (*.EMF)", "*.EMF"}};
    std::optional<QString> path = Prompts().OpenFileName(QString(), filters, QString());
    if (!path) return;
    if (!LoadLayerFile(*path, "New Layer", false)) {
        Message(QString("Cannot load layer file: %1!").arg(*path));
        return;
    }
    modified_ = true;
    int row = static_cast<int>(pictures_.size()) - 1;
    {
        const QSignalBlocker filling(list_);
        AppendRow(row);
    }
    SelectRow(row);
    repaint_();
}

void CDlgLayers::OnUpdate() {
    int row = SelectedRow();
    if (row < 0 || !UpdateData(true) || row >= static_cast<int>(pictures_.size())) return;
    BackgroundPicture& layer = pictures_[row];
    bool rectChanged = layer.rect != rect_;
    bool nameChanged = layer.name != name_;
    if (!rectChanged && !nameChanged) return;
    layer.rect = rect_;
    layer.name = name_;
    {
        const QSignalBlocker filling(list_);
        ShowRow(row);
    }
    // A hidden layer's change shows nowhere yet, but it is the document's.
    modified_ = true;
    if (rectChanged && layer.shown) repaint_();
}

void CDlgLayers::OnRemove() {
    int row = SelectedRow();
    if (row < 0 || row >= static_cast<int>(pictures_.size())) return;
    bool wasShown = pictures_[row].shown;
    pictures_.erase(pictures_.begin() + row);
    {
        const QSignalBlocker filling(list_);
        list_->removeRow(row);
    }
    modified_ = true;
    if (list_->rowCount() > 0) SelectRow(std::min(row, list_->rowCount() - 1));
    if (wasShown) repaint_();
}

void CDlgLayers::OnRowChanged(int row) {
    if (row < 0 || row >= list_->rowCount() || row >= static_cast<int>(pictures_.size())) return;
    BackgroundPicture& layer = pictures_[row];
    rect_ = layer.rect;
    name_ = layer.name;
    UpdateData(false);

    bool checked = list_->item(row, kNameColumn)->checkState() == Qt::Checked;
    if (checked == layer.shown) return;
    layer.shown = checked;
    modified_ = true;
    repaint_();
}

void CDlgLayers::AppendRow(int layer) {
    list_->insertRow(layer);
    for (int column = 0; column < kColumnCount; ++column) {
        auto* item = new QTableWidgetItem;
        if (column != kNameColumn) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        list_->setItem(layer, column, item);
    }
    list_->item(layer, kNameColumn)->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    list_->item(layer, kNameColumn)->setCheckState(pictures_[layer].shown ? Qt::Checked : Qt::Unchecked);
    ShowRow(layer);
}

void CDlgLayers::ShowRow(int row) {
    const BackgroundPicture& layer = pictures_[row];
    list_->item(row, kNameColumn)->setText(FromWindows1250(layer.name));
    const std::array<int, 4> edges{layer.rect.left, layer.rect.top, layer.rect.right, layer.rect.bottom};
    for (std::size_t i = 0; i < edges.size(); ++i) {
        list_->item(row, static_cast<int>(i) + 1)->setText(QString::number(edges[i]));
    }
}

int CDlgLayers::SelectedRow() const {
    const QList<QTableWidgetSelectionRange> ranges = list_->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.first().topRow();
}

// The fields follow the selected row even when it was current already.
void CDlgLayers::SelectRow(int row) {
    {
        const QSignalBlocker filling(list_);
        list_->setCurrentCell(row, kNameColumn);
        list_->selectRow(row);
        list_->scrollToItem(list_->item(row, kNameColumn));
    }
    OnRowChanged(row);
}
