#include "hand_cursor.h"

#include <QPixmap>

QCursor HandCursor() {
    static const QPoint kFingertip(9, 1);
    QPixmap image(":/dialogs/hand_cursor.svg");
    // Without the image (no SVG reader installed) the desktop's own hand.
    if (image.isNull()) return QCursor(Qt::PointingHandCursor);
    return QCursor(image, kFingertip.x(), kFingertip.y());
}
