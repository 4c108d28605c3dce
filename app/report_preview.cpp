#include "report_preview.h"

#include <cstdio>

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "image_strip.h"
#include "mapped_bitmap_button.h"
#include "preview_pages.h"

namespace {

constexpr const char* kOnePageToolTip = "Preview 2 pages at a time";
constexpr const char* kTwoPagesToolTip = "Preview 1 page at a time";
constexpr const char* kCloseToolTip = "Close report";

struct ButtonLook {
    PreviewButton button;
    const char* image;
    const char* toolTip;
};
// The one/two-page button's look follows the spread; this is its look
// while one page is shown.
constexpr ButtonLook kBitmapButtons[] = {
    {PreviewButton::Print, ShellImages::kPreviewPrint, "Print the report"},
    {PreviewButton::NextPage, ShellImages::kPreviewNext, "Move to next page"},
    {PreviewButton::PreviousPage, ShellImages::kPreviewPrevious, "Move to previous page"},
    {PreviewButton::OnePageTwoPages, ShellImages::kPreviewTwoPages, kOnePageToolTip},
    {PreviewButton::ZoomIn, ShellImages::kPreviewZoomIn, "Zoom in"},
    {PreviewButton::ZoomOut, ShellImages::kPreviewZoomOut, "Zoom out"},
};
// One format for a single page, the other for a spread, as the status bar
// shows them; the text is cut to the status bar's 80 characters.
constexpr const char* kOnePageDescription = "Page %u";
constexpr const char* kPagesDescription = "Pages %u-%u";
constexpr size_t kStatusLength = 80;

}  // namespace

ReportPreview::ReportPreview(const CPrintInfo& info, const QPageLayout& paper, PageRoutine drawPage,
                             Services services, QWidget* parent)
    : QWidget(parent),
      state_(info.minPage, info.maxPage, info.currentPage, services.defaultPages, PreviewState::kMostPages,
             info.previewPages),
      services_(std::move(services)),
      pages_(new PreviewPages(state_, paper, std::move(drawPage))) {
    Q_INIT_RESOURCE(shell_images);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateToolBar();
    layout->addWidget(pages_, 1);
    pages_->pageChosen = [this](int page) { GoToPage(page); };
    pages_->wheelStep = [this](int delta) { WheelStep(delta); };
    pages_->clicked = [this](QPoint point) { Click(point); };
    setFocusProxy(pages_);
    Refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::CreateToolBar() {
    auto* bar = new QWidget(this);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 3, 4, 3);
    row->setSpacing(4);
    for (const ButtonLook& look : kBitmapButtons) {
        auto* button = new CMappedBitmapButton(bar);
        button->AutoLoad(look.image);
        button->setToolTip(look.toolTip);
        row->addWidget(button);
        bitmapButtons_[static_cast<size_t>(look.button)] = button;
    }
    closeButton_ = new QPushButton("&Close", bar);
    closeButton_->setToolTip(kCloseToolTip);
    row->addWidget(closeButton_);
    row->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addWidget(bar);

    auto on = [this](PreviewButton which, auto action) {
        connect(&Button(which), &QAbstractButton::clicked, this, action);
    };
    on(PreviewButton::Print, [this] {
        // The printing is the view's; the preview goes first.
        auto print = services_.print;
        Close();
        if (print) print();
    });
    on(PreviewButton::NextPage, [this] { NextPage(); });
    on(PreviewButton::PreviousPage, [this] { PreviousPage(); });
    on(PreviewButton::OnePageTwoPages, [this] { TogglePages(); });
    on(PreviewButton::ZoomIn, [this] { ZoomIn(); });
    on(PreviewButton::ZoomOut, [this] { ZoomOut(); });
    on(PreviewButton::Close, [this] { Close(); });
}

void ReportPreview::Close() {
    // The page description goes with the preview.
    if (services_.showStatus) services_.showStatus({});
    if (services_.close) services_.close();
}

QAbstractButton& ReportPreview::Button(PreviewButton which) const {
    if (which == PreviewButton::Close) return *closeButton_;
    return *bitmapButtons_[static_cast<size_t>(which)];
}

QString ReportPreview::StatusText() const {
    char text[kStatusLength + 1];
    const auto first = static_cast<unsigned>(state_.CurrentPage());
    if (state_.PagesOnShow() > 1) {
        std::snprintf(text, sizeof text, kPagesDescription, first, first + state_.PagesOnShow() - 1);
    } else {
        std::snprintf(text, sizeof text, kOnePageDescription, first);
    }
    return QString::fromLatin1(text);
}

void ReportPreview::TogglePages() {
    state_.TogglePages();
    Refresh();
}

// The buttons zoom on the top left corner of the page, where its lines
// begin.
void ReportPreview::ZoomIn() {
    state_.ZoomIn();
    pages_->Follow(QPointF(0.0, 0.0));
    Refresh();
}

void ReportPreview::ZoomOut() {
    state_.ZoomOut();
    pages_->Follow(QPointF(0.0, 0.0));
    Refresh();
}

void ReportPreview::WheelStep(int delta) {
    const int scroll = state_.Wheel(delta);
    if (scroll != 0) {
        QScrollBar* down = pages_->verticalScrollBar();
        down->setValue(down->value() + scroll);
    }
    Refresh();
}

void ReportPreview::Click(QPoint point) {
    const std::optional<int> place = pages_->PlaceAt(point);
    if (!place) return;
    // The point clicked, as a fraction of its sheet, goes to the middle.
    const QRect sheet = pages_->SheetRect(*place);
    const QPointF centre(double(point.x() - sheet.left()) / sheet.width(),
                         double(point.y() - sheet.top()) / sheet.height());
    state_.ClickPage(*place);
    pages_->Follow(centre);
    Refresh();
}

void ReportPreview::GoToPage(int page) {
    state_.GoToPage(page);
    Refresh();
}

void ReportPreview::NextPage() {
    state_.NextPage();
    Refresh();
}

void ReportPreview::PreviousPage() {
    state_.PreviousPage();
    Refresh();
}

void ReportPreview::Refresh() {
    Button(PreviewButton::NextPage).setEnabled(state_.CanGoNext());
    Button(PreviewButton::PreviousPage).setEnabled(state_.CanGoPrevious());
    Button(PreviewButton::ZoomIn).setEnabled(state_.CanZoomIn());
    Button(PreviewButton::ZoomOut).setEnabled(state_.CanZoomOut());
    UpdateOnePageTwoPagesButton();
    pages_->Follow();
    if (services_.showStatus) services_.showStatus(StatusText());
}

void ReportPreview::UpdateOnePageTwoPagesButton() {
    auto& button = *bitmapButtons_[static_cast<size_t>(PreviewButton::OnePageTwoPages)];
    button.setEnabled(state_.CanTogglePages());
    const bool twoPages = state_.SpreadPages() != 1;
    if (twoPages == iconForTwoPages_) return;
    iconForTwoPages_ = twoPages;
    button.LoadBitmap(twoPages ? ShellImages::kPreviewOnePage : ShellImages::kPreviewTwoPages);
    button.setToolTip(twoPages ? kTwoPagesToolTip : kOnePageToolTip);
}
