#include "dlg_voltage_prof_graph_gen.h"

#include <fstream>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_id.h"
#include "pv_curve_table.h"
#include "windows_1250.h"

CDlgVoltageProfGraphGen::CDlgVoltageProfGraphGen(PromptService& prompts, std::string dataFile, QWidget* parent)
    : DialogBase(prompts, parent), dataFile_(std::move(dataFile)), list_(new QListWidget) {
    setWindowTitle("Voltage Profiles - Graph Generator");
    SetControlId(*list_, kListId);
    auto* selectAll = new QPushButton("Select All");
    auto* deselectAll = new QPushButton("Deselect All");
    SetControlId(*selectAll, kSelectAllId);
    SetControlId(*deselectAll, kDeselectAllId);
    connect(selectAll, &QPushButton::clicked, this, &CDlgVoltageProfGraphGen::SelectAll);
    connect(deselectAll, &QPushButton::clicked, this, &CDlgVoltageProfGraphGen::DeselectAll);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
    buttons->addButton(selectAll, QDialogButtonBox::ActionRole);
    buttons->addButton(deselectAll, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Bus voltages (voltage drop ordered):"));
    left->addWidget(list_);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buttons);
}

void CDlgVoltageProfGraphGen::OnInitDialog() {
    std::ifstream table(dataFile_, std::ios::binary);
    if (table) {
        PvCurveColumns columns = ReadPvCurveColumns(table);
        usable_ = columns.usable;
        xName_ = std::move(columns.xName);
        yNames_ = std::move(columns.yNames);
    }
    for (std::size_t i = 0; i < yNames_.size(); ++i) {
        auto* item = new QListWidgetItem(FromWindows1250(yNames_[i]), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(i < kCheckedAtFirst ? Qt::Checked : Qt::Unchecked);
    }
    DialogBase::OnInitDialog();
}

void CDlgVoltageProfGraphGen::Commit() {
    chosen_.clear();
    int checked = 0;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->checkState() != Qt::Checked) continue;
        if (++checked > kMaxChosen) {
            Prompts().Ask("Only first 12 variables will be added on graph", "Too many selections", PromptIcon::Warning,
                          PromptButtons::Ok);
            break;
        }
        chosen_.push_back(yNames_[static_cast<std::size_t>(row)]);
    }
    if (chosen_.empty()) usable_ = false;
}

void CDlgVoltageProfGraphGen::CheckEvery(bool checked) {
    for (int row = 0; row < list_->count(); ++row) list_->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}
