#pragma once

#include <QKeyEvent>
#include <QMouseEvent>

#include "command_ids.h"
#include "network_edit_event.h"
#include "recording_edit_target.h"
#include "shell_fixture.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"

// A program with one network window whose document sends its edit events
// to a recorder, and the mouse and keys as a user works them.
class NetworkViewTest : public ShellTest {
public:
    enum class Input { Press, Release, DoubleClick, Move, RightUp, KeyUp };
    struct Step {
        Input input;
        QPoint at;
        Qt::MouseButtons held = Qt::NoButton;  // buttons down during a move or after a release
        Qt::KeyboardModifiers keys = Qt::NoModifier;
        int key = 0;
    };

protected:
    RecordingEditTarget recorder;

    // A new network in a window; with `record` its edit events go to the
    // recorder.
    CTavrinView& OpenNetwork(bool record = true) {
        if (!app) {
            EXPECT_TRUE(Start());
        }
        Frame().resize(1000, 800);
        Frame().show();
        Frame().Commands().Execute(Command::FileNew);
        auto& view = dynamic_cast<CTavrinView&>(Windows().back()->View());
        if (record) view.GetDocument()->SetEditEventTarget(&recorder);
        return view;
    }

    static void Play(CTavrinView& view, const Step& step) {
        QWidget* canvas = view.Canvas();
        const QPointF at = step.at;
        const QPointF global = canvas->mapToGlobal(step.at);
        auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, global, button, buttons, step.keys);
            QCoreApplication::sendEvent(canvas, &event);
        };
        switch (step.input) {
            case Input::Press: send(QEvent::MouseButtonPress, Qt::LeftButton, step.held | Qt::LeftButton); break;
            case Input::Release: send(QEvent::MouseButtonRelease, Qt::LeftButton, step.held); break;
            case Input::DoubleClick:
                send(QEvent::MouseButtonDblClick, Qt::LeftButton, step.held | Qt::LeftButton);
                break;
            case Input::Move: send(QEvent::MouseMove, Qt::NoButton, step.held); break;
            case Input::RightUp: send(QEvent::MouseButtonRelease, Qt::RightButton, step.held); break;
            case Input::KeyUp: {
                QKeyEvent event(QEvent::KeyRelease, step.key, step.keys);
                QCoreApplication::sendEvent(canvas, &event);
                break;
            }
        }
    }
    static void Play(CTavrinView& view, std::initializer_list<Step> steps) {
        for (const Step& step : steps) Play(view, step);
    }
};
