#include "received_file.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

QString Joined(const QString& folder, const QString& name) {
    return folder.endsWith(QDir::separator()) || folder.endsWith('/') ? folder + name : folder + '/' + name;
}

}  // namespace

QString ReceivedFile::TemporaryRoot() {
    for (const char* variable : {"TEMP", "TMP"}) {
        QString root = qEnvironmentVariable(variable);
        if (!root.isEmpty()) return root;
    }
    return QDir::tempPath();
}

bool ReceivedFile::Create() {
    Discard();
    // The folder is made with mode 0700 and fails rather than reuse a name
    // that exists, a link among them.
    QTemporaryDir folder(Joined(TemporaryRoot(), "tavrin-remote-XXXXXX"));
    if (!folder.isValid()) return false;
    file_.setFileName(Joined(folder.path(), kFileName));
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
    folder.setAutoRemove(false);
    folder_ = folder.path();
    return true;
}

bool ReceivedFile::Write(std::string_view bytes) {
    return file_.isOpen() && file_.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
                                 static_cast<qint64>(bytes.size());
}

void ReceivedFile::Finish() {
    file_.close();
    folder_.clear();
}

void ReceivedFile::Discard() {
    if (folder_.isEmpty()) return;
    file_.close();
    file_.remove();
    QDir().rmdir(folder_);
    folder_.clear();
}
