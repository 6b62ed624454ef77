// SPDX-License-Identifier: MIT
#include "host/AppInstaller.h"

#include "IO/ApplicationDataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zelmo {

namespace {

const char* const kIconTypes[] = {"png", "svg", "xpm"};

struct Launcher {
    QString name, comment, icon;
};

QString withoutControls(QString text)
{
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    return text.trimmed();
}

// The unlocalised Name, Comment and Icon of the [Desktop Entry] group of the first launcher
// file in the directory.
Launcher readLauncher(const QDir& directory)
{
    Launcher launcher;
    const QStringList names =
        directory.entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
    if (names.isEmpty()) return launcher;
    QFile file(directory.filePath(names.first()));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1 << 20) return launcher;
    bool inEntry = false;
    for (const QByteArray& rawLine : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[')) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inEntry || line.startsWith(u'#') || equals < 0) continue;
        const QString key = line.left(equals).trimmed();
        const QString value = withoutControls(line.mid(equals + 1));
        if (key == QStringLiteral("Name"))
            launcher.name = value;
        else if (key == QStringLiteral("Comment"))
            launcher.comment = value;
        else if (key == QStringLiteral("Icon"))
            launcher.icon = value;
    }
    return launcher;
}

// The icon file in the directory: what the launcher names (its file name, with or without a
// picture suffix; a handheld path like /usr/share/icons/x.png is looked up by its file name),
// else icon.png, icon.svg or icon.xpm.
QString findIcon(const QDir& directory, const QString& launcherIcon)
{
    QStringList candidates;
    const QString named = QFileInfo(launcherIcon).fileName();
    if (!named.isEmpty()) {
        candidates << named;
        for (const char* type : kIconTypes)
            candidates << named + u'.' + QLatin1String(type);
    }
    for (const char* type : kIconTypes)
        candidates << QStringLiteral("icon.") + QLatin1String(type);
    for (const QString& candidate : candidates) {
        const QFileInfo info(directory.filePath(candidate));
        const QString suffix = info.suffix().toLower();
        if (info.isFile() && (suffix == u"png" || suffix == u"svg" || suffix == u"xpm"))
            return info.absoluteFilePath();
    }
    return {};
}

// A value of the desktop-entry string types: backslashes doubled.
QString entryValue(const QString& text)
{
    QString value = text;
    value.replace(u'\\', QStringLiteral("\\\\"));
    return value;
}

// One argument of Exec: quoted, with the characters special inside quotes escaped and '%'
// doubled (field codes), then escaped as a string value.
QString execArgument(const QString& argument)
{
    QString quoted;
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        if (c == u'%') quoted += u'%';
        quoted += c;
    }
    return entryValue(u'"' + quoted + u'"');
}

QString entryPath(const QString& id)
{
    return userDataHome() + QStringLiteral("/applications/zelmo-") + id +
           QStringLiteral(".desktop");
}

QString iconPath(const QString& id, const QString& type)
{
    return userDataHome() + QStringLiteral("/icons/zelmo-") + id + u'.' + type;
}

void removeIcons(const QString& id)
{
    for (const char* type : kIconTypes)
        QFile::remove(iconPath(id, QLatin1String(type)));
}

} // namespace

bool installApplication(const QString& directoryName, const QString& runtime, QString& report)
{
    const QDir directory(QDir::cleanPath(QDir(directoryName).absolutePath()));
    if (!QFileInfo(directory.filePath(QStringLiteral("index.mcb"))).isFile()) {
        report = directory.path() + QStringLiteral(": not an application directory (no index.mcb)");
        return false;
    }
    const QString path = directory.path();
    if (path != withoutControls(path) || runtime != withoutControls(runtime)) {
        report = QStringLiteral("a path holding control characters cannot be started from a menu");
        return false;
    }
    const QString id = applicationId(path);
    const Launcher launcher = readLauncher(directory);

    QString icon;
    const QString iconSource = findIcon(directory, launcher.icon);
    removeIcons(id); // a reinstall may bring another type
    if (!iconSource.isEmpty()) {
        icon = iconPath(id, QFileInfo(iconSource).suffix().toLower());
        if (!QDir().mkpath(QFileInfo(icon).path()) || !QFile::copy(iconSource, icon)) {
            report = QStringLiteral("cannot write ") + icon;
            return false;
        }
    } else if (!launcher.icon.isEmpty() && !launcher.icon.contains(u'/')) {
        icon = launcher.icon; // a name from the icon theme
    }

    const QString name = launcher.name.isEmpty() ? directory.dirName() : launcher.name;
    QString text = QStringLiteral("[Desktop Entry]\nType=Application\n");
    text += QStringLiteral("Name=") + entryValue(name) + u'\n';
    if (!launcher.comment.isEmpty())
        text += QStringLiteral("Comment=") + entryValue(launcher.comment) + u'\n';
    text += QStringLiteral("Exec=") + execArgument(runtime) + QStringLiteral(" --app ") +
            execArgument(path) + u'\n';
    if (!icon.isEmpty()) text += QStringLiteral("Icon=") + entryValue(icon) + u'\n';
    text += QStringLiteral("Terminal=false\n");

    const QString entry = entryPath(id);
    QSaveFile file(entry);
    if (!QDir().mkpath(QFileInfo(entry).path()) || !file.open(QIODevice::WriteOnly) ||
        file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (!icon.isEmpty()) removeIcons(id);
        report = QStringLiteral("cannot write ") + entry;
        return false;
    }
    report = QStringLiteral("installed \"") + name + QStringLiteral("\": ") + entry;
    return true;
}

bool uninstallApplication(const QString& directoryName, QString& report)
{
    const QString id = applicationId(QDir::cleanPath(QDir(directoryName).absolutePath()));
    const QString entry = entryPath(id);
    const bool hadEntry = QFileInfo::exists(entry);
    if (hadEntry && !QFile::remove(entry)) {
        report = QStringLiteral("cannot remove ") + entry;
        return false;
    }
    removeIcons(id);
    report =
        hadEntry ? QStringLiteral("removed ") + entry : QStringLiteral("not installed: ") + entry;
    return hadEntry;
}

} // namespace zelmo
