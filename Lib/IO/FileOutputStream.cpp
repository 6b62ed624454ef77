// SPDX-License-Identifier: MIT
#include "IO/FileOutputStream.h"

#include "IO/FileUtility.h"
#include "IO/StdioFile.h"

#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace zelmo::TARNEL {

bool FileOutputStream::open(const std::u16string& path, Mode mode)
{
    return openEncoded(FileUtility::encodeName(FileUtility::convertSeparators(path)), mode);
}

bool FileOutputStream::openEncoded(const std::string& name, Mode mode)
{
    close();
    if (name.empty() || name.front() != '/' || name.find('\0') != std::string::npos) {
        onError();
        return false;
    }
    const size_t slash = name.rfind('/');
    if (slash > 0) {
        const std::u16string parent = FileUtility::decodeName(name.substr(0, slash));
        if (!FileUtility::directoryExists(parent) && !FileUtility::createPath(parent)) {
            onError();
            return false;
        }
    }
    // Keeping the contents opens the existing file in place rather than copying it out and
    // back: a crash or a full disk halfway through must not cost the application its file.
    // Non-blocking only while opening: a named pipe without a reader must not hang the caller.
    const int flags =
        O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (mode == Mode::Truncate ? O_TRUNC : 0);
    const int fd = ::open(name.c_str(), flags, 0666);
    if (fd < 0) {
        onError();
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_file = ::fdopen(fd, "wb"); // fdopen never truncates; the descriptor decided that
    if (!m_file) {
        ::close(fd);
        onError();
        return false;
    }
    if (mode == Mode::KeepContents && ::fseeko(m_file, 0, SEEK_END) != 0) {
        std::fclose(m_file);
        m_file = nullptr;
        onError();
        return false;
    }
    m_open = true;
    return true;
}

bool FileOutputStream::writeByte(TUint8 b)
{
    if (!m_file || std::ferror(m_file) || std::fputc(b, m_file) == EOF) {
        onError();
        return false;
    }
    return true;
}

bool FileOutputStream::write(const TUint8* buf, TUint32 n)
{
    if (!m_file || std::ferror(m_file)) {
        onError();
        return false;
    }
    if (n > 0 && std::fwrite(buf, 1, n, m_file) != n) {
        onError();
        return false;
    }
    return true;
}

int FileOutputStream::size()
{
    const int64_t n = stdioFileSize(m_file);
    if (n < 0) {
        onError();
        return 0;
    }
    return static_cast<int>(n);
}

int FileOutputStream::position()
{
    const int64_t here = stdioFilePosition(m_file);
    if (here < 0) {
        onError();
        return 0;
    }
    return static_cast<int>(here);
}

bool FileOutputStream::seek(TUint32 pos)
{
    if (!stdioFileSeek(m_file, pos)) {
        onError();
        return false;
    }
    return true;
}

bool FileOutputStream::flush()
{
    if (!m_file || std::fflush(m_file) != 0 || std::ferror(m_file)) {
        onError();
        return false;
    }
    return true;
}

bool FileOutputStream::closeChecked()
{
    m_open = false;
    if (!m_file) return false;
    const bool delivered = std::fflush(m_file) == 0 && !std::ferror(m_file);
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!delivered || !closed) {
        onError();
        return false;
    }
    return true;
}

} // namespace zelmo::TARNEL
