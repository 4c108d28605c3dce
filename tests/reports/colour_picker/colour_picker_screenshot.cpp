// Shows a small colour dialog with the picker's palette open, one cell hot
// and another chosen, and saves a picture of the screen to the path given:
//   xvfb-run -a -s "-screen 0 1280x1024x24" colour_picker_screenshot shot.png
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "colour_picker.h"
#include "colour_picker_popup.h"
#include "scripted_prompt_service.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);

    ScriptedPromptService prompts;
    QDialog dialog;
    dialog.setWindowTitle("Set Background Color");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("Select background color:"));
    auto* picker = new CColourPicker(prompts);
    picker->setText("Background Color");
    picker->setColour(0x5BADFF);  // light orange
    layout->addWidget(picker);
    layout->addStretch();
    dialog.setGeometry(200, 200, 260, 120);
    dialog.show();

    QTimer::singleShot(300, [&] {
        picker->click();
        CColourPickerPopup* popup = picker->popup();
        const QPoint hot = popup->itemRect(28).center();  // turquoise
        QMouseEvent move(QEvent::MouseMove, QPointF(hot), QPointF(popup->mapToGlobal(hot)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(popup, &move);
    });
    QTimer::singleShot(900, [&] {
        const bool saved = QGuiApplication::primaryScreen()->grabWindow(0, 150, 150, 400, 360).save(path);
        application.exit(saved ? 0 : 1);
    });
    return application.exec();
}
