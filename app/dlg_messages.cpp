#include "dlg_messages.h"

#include <algorithm>
#include <ctime>

#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QTimer>

#include "image_strip.h"
#include "message_list.h"
#include "windows_1250.h"

namespace {

// The local time without reading the time-zone settings again: the
// system's own clock reads them at every call, which a study reporting
// thousands of times would feel.
QTime LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &local) == nullptr) return {};
    return QTime(local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace

CDlgMessages::CDlgMessages(PromptService& prompts, Profile* profile, QWidget* parent)
    : CDialogResizer(prompts, profile, parent),
      clock_(LocalTime),
      messages_(new MessageList(LoadImageStrip(ShellImages::kMessageLevels), this)),
      list_(new QTableView(this)) {
    setWindowTitle("Messages");
    setModal(false);
    resize(560, 170);
    list_->setObjectName(QString::number(kListId));
    list_->setModel(messages_);
    list_->setGeometry(rect());
}

CDlgMessages::~CDlgMessages() = default;

void CDlgMessages::OnInitDialog() {
    CDialogResizer::OnInitDialog();
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setShowGrid(true);
    list_->setWordWrap(false);
    list_->setIconSize(QSize(16, 16));
    // A right click shows nothing, and the dialog behind it neither.
    list_->setContextMenuPolicy(Qt::PreventContextMenu);
    QHeaderView* rows = list_->verticalHeader();
    rows->hide();
    // Rows of one height: adding one never measures the others.
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(list_->fontMetrics().height() + 4);
    QHeaderView* columns = list_->horizontalHeader();
    columns->setHighlightSections(false);
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->resizeSection(MessageList::TimeColumn, TimeColumnWidth());
    columns->setStretchLastSection(true);
}

// The time must be read whole: a font wider than the one the column was
// measured for widens the column rather than cutting the time short.
int CDlgMessages::TimeColumnWidth() const {
    const int margin = list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
    // Room on both sides of the icon and of the text, and for the grid line.
    const int needed = list_->iconSize().width() + 8 * margin + list_->fontMetrics().horizontalAdvance("00:00:00");
    return std::max(kTimeColumnWidth, needed);
}

void CDlgMessages::OnInitResizer() {
    AddControl(Anchor::Stretch, true, list_);
    CDialogResizer::OnInitResizer();
}

void CDlgMessages::AddMessage(int level, const char* text) {
    if (!enabled_) return;
    const QTime now = clock_();
    messages_->Append({QString::asprintf("%02d:%02d:%02d", now.hour(), now.minute(), now.second()), level,
                       text != nullptr ? FromWindows1250(text) : QString()});
    if (showPending_) return;
    showPending_ = true;
    QTimer::singleShot(0, this, [this] { ShowNewRows(); });
}

void CDlgMessages::ShowNewRows() {
    showPending_ = false;
    messages_->Announce();
    if (messages_->Count() == 0) return;
    const QModelIndex newest = messages_->index(messages_->Count() - 1, MessageList::TimeColumn);
    list_->selectionModel()->setCurrentIndex(newest,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (isVisible()) list_->scrollTo(newest);
}

void CDlgMessages::showEvent(QShowEvent* event) {
    CDialogResizer::showEvent(event);
    // Rows added while the window was hidden were not scrolled to.
    ShowNewRows();
}
