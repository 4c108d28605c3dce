#include "desktop_actions.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

void QtDesktopActions::Beep() { QApplication::beep(); }

bool QtDesktopActions::OpenLink(const QString& link) {
    if (link.isEmpty()) return false;
    const QUrl url = QUrl::fromUserInput(link, QDir::currentPath(), QUrl::AssumeLocalFile);
    return url.isValid() && QDesktopServices::openUrl(url);
}
