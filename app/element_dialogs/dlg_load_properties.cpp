#include "dlg_load_properties.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>

#include "control_id.h"

namespace {

enum LoadValue : int { kP = 0, kQ = 1, kFirstPart = 11 };

// One group of three fields: its caption and, per field, label and id.
struct PartGroup {
    const char* caption;
    std::array<std::pair<const char*, int>, 3> fields;
};

const std::array<PartGroup, 2> kPartGroups = {{
    {"P-V Dependency",
     {{{"Constant P [MW]:", CDlgLoadProperties::kPConstantPowerId},
       {"Constant Ia [MW]:", CDlgLoadProperties::kPConstantCurrentId},
       {"Constant Z [MW]:", CDlgLoadProperties::kPConstantImpedanceId}}}},
    {"Q-V Dependency",
     {{{"Constant Q [MVAr]:", CDlgLoadProperties::kQConstantPowerId},
       {"Constant I [MVAr]:", CDlgLoadProperties::kQConstantCurrentId},
       {"Constant Z [MVAr]:", CDlgLoadProperties::kQConstantImpedanceId}}}},
}};

}  // namespace

CDlgLoadProperties::CDlgLoadProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : ElementDialog(element, prompts, parent), showCheck_(new QCheckBox("Display Pload and Qload values", this)) {
    setWindowTitle("Load Properties");
    SetControlId(*showCheck_, kShowId);
    auto* content = new QVBoxLayout;

    auto* calculated = new QGroupBox("Calculated Values", this);
    auto* calculatedGrid = new QGridLayout(calculated);
    pField_ = AddReadOnlyField(*calculatedGrid, 0, 0, "P load [MW]:", kPId);
    qField_ = AddReadOnlyField(*calculatedGrid, 1, 0, "Q load [MVAr]:", kQId);
    content->addWidget(calculated);

    std::size_t part = 0;
    for (const PartGroup& group : kPartGroups) {
        auto* box = new QGroupBox(QString::fromLatin1(group.caption), this);
        auto* grid = new QGridLayout(box);
        for (int row = 0; row < 3; ++row) {
            const auto& [label, id] = group.fields[row];
            partFields_[part++] = AddField(*grid, row, 0, label, id);
        }
        content->addWidget(box);
    }
    SetContent(content, {showCheck_});
}

void CDlgLoadProperties::LoadMembers() {
    const ElementArrays& values = Arrays();
    p_ = values.Value(kP);
    q_ = values.Value(kQ);
    for (std::size_t i = 0; i < parts_.size(); ++i) parts_[i] = values.Value(kFirstPart + static_cast<int>(i));
    show_ = values.Flag(0);
}

void CDlgLoadProperties::DoDataExchange(DataExchange& exchange) {
    ExactNumber(exchange, *pField_, p_);
    ExactNumber(exchange, *qField_, q_);
    for (std::size_t i = 0; i < parts_.size(); ++i) ExactNumber(exchange, *partFields_[i], parts_[i]);
    exchange.Check(*showCheck_, show_);
}

bool CDlgLoadProperties::WriteBack() {
    ElementArrays& values = Arrays();
    bool changed = false;
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const int index = kFirstPart + static_cast<int>(i);
        changed = changed || parts_[i] != values.Value(index);
        values.SetValue(index, parts_[i]);
    }
    values.SetFlag(0, show_);
    return changed;
}
