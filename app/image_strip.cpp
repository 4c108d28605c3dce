#include "image_strip.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace {

// Each cell is drawn at these sizes, so that an icon stays sharp on larger
// buttons and on screens with more pixels per point.
constexpr int kScales[] = {1, 2};

}  // namespace

std::vector<QIcon> LoadImageStrip(const QString& path) {
    Q_INIT_RESOURCE(shell_images);
    QSvgRenderer renderer(path);
    const QSize size = renderer.defaultSize();
    if (!renderer.isValid() || size.height() <= 0) return {};
    const int cell = size.height();
    const int count = size.width() / cell;
    std::vector<QIcon> icons(static_cast<size_t>(count));
    for (int scale : kScales) {
        QPixmap strip(size * scale);
        strip.fill(Qt::transparent);
        {
            QPainter painter(&strip);
            renderer.render(&painter);
        }
        for (int i = 0; i < count; ++i) {
            icons[static_cast<size_t>(i)].addPixmap(strip.copy(i * cell * scale, 0, cell * scale, cell * scale));
        }
    }
    return icons;
}
