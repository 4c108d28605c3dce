#include "dlg_connector_properties.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "control_id.h"
#include "element_interface.h"

CDlgConnectorProperties::CDlgConnectorProperties(IElement& element, PromptService& prompts, QWidget* parent)
    : ElementDialog(element, prompts, parent), showCheck_(new QCheckBox("Show P/Q values", this)) {
    setWindowTitle("Connector Properties");
    SetControlId(*showCheck_, kShowId);
    auto* grid = new QGridLayout;
    nameField_ = AddField(*grid, 0, 0, "Name:", kNameId);
    SetContent(grid, {showCheck_});
}

void CDlgConnectorProperties::LoadMembers() {
    name_ = Element().GetName();
    show_ = Arrays().Flag(0);
}

void CDlgConnectorProperties::DoDataExchange(DataExchange& exchange) {
    exchange.Text(*nameField_, name_);
    exchange.Check(*showCheck_, show_);
}

bool CDlgConnectorProperties::WriteBack() {
    Arrays().SetFlag(0, show_);
    Element().SetName(name_);
    return false;
}
