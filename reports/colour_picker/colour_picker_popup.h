#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

#include "color.h"
#include "wendlow_api.h"
#include "popup_navigation.h"

class PromptService;
enum class SystemColor : int;

// The drop-down palette of a colour picker: 40 colour cells, eight to a
// row, with an optional "Automatic" box above them and an optional
// "More Colours..." box below. It opens at once, follows the mouse and the
// arrow keys, tells its picker of every hot colour and of the end of the
// choice, and then closes and deletes itself.
class WENDLOW_API CColourPickerPopup : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBoxSize = 18;  // a colour cell, pixels

    // `position` is the top-left corner on the screen; an empty text leaves
    // its box out. The popup is a window of `picker` and asks the prompt
    // service for "More Colours...".
    CColourPickerPopup(QPoint position, ColorRef colour, QWidget* picker, const QString& defaultText,
                       const QString& customText, PromptService& prompts);

    // A PopupItem or a cell index.
    int hotItem() const { return hot_; }
    int chosenItem() const { return chosen_; }
    ColorRef initialColour() const { return initialColour_; }
    // An item's rectangle in the popup; empty for a box that is absent.
    QRect itemRect(int item) const;

signals:
    // The colour under the mouse or the keys: the cell's, kAutomaticColor
    // for "Automatic", the initial colour for "More Colours...".
    void selChange(ColorRef colour);
    void selEndOk(ColorRef colour);
    // Always with the initial colour.
    void selEndCancel(ColorRef colour);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum class Ending { Ok, Cancel };

    QRect LayOut(QPoint position);
    QRect KeptOnScreen(QRect geometry) const;
    int ItemAt(QPoint point) const;
    void ChangeHot(int item);
    void End(Ending ending);
    void Finish(Ending ending);

    void PaintCell(QPainter& painter, int cell) const;
    void PaintBox(QPainter& painter, int item) const;
    QColor SystemColour(SystemColor color) const;

    QWidget* picker_;
    PromptService& prompts_;
    QString defaultText_;
    QString customText_;
    ColorRef initialColour_;
    ColorRef chosenColour_;
    int hot_ = kNoItem;
    int chosen_ = kNoItem;
    QRect defaultBox_;
    QRect customBox_;
    int cellsTop_ = 0;
    bool finished_ = false;
};
