#include "shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace platform {

bool ShellOpen(const QString &address)
{
    return QDesktopServices::openUrl(QUrl(address));
}

QString DocumentsFolder()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (path.isEmpty())
        return {};
    path = QDir::toNativeSeparators(QDir::cleanPath(path));
    while (path.size() > 1 && path.endsWith(QDir::separator()))
        path.chop(1);
    return path;
}

void TerminateProcessNow(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace platform
