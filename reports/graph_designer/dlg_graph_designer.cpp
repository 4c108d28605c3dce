// The graph designer's window: its controls, their values, its set-up and
// the interface the program holds it by.

#include "dlg_graph_designer.h"

#include <exception>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "colour_picker.h"
#include "control_id.h"
#include "graph_header.h"
#include "grid_ctrl.h"
#include "grid_text_format.h"
#include "prompt_service.h"
#include "windows_1250.h"

namespace {

// The headings; their trailing blanks widen the columns that auto-sizing
// fits to them.
constexpr const char* kGraphGridLabels[CDlgGraphDesigner::kColumnCount] = {
    "No", "X-axis     ", "Y-axis     ", "X-Title     ", "Y-Title     ", "Title                  ", "Color"};

constexpr QSize kInitialSize(680, 520);

struct DesignerButton {
    int id;
    const char* text;
    void (CDlgGraphDesigner::*handler)();
};

QPushButton* MakeButton(const DesignerButton& button, CDlgGraphDesigner* dialog) {
    auto* push = new QPushButton(button.text, dialog);
    SetControlId(*push, button.id);
    push->setAutoDefault(false);
    QObject::connect(push, &QPushButton::clicked, dialog, button.handler);
    return push;
}

}  // namespace

CDlgGraphDesigner::CDlgGraphDesigner(CReferenceManager* manager, QWidget* parent, PromptService& prompts)
    : QDialog(parent),
      manager_(manager),
      parent_(parent),
      prompts_(prompts),
      grid_(new CGridCtrl(0, 0, 0, 0, this)),
      variables_(new QListWidget(this)),
      picker_(new CColourPicker(prompts, this)),
      types_(new QComboBox(this)),
      horizontalCheck_(new QCheckBox("Horizontal", this)),
      verticalCheck_(new QCheckBox("Vertical", this)),
      oneGraphCheck_(new QCheckBox("One Graph", this)) {
    BuildControls();
}

void CDlgGraphDesigner::BuildControls() {
    SetControlId(*variables_, 1015);
    variables_->setSelectionMode(QAbstractItemView::SingleSelection);
    SetControlId(*picker_, 1018);
    picker_->setControlId(1018);
    picker_->setText("Color");
    picker_->setColour(colour_);
    SetControlId(*horizontalCheck_, 1023);
    SetControlId(*verticalCheck_, 1024);
    SetControlId(*oneGraphCheck_, 1025);
    connect(oneGraphCheck_, &QCheckBox::clicked, this, &CDlgGraphDesigner::OnOneGraph);
    SetControlId(*grid_, 1026);
    grid_->SetNotifySink(this);
    SetControlId(*types_, 1027);
    for (const char* type : kGraphTypes) types_->addItem(type);

    auto* variables = new QVBoxLayout;
    variables->addWidget(new QLabel("Variables:", this));
    variables->addWidget(variables_);

    auto* curve = new QVBoxLayout;
    curve->addWidget(MakeButton({1016, "Use as\n &x axis", &CDlgGraphDesigner::OnUseAsX}, this));
    curve->addWidget(MakeButton({1017, "Use as\n &y axis", &CDlgGraphDesigner::OnUseAsY}, this));
    curve->addWidget(picker_);
    curve->addWidget(MakeButton({1019, "Refresh", &CDlgGraphDesigner::OnRefresh}, this));
    curve->addStretch();

    auto* rows = new QVBoxLayout;
    rows->addWidget(MakeButton({1020, "&New", &CDlgGraphDesigner::AddRow}, this));
    rows->addWidget(MakeButton({1021, "&Insert", &CDlgGraphDesigner::OnInsert}, this));
    rows->addWidget(MakeButton({1022, "&Delete", &CDlgGraphDesigner::OnDelete}, this));
    rows->addStretch();

    auto* showGrid = new QGroupBox("Show Grid", this);
    auto* showGridLayout = new QVBoxLayout(showGrid);
    showGridLayout->addWidget(horizontalCheck_);
    showGridLayout->addWidget(verticalCheck_);
    auto* type = new QGroupBox("Type", this);
    (new QVBoxLayout(type))->addWidget(types_);
    auto* options = new QVBoxLayout;
    options->addWidget(showGrid);
    options->addWidget(oneGraphCheck_);
    options->addWidget(type);
    options->addStretch();

    auto* ok = new QPushButton("OK", this);
    SetControlId(*ok, 1);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgGraphDesigner::OnOK);
    auto* cancel = new QPushButton("Cancel", this);
    SetControlId(*cancel, 2);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* closing = new QVBoxLayout;
    closing->addWidget(ok);
    closing->addWidget(cancel);
    closing->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(variables, 1);
    top->addLayout(curve);
    top->addLayout(rows);
    top->addLayout(options);
    top->addLayout(closing);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel("Graphs:", this));
    layout->addWidget(grid_, 1);
    resize(kInitialSize);
}

QPushButton& CDlgGraphDesigner::Button(int id) const { return *FindControl<QPushButton>(*this, id); }

void CDlgGraphDesigner::ReadControls() {
    colour_ = picker_->colour();
    horizontal_ = horizontalCheck_->isChecked();
    vertical_ = verticalCheck_->isChecked();
    oneGraph_ = oneGraphCheck_->isChecked();
    graphType_ = types_->currentIndex();
}

void CDlgGraphDesigner::ShowValues() {
    picker_->setColour(colour_);
    horizontalCheck_->setChecked(horizontal_);
    verticalCheck_->setChecked(vertical_);
    oneGraphCheck_->setChecked(oneGraph_);
    types_->setCurrentIndex(graphType_);
}

bool CDlgGraphDesigner::OnInitDialog() {
    setWindowTitle("Graph: " + QFile::decodeName(QByteArray::fromStdString(dataFile_)));
    graphType_ = 0;
    types_->setCurrentIndex(graphType_);
    for (int id : {1016, 1017, 1021, 1022, 1019}) Button(id).setEnabled(false);

    grid_->SetEditable(true);
    grid_->SetListMode(true);
    grid_->EnableDragAndDrop(true);
    grid_->GetDefaultCell(false, false)->SetBackColour(kCellBackground);
    grid_->SetSingleRowSelection(true);
    if (!grid_->SetRowCount(1) || !grid_->SetColumnCount(kColumnCount) || !grid_->SetFixedRowCount(1) ||
        !grid_->SetFixedColumnCount(1)) {
        prompts_.Ask("Out of memory.", {}, PromptIcon::Warning, PromptButtons::Ok);
        return false;
    }
    for (int col = 0; col < kColumnCount; ++col) {
        CGridItem heading;
        heading.row = 0;
        heading.col = col;
        heading.mask = GridItemMask::Text | GridItemMask::Format;
        heading.format = TextFormat::WordBreak;
        heading.text = kGraphGridLabels[col];
        grid_->SetCell(heading);
    }
    grid_->AutoSize();

    ListVariables();
    if (HasVariables()) {
        variables_->setCurrentRow(0);
        SelectedVariable(xName_, xColumn_);
    }
    horizontal_ = vertical_ = oneGraph_ = true;
    ShowValues();
    return true;
}

void CDlgGraphDesigner::ListVariables() {
    variables_->clear();
    const std::vector<std::string> names = ReadColumnNames(dataFile_.c_str());
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* item = new QListWidgetItem(FromWindows1250(names[i]), variables_);
        item->setData(Qt::UserRole, static_cast<int>(i));
    }
}

bool CDlgGraphDesigner::HasVariables() const { return variables_->count() > 0; }

bool CDlgGraphDesigner::SelectedVariable(QString& name, int& column) const {
    QListWidgetItem* item = variables_->currentItem();
    if (item == nullptr || !item->isSelected()) return false;
    name = item->text();
    column = item->data(Qt::UserRole).toInt();
    return true;
}

void CDlgGraphDesigner::Release() { delete this; }

void CDlgGraphDesigner::AddRef() {}

void CDlgGraphDesigner::SetDataFile(const char* path) {
    try {
        dataFile_ = path == nullptr ? std::string() : std::string(path);
    } catch (const std::exception&) {
    }
}

int CDlgGraphDesigner::DoModal() {
    int result = QDialog::Rejected;
    try {
        if (OnInitDialog()) result = prompts_.RunModal(*this);
    } catch (const std::exception&) {
    }
    return result;
}

IDlgGraphDesigner* createGraphDesigner(CReferenceManager* manager, QWidget* parent, PromptService& prompts) {
    try {
        return new CDlgGraphDesigner(manager, parent, prompts);
    } catch (const std::exception&) {
        return nullptr;
    }
}
