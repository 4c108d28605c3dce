#include "dlg_power_line_properties.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "branch_data.h"
#include "control_id.h"
#include "element_interface.h"
#include "two_port_rules.h"

namespace BD = BranchData;

namespace {

constexpr int kNameFlag = 0;

const TwoPortDialog::Texts kLineTexts = {
    "Power Line Properties",
    true,
    "Max current [A]:",
    "Metered bus for flow interchange:",
    "Show Data on the \"From\" side",
    "Show Data on the \"To\" side",
    "Show Loss",
    "V base 'from' [kV]: ",
    "V base 'to' [kV]: ",
    CDlgPowerLineProperties::kLoadFactorId,
};

}  // namespace

CDlgPowerLineProperties::CDlgPowerLineProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : TwoPortDialog(element, prompts, parent, kLineTexts), showNameCheck_(new QCheckBox("Show Name", this)) {
    SetControlId(*showNameCheck_, kShowNameId);
    nameField_ = AddField(OwnRows(), kFirstOwnRow, 0, "Name:", kNameId);
    circuitsField_ = AddField(OwnRows(), kFirstOwnRow + 1, 0, "Number of circuits:", kCircuitsId);
    lengthField_ = AddField(OwnRows(), kFirstOwnRow + 2, 0, "Length [km]:", kLengthId);
    ChecksRows().addWidget(showNameCheck_, 3, 0);
}

std::string CDlgPowerLineProperties::LoadFactorText() { return LineLoadFactorText(Arrays().Values()); }

void CDlgPowerLineProperties::LoadMembers() {
    TwoPortDialog::LoadMembers();
    name_ = Element().GetName();
    circuits_ = static_cast<int>(Arrays().Value(BD::kCircuits));
    length_ = Arrays().Value(BD::kLength);
    showName_ = Arrays().Flag(kNameFlag);
}

void CDlgPowerLineProperties::DoDataExchange(DataExchange& exchange) {
    TwoPortDialog::DoDataExchange(exchange);
    exchange.Text(*nameField_, name_);
    exchange.Integer(*circuitsField_, circuits_, FieldRange<int>{1, 3});
    ExactNumber(exchange, *lengthField_, length_, FieldRange<double>{0, 99999999});
    exchange.Check(*showNameCheck_, showName_);
}

bool CDlgPowerLineProperties::WriteBack() {
    TwoPortDialog::WriteBack();
    Arrays().SetFlag(kNameFlag, showName_);
    if (FieldChanged(*circuitsField_)) Arrays().SetValue(BD::kCircuits, circuits_);
    Arrays().SetValue(BD::kLength, length_);
    Element().SetName(name_);
    return false;
}
