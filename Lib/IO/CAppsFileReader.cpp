// SPDX-License-Identifier: MIT
#include "IO/CAppsFileReader.h"

#include "IO/FileInputStream.h"

namespace zelmo::TARNEL {

CAppsFileReader::CAppsFileReader(const std::u16string& path) : m_path(path)
{
    auto stream = std::make_unique<FileInputStream>();
    stream->open(path);
    m_stream = std::move(stream);
}

CAppsFileReader::CAppsFileReader(std::unique_ptr<InputStream> stream, const std::u16string& path)
    : m_path(path), m_stream(std::move(stream))
{
}

bool CAppsFileReader::readLine(std::u16string& line)
{
    if (!m_stream || m_stream->isEof()) return false;
    line.clear();
    for (;;) {
        uint8_t byte = 0;
        if (!m_stream->read(&byte, 1)) break;
        if (byte == 10) break;
        if (byte == 13) {
            uint8_t discarded = 0;
            m_stream->read(&discarded, 1);
            break;
        }
        if (byte >= 32) line.push_back(byte);
    }
    return true;
}

bool CAppsFileReader::readString(int n, std::u16string& text)
{
    if (n < 0 || !m_stream) return false;
    // A count from a file must not make us allocate more than the data can fill.
    if (n > int64_t{m_stream->size()} - m_stream->position()) return false;
    std::vector<TUint8> bytes(static_cast<size_t>(n));
    if (!m_stream->read(bytes.data(), static_cast<TUint32>(n))) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

bool CAppsFileReader::readRest(std::vector<TUint8>& bytes)
{
    if (!m_stream) return false;
    const int64_t left = int64_t{m_stream->size()} - m_stream->position();
    if (left < 0) return false;
    std::vector<TUint8> rest(static_cast<size_t>(left));
    if (!m_stream->read(rest.data(), static_cast<TUint32>(left))) return false;
    bytes = std::move(rest);
    return true;
}

namespace {

template <class T> bool readBigEndian(InputStream* stream, T& value)
{
    uint8_t bytes[sizeof(T)];
    if (!stream || !stream->read(bytes, sizeof(T))) return false;
    uint64_t assembled = 0;
    for (uint8_t b : bytes)
        assembled = (assembled << 8) | b;
    value = static_cast<T>(assembled);
    return true;
}

} // namespace

bool CAppsFileReader::readUint8(uint8_t& value)
{
    return readBigEndian(m_stream.get(), value);
}
bool CAppsFileReader::readUint16(uint16_t& value)
{
    return readBigEndian(m_stream.get(), value);
}
bool CAppsFileReader::readInt32(int32_t& value)
{
    return readBigEndian(m_stream.get(), value);
}
bool CAppsFileReader::readInt64(int64_t& value)
{
    return readBigEndian(m_stream.get(), value);
}

} // namespace zelmo::TARNEL
