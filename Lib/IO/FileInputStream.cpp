// SPDX-License-Identifier: MIT
#include "IO/FileInputStream.h"

#include "IO/FileUtility.h"
#include "IO/StdioFile.h"

#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmo::TARNEL {

bool FileInputStream::open(const std::u16string& path)
{
    return openEncoded(FileUtility::encodeName(path));
}

bool FileInputStream::openEncoded(const std::string& name)
{
    close();
    // An embedded NUL would silently cut the name short; an empty one names nothing.
    if (name.empty() || name.find('\0') != std::string::npos) {
        onError();
        return false;
    }
    // Non-blocking only while opening: a named pipe without a writer must not hang the caller.
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    // A directory opens fine for reading but yields no data; it is not a file to read.
    if (fd < 0 || ::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        if (fd >= 0) ::close(fd);
        onError();
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_file = ::fdopen(fd, "rb");
    if (!m_file) {
        ::close(fd);
        onError();
        return false;
    }
    m_open = true;
    return true;
}

int FileInputStream::readByte()
{
    const int c = m_file ? std::fgetc(m_file) : EOF;
    if (c == EOF) {
        onError();
        return -1;
    }
    return c;
}

bool FileInputStream::read(TUint8* buf, TUint32 n)
{
    if (!m_file) {
        onError();
        return false;
    }
    if (n == 0) return true;
    if (std::fread(buf, 1, n, m_file) != n) {
        onError();
        return false;
    }
    return true;
}

int FileInputStream::size()
{
    const int64_t n = stdioFileSize(m_file);
    if (n < 0) {
        onError();
        return 0;
    }
    return static_cast<int>(n);
}

int FileInputStream::position()
{
    const int64_t here = stdioFilePosition(m_file);
    if (here < 0) {
        onError();
        return 0;
    }
    return static_cast<int>(here);
}

bool FileInputStream::seek(TUint32 pos)
{
    if (!stdioFileSeek(m_file, pos)) {
        onError();
        return false;
    }
    return true;
}

bool FileInputStream::isEof()
{
    if (!m_file) return true;
    return size() == position();
}

void FileInputStream::close()
{
    m_open = false;
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
}

} // namespace zelmo::TARNEL
