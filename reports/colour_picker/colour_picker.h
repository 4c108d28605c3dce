#pragma once

#include <QPointer>
#include <QPushButton>
#include <QString>

#include "color.h"
#include "colour_picker_popup.h"
#include "wendlow_api.h"

class PromptService;

// A button that shows a colour and, when clicked, drops down a palette to
// choose another. It holds the colour either as its background (the usual
// way) or as the colour of its text, and tells its dialog of every step of
// a choice by the signals below, each with the colour and the picker's id.
class WENDLOW_API CColourPicker : public QPushButton {
    Q_OBJECT

public:
    // The numbers of the signals, as dialogs that dispatch on them know them.
    enum Notification : int {
        WM_PICKER_SELCHANGE = 2025,
        WM_PICKER_DROPDOWN = 2026,
        WM_PICKER_CLOSEUP = 2027,
        WM_PICKER_SELENDOK = 2028,
        WM_PICKER_SELENDCANCEL = 2029,
    };

    // "More Colours..." asks `prompts` for the colour.
    explicit CColourPicker(PromptService& prompts, QWidget* parent = nullptr);

    // The text colour in selection mode 1, else the background colour;
    // kAutomaticColor is drawn as the button face (a background) or black
    // (text).
    ColorRef colour() const;
    void setColour(ColorRef colour);
    ColorRef backgroundColour() const { return backgroundColour_; }
    ColorRef textColour() const { return textColour_; }
    void setSelectionMode(int mode);
    // With track selection the button shows the colour under the mouse
    // while the palette is open.
    void setTrackSelection(bool track) { trackSelection_ = track; }
    // An empty text leaves out the "Automatic" or "More Colours..." box.
    void setDefaultText(const QString& text) { defaultText_ = text; }
    void setCustomText(const QString& text) { customText_ = text; }
    int controlId() const { return controlId_; }
    void setControlId(int id) { controlId_ = id; }

    bool isDropped() const { return dropped_; }
    // The open palette, or null; a palette that has ended deletes itself.
    CColourPickerPopup* popup() const { return popup_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void pickerSelChange(ColorRef colour, int id);
    void pickerDropDown(ColorRef colour, int id);
    void pickerCloseUp(ColorRef colour, int id);
    void pickerSelEndOk(ColorRef colour, int id);
    void pickerSelEndCancel(ColorRef colour, int id);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DropDown();
    void OnPopupSelChange(ColorRef colour);
    void OnPopupSelEndOk(ColorRef colour);
    void OnPopupSelEndCancel(ColorRef colour);
    void CloseUp(ColorRef colour);
    QRect ArrowRect() const;
    void PaintText(QPainter& painter, const QRect& area) const;

    PromptService& prompts_;
    ColorRef backgroundColour_;
    ColorRef textColour_;
    ColorRef colourAtDropDown_ = 0;
    int selectionMode_ = 2;
    bool trackSelection_ = false;
    bool dropped_ = false;
    QString defaultText_;
    QString customText_;
    int controlId_ = 0;
    QPointer<CColourPickerPopup> popup_;
};
