#include "recent_file_list.h"

#include <QDir>
#include <QFileInfo>

#include "profile.h"

namespace {

// Paths are compared as the file system sees them.
QString Canonical(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

QString KeyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

}  // namespace

void RecentFileList::Add(const QString& path) {
    QString canonical = Canonical(path);
    files_.removeAll(canonical);
    files_.prepend(canonical);
    while (files_.size() > size_) files_.removeLast();
}

void RecentFileList::Remove(const QString& path) { files_.removeAll(Canonical(path)); }

void RecentFileList::ReadList(const Profile& profile) {
    files_.clear();
    for (int i = 0; i < size_; ++i) {
        QString path = profile.GetProfileString(kSection, KeyOf(i));
        if (!path.isEmpty() && !files_.contains(path)) files_.append(path);
    }
}

void RecentFileList::WriteList(Profile& profile) const {
    for (int i = 0; i < size_; ++i) {
        if (i < files_.size()) {
            profile.WriteProfileString(kSection, KeyOf(i), files_[i]);
        } else {
            profile.RemoveProfileKey(kSection, KeyOf(i));
        }
    }
}

QString RecentFileList::MenuText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    shown.replace('&', "&&");
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
