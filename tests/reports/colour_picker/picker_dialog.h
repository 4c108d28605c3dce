#pragma once

#include <vector>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "colour_picker.h"
#include "colour_picker_popup.h"
#include "scripted_prompt_service.h"

// A shown window holding one colour picker, with a scripted prompt service
// behind "More Colours...".
struct PickerDialog {
    ScriptedPromptService prompts;
    QWidget dialog;
    CColourPicker* picker = new CColourPicker(prompts, &dialog);

    explicit PickerDialog(QPoint where = QPoint(100, 100)) {
        dialog.setGeometry(QRect(where, QSize(200, 60)));
        picker->setGeometry(10, 10, 80, 20);
        dialog.show();
    }

    CColourPickerPopup* Open() {
        picker->click();
        return picker->popup();
    }
};

inline void SendMouse(QWidget* widget, QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::NoButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void MoveMouse(QWidget* widget, QPoint local) { SendMouse(widget, QEvent::MouseMove, local); }

// Runs the deletions that closed popups have asked for.
inline void DeleteClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
