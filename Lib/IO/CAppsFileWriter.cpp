// SPDX-License-Identifier: MIT
#include "IO/CAppsFileWriter.h"

namespace zelmo::TARNEL {

CAppsFileWriter::CAppsFileWriter(const std::u16string& path, FileOutputStream::Mode mode)
    : m_path(path)
{
    auto stream = std::make_unique<FileOutputStream>();
    stream->open(path, mode);
    m_stream = std::move(stream);
}

CAppsFileWriter::CAppsFileWriter(std::unique_ptr<OutputStream> stream, const std::u16string& path)
    : m_path(path), m_stream(std::move(stream))
{
}

bool CAppsFileWriter::writeByteBufferToFile(const TUint8* buf, int n)
{
    if (n < 0 || !m_stream) return false;
    return m_stream->write(buf, static_cast<TUint32>(n));
}

bool CAppsFileWriter::writeSlice(const std::vector<TUint8>& bytes, int offset, int count)
{
    if (count == 0) return true;
    if (offset < 0) return false;
    const int64_t length = static_cast<int64_t>(bytes.size());
    const int64_t end = count < 0 ? length : int64_t{offset} + count;
    if (end > length || offset > length) return false;
    return writeByteBufferToFile(bytes.data() + offset, static_cast<int>(end - offset));
}

bool CAppsFileWriter::writeString(const std::u16string& text)
{
    std::vector<TUint8> bytes(text.begin(), text.end()); // narrowing keeps the low 8 bits
    return writeByteBufferToFile(bytes.data(), static_cast<int>(bytes.size()));
}

namespace {

template <class T> bool writeBigEndian(OutputStream* stream, T value)
{
    uint8_t bytes[sizeof(T)];
    auto bits = static_cast<uint64_t>(value);
    for (size_t i = sizeof(T); i-- > 0; bits >>= 8)
        bytes[i] = static_cast<uint8_t>(bits);
    return stream && stream->write(bytes, sizeof(T));
}

} // namespace

bool CAppsFileWriter::writeInt16(int16_t value)
{
    return writeBigEndian(m_stream.get(), value);
}
bool CAppsFileWriter::writeInt32(int32_t value)
{
    return writeBigEndian(m_stream.get(), value);
}
bool CAppsFileWriter::writeInt64(int64_t value)
{
    return writeBigEndian(m_stream.get(), value);
}

} // namespace zelmo::TARNEL
