#include "dlg_idi_na_stranu.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "control_id.h"

CDlgIdiNaStranu::CDlgIdiNaStranu(PromptService& prompts, int currentPage, int pageCount, QWidget* parent)
    : DialogBase(prompts, parent),
      enteredPage_(currentPage),
      currentPage_(currentPage),
      pageCount_(pageCount),
      pageField_(new QLineEdit),
      pageCountText_(new QLabel),
      currentPageText_(new QLabel) {
    setWindowTitle("Idi na stranu");
    SetControlId(*pageField_, kPageFieldId);
    SetControlId(*pageCountText_, kPageCountId);
    SetControlId(*currentPageText_, kCurrentPageId);

    auto* fields = new QFormLayout;
    fields->addRow("Idi na stranu broj:", pageField_);
    fields->addRow("Broj strana u dokumentu:", pageCountText_);
    fields->addRow("Trenutna strana:", currentPageText_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

void CDlgIdiNaStranu::OnInitDialog() {
    QFont bold = font();
    bold.setWeight(QFont::Bold);
    for (QLabel* text : {pageCountText_, currentPageText_}) text->setFont(bold);
    pageCountText_->setText(QString::number(pageCount_));
    currentPageText_->setText(QString::number(currentPage_));
    DialogBase::OnInitDialog();
    pageField_->selectAll();  // typing replaces the page shown
}

void CDlgIdiNaStranu::DoDataExchange(DataExchange& exchange) { exchange.Integer(*pageField_, enteredPage_); }

bool CDlgIdiNaStranu::Validate() {
    if (enteredPage_ >= 1 && enteredPage_ <= pageCount_) return true;
    Prompts().Ask(QString::fromUtf8("Morate unijeti broj između 1 i %1!").arg(pageCount_),
                  QString::fromUtf8("Pogrešan broj strane"), PromptIcon::None, PromptButtons::Ok);
    return false;
}
