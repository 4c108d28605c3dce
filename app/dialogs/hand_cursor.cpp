#include "hand_cursor.h"

#include <QImage>
#include <QPixmap>

// At global scope: the images come from a static library, and nothing but
// this call pulls them into the program.
static QImage LoadHandImage() {
    Q_INIT_RESOURCE(dialog_images);
    return QImage(":/dialogs/hand_cursor.svg");
}

QCursor HandCursor() {
    static const QPoint kFingertip(9, 1);
    static const QImage image = LoadHandImage();
    // Without the image (no SVG reader installed) the desktop's own hand.
    if (image.isNull()) return QCursor(Qt::PointingHandCursor);
    return QCursor(QPixmap::fromImage(image), kFingertip.x(), kFingertip.y());
}
