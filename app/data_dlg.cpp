#include "data_dlg.h"

#include <QLayout>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialog_buttons.h"
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
    const DialogButtons buttons = MakeDialogButtons(*this, "Print", "Close");
    print_ = buttons.accept;
    close_ = buttons.reject;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons.box);
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
