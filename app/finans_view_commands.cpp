// The report window's commands: paging, scrolling, go to page, printing,
// the print preview and saving the printer file.

#include <optional>

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>

#include "command_ids.h"
#include "dlg_idi_na_stranu.h"
#include "finans_doc.h"
#include "finans_view.h"
#include "print_commands.h"
#include "prompt_service.h"
#include "report_interface.h"
#include "scroll_client.h"
#include "tavrin_app.h"
#include "wait_cursor.h"

std::vector<KeyBinding> CFinansView::WindowKeys() const {
    using namespace Command;
    return {
        {PreviousPage, QKeySequence(Qt::Key_PageUp)},
        {NextPage, QKeySequence(Qt::Key_PageDown)},
        {FirstPage, QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        {FirstPage, QKeySequence(Qt::CTRL | Qt::Key_Home)},
        {LastPage, QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        {LastPage, QKeySequence(Qt::CTRL | Qt::Key_End)},
        {GoToPage, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {StartOfPageUp, QKeySequence(Qt::CTRL | Qt::Key_Up)},
        {StartOfPageUp, QKeySequence(Qt::ALT | Qt::Key_Home)},
        {EndOfPageDown, QKeySequence(Qt::CTRL | Qt::Key_Down)},
        {EndOfPageDown, QKeySequence(Qt::ALT | Qt::Key_End)},
        {StartOfPageLeft, QKeySequence(Qt::CTRL | Qt::Key_Left)},
        {EndOfPageRight, QKeySequence(Qt::CTRL | Qt::Key_Right)},
        {MoveUp, QKeySequence(Qt::ALT | Qt::Key_Up)},
        {MoveDown, QKeySequence(Qt::ALT | Qt::Key_Down)},
        {MoveLeft, QKeySequence(Qt::ALT | Qt::Key_Left)},
        {MoveRight, QKeySequence(Qt::ALT | Qt::Key_Right)},
    };
}

void CFinansView::RegisterCommands() {
    RegisterPageCommands();
    RegisterScrollCommands();
    OnCommand(Command::FileSave, [this] { OnFileSave(); });
    OnCommand(Command::FileSaveAs, [this] { OnFileSave(); });
    RegisterPrintCommands(*this, *this, app_);
}

// Each command checks its own condition again: a key may bring it while
// its menu item is disabled. A report without pages has no page to turn to.
void CFinansView::RegisterPageCommands() {
    auto notFirst = [this] { return PageCount() > 0 && currentPage_ != 1; };
    auto notLast = [this] { return PageCount() > 0 && currentPage_ != PageCount(); };
    OnCommand(Command::PreviousPage, [this, notFirst] { if (notFirst()) TurnTo(currentPage_ - 1); },
              [notFirst](CmdUI& ui) { ui.Enable(notFirst()); });
    OnCommand(Command::NextPage, [this] { if (currentPage_ < PageCount()) TurnTo(currentPage_ + 1); },
              [this](CmdUI& ui) { ui.Enable(currentPage_ < PageCount()); });
    OnCommand(Command::FirstPage, [this, notFirst] { if (notFirst()) TurnTo(1); },
              [notFirst](CmdUI& ui) { ui.Enable(notFirst()); });
    OnCommand(Command::LastPage, [this, notLast] { if (notLast()) TurnTo(PageCount()); },
              [notLast](CmdUI& ui) { ui.Enable(notLast()); });
    OnCommand(Command::GoToPage, [this] { if (PageCount() > 1) OnGoToPage(); },
              [this](CmdUI& ui) { ui.Enable(PageCount() > 1); });
}

// Positions and sizes in pixels of the client area and of the whole page
// with its margins.
void CFinansView::RegisterScrollCommands() {
    auto up = [this] { return client_->ScrollPosition().y > 0; };
    auto down = [this] {
        return client_->ClientSize().cy + client_->ScrollPosition().y < client_->TotalSize().cy;
    };
    auto left = [this] { return client_->ScrollPosition().x > 0; };
    auto right = [this] {
        return client_->ClientSize().cx + client_->ScrollPosition().x < client_->TotalSize().cx;
    };
    auto vertical = [this] { return client_->verticalScrollBar(); };
    auto horizontal = [this] { return client_->horizontalScrollBar(); };
    auto enableWhen = [](auto condition) { return [condition](CmdUI& ui) { ui.Enable(condition()); }; };

    OnCommand(Command::StartOfPageUp, [=] { if (up()) vertical()->setValue(0); }, enableWhen(up));
    OnCommand(Command::EndOfPageDown, [=, this] {
        if (down()) vertical()->setValue(client_->TotalSize().cy - client_->ClientSize().cy);
    }, enableWhen(down));
    OnCommand(Command::StartOfPageLeft, [=] { if (left()) horizontal()->setValue(0); }, enableWhen(left));
    OnCommand(Command::EndOfPageRight, [=, this] {
        if (right()) horizontal()->setValue(client_->TotalSize().cx - client_->ClientSize().cx);
    }, enableWhen(right));
    OnCommand(Command::MoveUp, [=] { if (up()) vertical()->triggerAction(QAbstractSlider::SliderSingleStepSub); },
              enableWhen(up));
    OnCommand(Command::MoveDown, [=] { if (down()) vertical()->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
              enableWhen(down));
    OnCommand(Command::MoveLeft, [=] { if (left()) horizontal()->triggerAction(QAbstractSlider::SliderSingleStepSub); },
              enableWhen(left));
    // Always scrolls: the scroll bar stops at its end by itself.
    OnCommand(Command::MoveRight, [=] { horizontal()->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
              enableWhen(right));
}

void CFinansView::OnGoToPage() {
    CDlgIdiNaStranu dialog(app_.Prompts(), currentPage_, PageCount(), this);
    if (dialog.DoModal() != QDialog::Accepted) return;
    if (dialog.EnteredPage() != currentPage_) TurnTo(dialog.EnteredPage());
}

void CFinansView::OnFileSave() {
    IDBReport* report = Report();
    if (report == nullptr) return;
    // "All Files" is every name here, with or without a point.
    const std::vector<FileFilter> filters{{"Power Flow Results (*.txt) ", "*.TXT"}, {"All Files (*.*)", "*"}};
    std::optional<QString> chosen = app_.Prompts().SaveFileName("Save As", filters, {});
    if (!chosen) return;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += path.endsWith('.') ? "txt" : ".txt";
    bool saved;
    {
        WaitCursor wait;
        saved = report->SaveAs(QFile::encodeName(path).constData(), true);
    }
    if (!saved) {
        app_.Prompts().Ask(QString("Cannot create file: %1").arg(path), "File Creation Error", PromptIcon::Warning,
                           PromptButtons::Ok);
    }
}
