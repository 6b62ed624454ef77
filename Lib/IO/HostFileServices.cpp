// SPDX-License-Identifier: MIT
#include "IO/HostFileServices.h"

#include "Base/Errors.h"
#include "IO/FileInputStream.h"
#include "IO/FileOutputStream.h"
#include "IO/FileUtility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelmo {

namespace {

// The Qt spelling of exactly the bytes that were checked.
QString qtPath(const MappedPath& mapped)
{
    return QFile::decodeName(
        QByteArray(mapped.name.data(), static_cast<qsizetype>(mapped.name.size())));
}

} // namespace

HostFileServices::HostFileServices(const std::u16string& baseDirectory) : m_paths(baseDirectory) {}

HostFileServices::~HostFileServices() = default;

std::unique_ptr<TARNEL::OutputStream> HostFileServices::openFileWriter(const std::u16string& path,
                                                                       int32_t flag)
{
    const auto mapped = m_paths.map(path);
    if (!mapped || mapped->isBase) return nullptr;
    auto stream = std::make_unique<TARNEL::FileOutputStream>();
    const auto mode = flag == 1 ? TARNEL::FileOutputStream::Mode::Truncate
                                : TARNEL::FileOutputStream::Mode::KeepContents;
    if (!stream->openEncoded(mapped->name, mode)) return nullptr;
    return stream;
}

std::unique_ptr<TARNEL::InputStream> HostFileServices::openFileReader(const std::u16string& path)
{
    const auto mapped = m_paths.map(path);
    if (!mapped || mapped->isBase) return nullptr;
    auto stream = std::make_unique<TARNEL::FileInputStream>();
    if (!stream->openEncoded(mapped->name)) return nullptr;
    return stream;
}

bool HostFileServices::deleteFile(const std::u16string& path)
{
    const auto mapped = m_paths.map(path);
    if (!mapped || mapped->isBase) return false;
    const QFileInfo info(qtPath(*mapped));
    if (!info.exists() && !info.isSymLink()) return false;
    if (info.isDir() && !info.isSymLink()) return false;
    return QFile::remove(info.filePath());
}

bool HostFileServices::fileExists(const std::u16string& path)
{
    const auto mapped = m_paths.map(path);
    return mapped && QFileInfo::exists(qtPath(*mapped));
}

bool HostFileServices::renameFile(const std::u16string& from, const std::u16string& to)
{
    const auto source = m_paths.map(from);
    const auto target = m_paths.map(to);
    if (!source || !target || source->isBase || target->isBase) return false;
    const QFileInfo sourceInfo(qtPath(*source));
    const QFileInfo targetInfo(qtPath(*target));
    if (!sourceInfo.isFile() || targetInfo.exists() || targetInfo.isSymLink()) return false;
    const QString targetDir = targetInfo.absolutePath();
    if (!QFileInfo(targetDir).isDir() && !QDir().mkpath(targetDir)) return false;
    return QFile::rename(sourceInfo.filePath(), targetInfo.filePath());
}

bool HostFileServices::listDirectory(const std::u16string& path, std::vector<std::u16string>& files,
                                     std::vector<std::u16string>& directories, int32_t /*flag*/)
{
    files.clear();
    directories.clear();
    const auto mapped = m_paths.map(path);
    return mapped &&
           TARNEL::FileUtility::listEntries(qtPath(*mapped).toStdU16String(), files, directories);
}

bool HostFileServices::createDirectory(const std::u16string& path)
{
    const auto mapped = m_paths.map(path);
    return mapped && QDir().mkpath(qtPath(*mapped));
}

bool HostFileServices::deleteDirectory(const std::u16string& path)
{
    const auto mapped = m_paths.map(path);
    // The application directory itself holds the image: it is never removed.
    return mapped && !mapped->isBase &&
           TARNEL::FileUtility::removeDirectory(qtPath(*mapped).toStdU16String());
}

bool HostFileServices::renameDirectory(const std::u16string& from, const std::u16string& to)
{
    const auto source = m_paths.map(from);
    const auto target = m_paths.map(to);
    if (!source || !target || source->isBase || target->isBase) return false;
    const QFileInfo sourceInfo(qtPath(*source));
    const QFileInfo targetInfo(qtPath(*target));
    if (!sourceInfo.isDir() || sourceInfo.isSymLink() || targetInfo.exists() ||
        targetInfo.isSymLink())
        return false;
    return QDir().rename(sourceInfo.filePath(), targetInfo.filePath());
}

bool HostFileServices::directoryExists(const std::u16string& path)
{
    const auto mapped = m_paths.map(path);
    return mapped && QFileInfo(qtPath(*mapped)).isDir();
}

bool HostFileServices::setLogFile(const std::u16string& path)
{
    if (path.empty()) {
        m_log.reset();
        return true;
    }
    const auto mapped = m_paths.map(path);
    if (!mapped) return false;
    m_log.reset();
    auto stream = std::make_unique<TARNEL::FileOutputStream>();
    if (mapped->isBase ||
        !stream->openEncoded(mapped->name, TARNEL::FileOutputStream::Mode::Truncate))
        return false;
    m_log = std::move(stream);
    return true;
}

bool HostFileServices::logLine(const std::u16string& text)
{
    if (!m_log) return false;
    const std::string bytes = toUtf8(text);
    if (bytes.empty()) return true;
    const std::string line = "LOG: " + bytes + "\n";
    return m_log->write(reinterpret_cast<const uint8_t*>(line.data()),
                        static_cast<uint32_t>(line.size())) &&
           m_log->flush();
}

} // namespace zelmo
