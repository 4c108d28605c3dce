#include "picture_file.h"

#include <QFileInfo>

namespace {

const FileFilter kPictureFilters[] = {{"Enhanced Meta File", "*.EMF;*.emf"}, {"Windows Bitmap", "*.BMP;*.bmp"}};
constexpr int kBitmapFilter = 1;

}  // namespace

std::span<const FileFilter> PictureFilters() { return kPictureFilters; }

PictureFile ChosenPictureFile(const SaveChoice& choice) {
    PictureFile file{choice.path, choice.filter == kBitmapFilter ? PictureFormat::Bitmap : PictureFormat::Metafile};
    const QString suffix = QFileInfo(file.path).suffix();
    if (suffix.isEmpty()) {
        file.path += file.format == PictureFormat::Bitmap ? ".BMP" : ".EMF";
    } else if (suffix.compare("bmp", Qt::CaseInsensitive) == 0) {
        file.format = PictureFormat::Bitmap;
    } else if (suffix.compare("emf", Qt::CaseInsensitive) == 0) {
        file.format = PictureFormat::Metafile;
    }
    return file;
}
