#include "data_dlg.h"

#include <QDialogButtonBox>
#include <QLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "prompt_service.h"

CDataDlg::CDataDlg(PromptService& prompts, IRecordCursor* cursor, QWidget* parent, int firstPage)
    : QDialog(parent), prompts_(prompts), firstPage_(firstPage), tabs_(new QTabWidget) {
    setWindowTitle("Data tabular view");
    for (int type = 0; type < CDataView::kPageCount; ++type) {
        auto pageType = static_cast<CDataView::PageType>(type);
        auto* page = new CDataView(pageType, cursor);
        pages_[static_cast<std::size_t>(type)] = page;
        tabs_->addTab(page, CDataView::TabText(pageType));
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0) Page(index).SetUp();
    });
    auto* buttons = new QDialogButtonBox;
    print_ = buttons->addButton("Print", QDialogButtonBox::AcceptRole);
    close_ = buttons->addButton("Close", QDialogButtonBox::RejectRole);
    print_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDataDlg::SetUp() {
    tabs_->setCurrentIndex(firstPage_ >= 0 && firstPage_ < CDataView::kPageCount ? firstPage_ : 0);
    Page(tabs_->currentIndex()).SetUp();
}

int CDataDlg::DoModal() {
    SetUp();
    return prompts_.RunModal(*this);
}
