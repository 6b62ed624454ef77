// SPDX-License-Identifier: MIT
#include "IO/HostFileServices.h"

#include "Base/Errors.h"
#include "IO/ApplicationDataFolder.h"
#include "IO/FileInputStream.h"
#include "IO/FileOutputStream.h"
#include "IO/FileUtility.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace zelmo {

namespace {

// The Qt spelling of exactly the bytes that were checked.
QString qtPath(const MappedPath& mapped)
{
    return QFile::decodeName(
        QByteArray(mapped.name.data(), static_cast<qsizetype>(mapped.name.size())));
}

bool existsOrLink(const MappedPath& mapped)
{
    const QFileInfo info(qtPath(mapped));
    return info.exists() || info.isSymLink();
}

// Creates the directory that will hold `mapped` (writes into the data folder need it).
bool makeParent(const MappedPath& mapped)
{
    const QString parent = QFileInfo(qtPath(mapped)).absolutePath();
    return QFileInfo(parent).isDir() || QDir().mkpath(parent);
}

} // namespace

HostFileServices::HostFileServices(const std::u16string& baseDirectory) : m_paths(baseDirectory)
{
    const QString base = QString::fromStdU16String(m_paths.baseDirectory());
    if (isReadOnlyDirectory(base)) m_overlay.emplace(applicationDataFolder(base).toStdU16String());
}

std::optional<MappedPath> HostFileServices::mapWrite(std::u16string_view path) const
{
    return m_overlay ? m_overlay->map(path) : m_paths.map(path);
}

std::optional<MappedPath> HostFileServices::mapRead(std::u16string_view path) const
{
    if (m_overlay) {
        auto written = m_overlay->map(path);
        if (!written) return std::nullopt;
        if (existsOrLink(*written)) return written;
    }
    return m_paths.map(path);
}

bool HostFileServices::installedHas(std::u16string_view path) const
{
    if (!m_overlay) return false;
    const auto installed = m_paths.map(path);
    return installed && existsOrLink(*installed);
}

HostFileServices::~HostFileServices() = default;

std::unique_ptr<TARNEL::OutputStream> HostFileServices::openFileWriter(const std::u16string& path,
                                                                       int32_t flag)
{
    const auto mapped = mapWrite(path);
    if (!mapped || mapped->isBase) return nullptr;
    if (m_overlay) {
        if (!makeParent(*mapped)) return nullptr;
        // Appending to a file of the installed directory continues a copy of it.
        const auto installed = m_paths.map(path);
        if (flag != 1 && !existsOrLink(*mapped) && installed &&
            QFileInfo(qtPath(*installed)).isFile() &&
            !QFile::copy(qtPath(*installed), qtPath(*mapped)))
            return nullptr;
    }
    auto stream = std::make_unique<TARNEL::FileOutputStream>();
    const auto mode = flag == 1 ? TARNEL::FileOutputStream::Mode::Truncate
                                : TARNEL::FileOutputStream::Mode::KeepContents;
    if (!stream->openEncoded(mapped->name, mode)) return nullptr;
    return stream;
}

std::unique_ptr<TARNEL::InputStream> HostFileServices::openFileReader(const std::u16string& path)
{
    const auto mapped = mapRead(path);
    if (!mapped || mapped->isBase) return nullptr;
    auto stream = std::make_unique<TARNEL::FileInputStream>();
    if (!stream->openEncoded(mapped->name)) return nullptr;
    return stream;
}

bool HostFileServices::deleteFile(const std::u16string& path)
{
    const auto mapped = mapWrite(path);
    if (!mapped || mapped->isBase) return false;
    const QFileInfo info(qtPath(*mapped));
    if (!info.exists() && !info.isSymLink()) return false;
    if (info.isDir() && !info.isSymLink()) return false;
    return QFile::remove(info.filePath());
}

bool HostFileServices::fileExists(const std::u16string& path)
{
    const auto mapped = mapRead(path);
    return mapped && QFileInfo::exists(qtPath(*mapped));
}

bool HostFileServices::renameFile(const std::u16string& from, const std::u16string& to)
{
    const auto source = mapWrite(from);
    const auto target = mapWrite(to);
    if (!source || !target || source->isBase || target->isBase || installedHas(to)) return false;
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
    if (!mapped) return false;
    bool listed =
        TARNEL::FileUtility::listEntries(qtPath(*mapped).toStdU16String(), files, directories);
    const auto written = m_overlay ? m_overlay->map(path) : std::nullopt;
    std::vector<std::u16string> moreFiles, moreDirectories;
    if (written && TARNEL::FileUtility::listEntries(qtPath(*written).toStdU16String(), moreFiles,
                                                    moreDirectories)) {
        // What the application wrote joins what was installed, each name once, sorted.
        const auto merge = [](std::vector<std::u16string>& into,
                              std::vector<std::u16string>& more) {
            into.insert(into.end(), more.begin(), more.end());
            std::sort(into.begin(), into.end());
            into.erase(std::unique(into.begin(), into.end()), into.end());
        };
        merge(files, moreFiles);
        merge(directories, moreDirectories);
        listed = true;
    }
    return listed;
}

bool HostFileServices::createDirectory(const std::u16string& path)
{
    const auto mapped = mapWrite(path);
    return mapped && QDir().mkpath(qtPath(*mapped));
}

bool HostFileServices::deleteDirectory(const std::u16string& path)
{
    const auto mapped = mapWrite(path);
    // The application directory itself holds the image: it is never removed.
    return mapped && !mapped->isBase &&
           TARNEL::FileUtility::removeDirectory(qtPath(*mapped).toStdU16String());
}

bool HostFileServices::renameDirectory(const std::u16string& from, const std::u16string& to)
{
    const auto source = mapWrite(from);
    const auto target = mapWrite(to);
    if (!source || !target || source->isBase || target->isBase || installedHas(to)) return false;
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
    if (mapped && QFileInfo(qtPath(*mapped)).isDir()) return true;
    const auto written = m_overlay ? m_overlay->map(path) : std::nullopt;
    return written && QFileInfo(qtPath(*written)).isDir();
}

bool HostFileServices::setLogFile(const std::u16string& path)
{
    if (path.empty()) {
        m_log.reset();
        return true;
    }
    const auto mapped = mapWrite(path);
    if (!mapped) return false;
    m_log.reset();
    auto stream = std::make_unique<TARNEL::FileOutputStream>();
    if (mapped->isBase || (m_overlay && !makeParent(*mapped)) ||
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
