// SPDX-License-Identifier: MIT
#include "IO/FileUtility.h"

#include "IO/InternalAssert.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace zelmo::TARNEL {

namespace {

// The units as they are: QString::fromStdU16String reads a leading U+FEFF or U+FFFE as a byte
// order mark, drops it and may swap every unit after it, so that a name the application wrote
// would reach the system as another one (U+2F00 swapped is '/').
QString toQString(const std::u16string& path)
{
    return QString(reinterpret_cast<const QChar*>(path.data()),
                   static_cast<qsizetype>(path.size()));
}

std::u16string fromQString(const QString& text)
{
    return text.toStdU16String();
}

char16_t platformSeparator()
{
    static const char16_t separator = static_cast<char16_t>(QDir::separator().unicode());
    return separator;
}

} // namespace

std::u16string FileUtility::convertSeparators(const std::u16string& path)
{
    const char16_t separator = platformSeparator();
    ZELMO_IO_ASSERT(separator == u'/' || separator == u'\\');
    const char16_t other = separator == u'/' ? u'\\' : u'/';
    std::u16string out = path;
    for (char16_t& c : out) {
        if (c == other) c = separator;
    }
    return out;
}

std::string FileUtility::encodeName(const std::u16string& path)
{
    if (path.find(u'\0') != std::u16string::npos) return {};
    const QByteArray bytes = QFile::encodeName(toQString(path));
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::u16string FileUtility::decodeName(const std::string& name)
{
    return fromQString(
        QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size()))));
}

bool FileUtility::isAbsolute(const std::u16string& path)
{
    return !path.empty() && !QFileInfo(toQString(convertSeparators(path))).isRelative();
}

bool FileUtility::directoryExists(const std::u16string& path)
{
    return !path.empty() && QDir(toQString(path)).exists();
}

bool FileUtility::fileExists(const std::u16string& path)
{
    return !path.empty() && QFileInfo::exists(toQString(path));
}

bool FileUtility::createPath(const std::u16string& path)
{
    if (!isAbsolute(path)) return false;
    return QDir().mkpath(toQString(convertSeparators(path)));
}

bool FileUtility::removeDirectory(const std::u16string& path)
{
    if (path.empty()) return false;
    const QFileInfo info(toQString(path));
    if (!info.isDir() || info.isSymLink()) return false;
    return QDir().rmdir(info.filePath());
}

std::u16string FileUtility::fileName(const std::u16string& path)
{
    return path.empty() ? std::u16string() : fromQString(QFileInfo(toQString(path)).fileName());
}

std::u16string FileUtility::completeSuffix(const std::u16string& path)
{
    return path.empty() ? std::u16string()
                        : fromQString(QFileInfo(toQString(path)).completeSuffix());
}

std::u16string FileUtility::parentPath(const std::u16string& path)
{
    return path.empty() ? std::u16string() : fromQString(QFileInfo(toQString(path)).path());
}

bool FileUtility::listEntries(const std::u16string& path, std::vector<std::u16string>& files,
                              std::vector<std::u16string>& directories)
{
    files.clear();
    directories.clear();
    if (path.empty()) return false;
    const QFileInfo info(toQString(path));
    if (!info.isDir() || !info.isReadable() || !info.isExecutable()) return false;
    const QDir dir(info.filePath());
    for (const QString& name : dir.entryList(QDir::Files | QDir::NoSymLinks, QDir::Name))
        files.push_back(fromQString(name));
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name))
        directories.push_back(fromQString(name));
    return true;
}

} // namespace zelmo::TARNEL
