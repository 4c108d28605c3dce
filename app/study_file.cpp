#include "study_file.h"

#include <cstdio>
#include <utility>

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

std::optional<StudyFile> StudyFile::Create(const char* prefix) {
    QTemporaryFile file(QDir::tempPath() + QLatin1Char('/') + QString::fromLatin1(prefix) + QStringLiteral("XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open()) return std::nullopt;
    std::string path = QFile::encodeName(file.fileName()).toStdString();
    file.close();
    return StudyFile(std::move(path));
}

StudyFile::StudyFile(StudyFile&& other) noexcept : path_(std::exchange(other.path_, {})) {}

StudyFile::~StudyFile() {
    if (!path_.empty()) std::remove(path_.c_str());
}
