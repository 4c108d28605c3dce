#include "dlg_compare_results.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ado_recordset.h"
#include "c_locale_format.h"
#include "control_id.h"
#include "db_combo.h"
#include "report_interface.h"
#include "windows_1250.h"

namespace {

QGroupBox* CaseGroup(const char* title, CDBCombo* system, QListWidget* cases) {
    auto* group = new QGroupBox(title);
    auto* layout = new QFormLayout(group);
    layout->addRow("System:", system);
    layout->addRow(cases);
    return group;
}

}  // namespace

CDlgCompareResults::CDlgCompareResults(PromptService& prompts, CADODataBase& database, int systemId,
                                       ReportMaker makeReport, QWidget* parent)
    : DialogBase(prompts, parent),
      database_(database),
      systemId_(systemId),
      makeReport_(std::move(makeReport)),
      system1_(new CDBCombo),
      system2_(new CDBCombo),
      cases1_(new QListWidget),
      cases2_(new QListWidget) {
    setWindowTitle("Compare Result Cases");
    SetControlId(*system1_, kSystem1Id);
    SetControlId(*system2_, kSystem2Id);
    SetControlId(*cases1_, kCaseList1Id);
    SetControlId(*cases2_, kCaseList2Id);
    for (int side : {1, 2}) {
        SystemChoice(side)->setMinimumContentsLength(24);
        connect(SystemChoice(side), &QComboBox::activated, this, [this, side] { FillSolutions(side); });
    }

    auto* groups = new QHBoxLayout;
    groups->addWidget(CaseGroup("Case 1", system1_, cases1_));
    groups->addWidget(CaseGroup("Case 2", system2_, cases2_));
    auto* buttons = new QDialogButtonBox;
    compareButton_ = buttons->addButton("Compare", QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

CDlgCompareResults::~CDlgCompareResults() { ReleaseReport(); }

void CDlgCompareResults::OnInitDialog() {
    DialogBase::OnInitDialog();
    if (FillSystems()) {
        FillSolutions(1);
        FillSolutions(2);
    }
    EnableCompare();
}

bool CDlgCompareResults::FillSystems() {
    CADORecordset rows(&database_);
    if (!rows.Open("SELECT ID, Name from Systems ORDER BY Name") || rows.GetRecordCount() == 0) return false;
    for (int side : {1, 2}) {
        rows.FillComboBox(*SystemChoice(side), "Name", "ID", Prompts());
        if (systemId_ >= 0) SystemChoice(side)->SelectByItemData(systemId_);
    }
    return true;
}

void CDlgCompareResults::FillSolutions(int side) {
    int systemId = 0;
    if (!SystemChoice(side)->GetSelectedItemData(systemId)) return;
    QListWidget& cases = *CaseList(side);
    cases.clear();
    CADORecordset rows(&database_);
    if (rows.Open(FormatCLocale("SELECT ID, Description from Solutions WHERE SystemID=%d", systemId))) {
        for (rows.MoveFirst(); !rows.IsEof(); rows.MoveNext()) {
            std::string description;
            int id = 0;
            rows.GetFieldValue("Description", description);
            rows.GetFieldValue("ID", id);
            auto* item = new QListWidgetItem(FromWindows1250(description), &cases);
            item->setData(Qt::UserRole, id);
        }
    }
    // List 2 offers the second case, so that two cases are ready to compare.
    if (cases.count() > 0) cases.setCurrentRow(side == 2 && cases.count() >= 2 ? 1 : 0);
    EnableCompare();
}

std::optional<ComparedCase> CDlgCompareResults::ChosenCase(int side) const {
    ComparedCase chosen;
    const QListWidgetItem* item = CaseList(side)->currentItem();
    if (!item || !SystemChoice(side)->GetSelectedItemData(chosen.systemId)) return std::nullopt;
    chosen.caseId = item->data(Qt::UserRole).toInt();
    chosen.label = ToWindows1250(item->text());
    return chosen;
}

void CDlgCompareResults::accept() {
    const std::optional<ComparedCase> case1 = ChosenCase(1);
    const std::optional<ComparedCase> case2 = ChosenCase(2);
    if (!case1 || !case2) {
        Tell("Nothing to compare!");
        QDialog::accept();
        return;
    }
    if (case1->systemId == case2->systemId && case1->caseId == case2->caseId) {
        Tell("Case1 = case2! No need to compare!");
        return;
    }
    ReleaseReport();
    std::string failure;
    report_ = CompareResultCases(database_, *case1, *case2, makeReport_, failure);
    if (!report_) {
        Tell(failure);
        return;
    }
    QDialog::accept();
}

void CDlgCompareResults::reject() {
    ReleaseReport();
    QDialog::reject();
}

IDBReport* CDlgCompareResults::TakeReport() { return std::exchange(report_, nullptr); }

void CDlgCompareResults::EnableCompare() {
    compareButton_->setEnabled(cases1_->count() > 0 && cases2_->count() > 0);
}

void CDlgCompareResults::ReleaseReport() {
    if (report_) std::exchange(report_, nullptr)->Release();
}

void CDlgCompareResults::Tell(std::string_view text) {
    Prompts().MessageBox(text, {}, PromptIcon::None, PromptButtons::Ok);
}
