#include "dlg_save_results.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ado_recordset.h"
#include "c_locale_format.h"
#include "control_id.h"
#include "db_combo.h"
#include "results_cases.h"

CDlgSaveResults::CDlgSaveResults(PromptService& prompts, CADODataBase& database, std::string systemName,
                                 IRecordCursor& cursor, Mode mode, QWidget* parent)
    : DialogBase(prompts, parent),
      database_(database),
      systemName_(std::move(systemName)),
      cursor_(cursor),
      mode_(mode),
      descriptionLabel_(new QLabel("Description:")),
      descriptionField_(new QLineEdit),
      caseList_(new CDBCombo),
      deleteAllBox_(new QCheckBox("Delete all existing results for this model")) {
    setWindowTitle("Save Results");
    SetControlId(*descriptionLabel_, kDescriptionLabelId);
    SetControlId(*descriptionField_, kDescriptionId);
    SetControlId(*caseList_, kCaseListId);
    SetControlId(*deleteAllBox_, kDeleteAllId);
    descriptionField_->setMinimumWidth(320);

    // The case list takes the description's place in delete mode.
    auto* fields = new QGridLayout;
    fields->addWidget(descriptionLabel_, 0, 0);
    fields->addWidget(descriptionField_, 0, 1);
    fields->addWidget(caseList_, 0, 1);
    fields->addWidget(deleteAllBox_, 1, 1);
    caseList_->hide();
    deleteAllBox_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

void CDlgSaveResults::OnInitDialog() {
    DialogBase::OnInitDialog();
    if (mode_ != Mode::Delete) return;
    setWindowTitle("Delete Results");
    descriptionField_->hide();
    caseList_->show();
    deleteAllBox_->show();
    FillSolutions();
    if (caseList_->count() == 0) okButton_->setEnabled(false);
}

void CDlgSaveResults::DoDataExchange(DataExchange& exchange) {
    exchange.Text(*descriptionField_, description_);
    exchange.Check(*deleteAllBox_, deleteAll_);
}

void CDlgSaveResults::accept() {
    if (!UpdateData(true)) return;
    if (mode_ == Mode::Delete ? DeleteResults() : SaveResults()) QDialog::accept();
}

bool CDlgSaveResults::GetSystemID(int* id) {
    const SystemLookup lookup = FindSystem(database_, systemName_, *id);
    if (lookup == SystemLookup::Failed) Tell("Cannot execute getSystem!");
    return lookup == SystemLookup::Found;
}

bool CDlgSaveResults::FillSolutions() {
    int systemId = 0;
    if (!GetSystemID(&systemId)) return false;
    CADORecordset rows(&database_);
    if (!rows.Open(FormatCLocale("SELECT ID, Description from Solutions WHERE SystemID=%d ORDER BY Description",
                                 systemId)) ||
        rows.GetRecordCount() == 0)
        return false;
    if (!rows.FillComboBox(*caseList_, "Description", "ID", Prompts())) return false;
    caseList_->setCurrentIndex(0);
    return true;
}

bool CDlgSaveResults::SaveResults() {
    if (auto failure = SaveResultCase(database_, systemName_, description_, cursor_)) {
        Tell(*failure);
        return false;
    }
    Tell("Results saved!");
    return true;
}

bool CDlgSaveResults::DeleteResults() {
    int systemId = 0;
    int caseId = 0;
    if (!GetSystemID(&systemId) || (deleteAll_ == 0 && !caseList_->GetSelectedItemData(caseId))) {
        Tell("There is nothing to delete!");
        return true;
    }
    const bool deleted =
        deleteAll_ != 0 ? DeleteSystemResults(database_, systemId) : DeleteResultCase(database_, systemId, caseId);
    if (!deleted) {
        Tell("Cannot delete results!");
        return false;
    }
    Tell(deleteAll_ != 0 ? "All results for this model are deleted!" : "Case deleted!");
    return true;
}

void CDlgSaveResults::Tell(std::string_view text) {
    Prompts().MessageBox(text, {}, PromptIcon::None, PromptButtons::Ok);
}
