#include "free_element_dlg.h"

#include <utility>

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

#include "control_id.h"

FreeElementDlg::FreeElementDlg(IElement& element, std::string title, PromptService& prompts, QWidget* parent)
    : ElementDialog(element, prompts, parent), title_(std::move(title)), showCheck_(new QCheckBox("Show text", this)) {
    setWindowTitle("Free Element");
    SetControlId(*showCheck_, kShowId);
    auto* grid = new QGridLayout;
    textField_ = AddField(*grid, 0, 0, "Text:", kTextId);
    SetContent(grid, {showCheck_});
}

void FreeElementDlg::LoadMembers() { show_ = Arrays().Flag(0); }

void FreeElementDlg::ArrangeControls() {
    if (title_.empty()) {
        showCheck_->hide();
    } else {
        setWindowTitle(QString::fromLatin1(title_.c_str()));
    }
    if (OwnerLabelMode()) textField_->setEnabled(false);
}

void FreeElementDlg::DoDataExchange(DataExchange& exchange) {
    exchange.Text(*textField_, text);
    exchange.Check(*showCheck_, show_);
}

bool FreeElementDlg::WriteBack() {
    if (!title_.empty()) Arrays().SetFlag(0, show_ != 0 ? 1 : 0);
    return false;
}
