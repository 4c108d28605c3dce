#include "clipboard_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>

#include "emf_picture.h"

bool PutPictureOnClipboard(std::span<const std::uint8_t> metafile, QSize size) {
    if (metafile.empty() || size.isEmpty()) return false;
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        if (!PlayEnhancedMetafile(painter, metafile, QRectF(QPointF(0, 0), size))) return false;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;

    auto* data = new QMimeData;
    data->setData(kMetafileMimeType,
                  QByteArray(reinterpret_cast<const char*>(metafile.data()), static_cast<qsizetype>(metafile.size())));
    data->setData(kPngMimeType, png);
    QGuiApplication::clipboard()->setMimeData(data);  // the clipboard owns it now
    return true;
}
