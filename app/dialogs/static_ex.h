#pragma once

#include <functional>

#include <QLabel>

#include "color.h"

class DesktopActions;
class PromptService;
class QDialog;

// A static text that does something when clicked, in this order: shows
// or hides its window, runs its dialog, opens its link (a file or an
// address; once opened the text takes the visited colour), sends its
// message. Any of them may be left out.
class CStaticEx : public QLabel {
    Q_OBJECT

public:
    static constexpr ColorRef kVisitedColor = 0xC08000;

    // The prompts (the dialog's modal run, the message of a link that
    // cannot be opened) and the desktop are borrowed.
    CStaticEx(PromptService& prompts, DesktopActions& desktop, QWidget* parent = nullptr);

    // Each answers the colour it replaces; the text is repainted.
    ColorRef SetTextColor(ColorRef color);
    ColorRef SetVisitedColor(ColorRef color);
    void SetLink(const QString& link) { link_ = link; }
    // The pointing hand over the text instead of the arrow.
    void SetHandCursor(bool hand);

    // Borrowed; null leaves the step out.
    void SetToggleWindow(QWidget* window) { toggleWindow_ = window; }
    void SetDialog(QDialog* dialog) { dialog_ = dialog; }
    void SetMessage(std::function<void()> message) { message_ = std::move(message); }

    bool Visited() const { return visited_; }
    const QString& Link() const { return link_; }

    // What a click does.
    void OnClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ApplyColors();

    PromptService& prompts_;
    DesktopActions& desktop_;
    QWidget* toggleWindow_ = nullptr;
    QDialog* dialog_ = nullptr;
    std::function<void()> message_;
    ColorRef backColor_;
    ColorRef textColor_;
    ColorRef visitedColor_ = kVisitedColor;
    bool visited_ = false;
    QString link_;
};
