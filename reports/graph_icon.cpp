#include "graph_icon.h"

#include <QPainter>
#include <QPixmap>

QIcon GraphIcon() {
    QIcon icon;
    for (int side : {16, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.scale(side / 16.0, side / 16.0);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 128, 0));
        painter.drawRect(QRectF(5, 9, 3, 5));
        painter.drawRect(QRectF(10, 11, 3, 3));
        painter.setPen(QPen(Qt::black, 1.2));
        painter.drawLine(QPointF(2, 1), QPointF(2, 14));
        painter.drawLine(QPointF(2, 14), QPointF(15, 14));
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::red, 1.5));
        painter.drawPolyline(QPolygonF({QPointF(3, 4), QPointF(7, 5), QPointF(11, 7), QPointF(14, 11)}));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
