#pragma once

#include <functional>

#include <QTime>

#include "dialog_resizer.h"
#include "message_sink.h"

class MessageList;
class QTableView;

// The message window: every study, the model and the solver report here
// through its IMessageSink, one row per message with the local time and
// the level's icon (0 done, 1 started, 2 warning, 3 failed). It lives for
// the whole run; closing it only hides it, and messages that come while it
// is hidden are there when it shows again. A message shows at the next
// turn of the event loop, as the screen does: a study that runs inside a
// command and reports thousands of times is slowed by one update only.
class CDlgMessages : public CDialogResizer, public IMessageSink {
    Q_OBJECT

public:
    static constexpr int kDialogId = 236;
    static constexpr int kListId = 1054;
    // The time column's width in pixels, unless the font needs more.
    static constexpr int kTimeColumnWidth = 75;

    // The local time of a message; an invalid time prints as -1:-1:-1.
    using Clock = std::function<QTime()>;

    CDlgMessages(PromptService& prompts, Profile* profile, QWidget* parent = nullptr);
    ~CDlgMessages() override;

    // IMessageSink. The text is single-byte (Windows-1250) and copied; a
    // null text is an empty message.
    void AddMessage(int level, const char* text) override;
    void SetEnabled(int enabled) override { enabled_ = enabled; }
    int IsEnabled() override { return enabled_; }

    void SetClock(Clock clock) { clock_ = std::move(clock); }

    QTableView& List() const { return *list_; }
    const MessageList& Messages() const { return *messages_; }
    // Shows the rows that came since the last turn of the event loop; the
    // newest becomes the current row and is scrolled into view.
    void ShowNewRows();

protected:
    void DoDataExchange(DataExchange&) override {}
    void OnInitDialog() override;
    void OnInitResizer() override;
    void showEvent(QShowEvent* event) override;

private:
    int TimeColumnWidth() const;

    int enabled_ = 1;
    bool showPending_ = false;
    Clock clock_;
    MessageList* messages_;
    QTableView* list_;
};
