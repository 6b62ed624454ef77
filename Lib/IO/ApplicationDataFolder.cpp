// SPDX-License-Identifier: MIT
#include "IO/ApplicationDataFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace zelmo {

QString applicationId(const QString& directory)
{
    const QString path = QDir::cleanPath(QDir(directory).absolutePath());
    QString name = QFileInfo(path).fileName().left(40);
    for (QChar& c : name) {
        const bool kept = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                          (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        if (!kept) c = u'_';
    }
    if (name.isEmpty()) name = QStringLiteral("root");
    const QByteArray digest =
        QCryptographicHash::hash(QFile::encodeName(path), QCryptographicHash::Sha256).toHex();
    return name + u'-' + QString::fromLatin1(digest.left(16));
}

QString userDataHome()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured)) return configured;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString applicationDataFolder(const QString& directory)
{
    return userDataHome() + QStringLiteral("/zelmo/") + applicationId(directory);
}

bool isReadOnlyDirectory(const QString& directory)
{
    const QByteArray name = QFile::encodeName(directory);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || !S_ISDIR(status.st_mode)) return false;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::access(name.constData(), W_OK) != 0;
}

} // namespace zelmo
