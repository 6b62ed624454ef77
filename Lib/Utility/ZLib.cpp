// SPDX-License-Identifier: MIT
#include "Utility/ZLib.h"

#include "IO/CAppsFileReader.h"
#include "IO/CAppsFileWriter.h"
#include "IO/InternalAssert.h"

#include <climits>
#include <zlib.h>

namespace zelmo {

namespace {

// Ends the zlib stream on every way out of a function.
template <int (*End)(z_streamp)> struct StreamGuard {
    z_stream stream{};
    bool started = false;
    ~StreamGuard()
    {
        if (started) End(&stream);
    }
};

void append(std::vector<signed char>& out, const unsigned char* bytes, size_t n)
{
    out.insert(out.end(), reinterpret_cast<const signed char*>(bytes),
               reinterpret_cast<const signed char*>(bytes) + n);
}

} // namespace

bool ZLib::compress(const std::vector<signed char>& in, std::vector<signed char>& out, int level)
{
    out.clear();
    if (in.empty()) return true;
    if (in.size() > UINT_MAX) return false;
    StreamGuard<deflateEnd> guard;
    if (deflateInit(&guard.stream, level) != Z_OK) return false;
    guard.started = true;
    guard.stream.next_in = reinterpret_cast<Bytef*>(const_cast<signed char*>(in.data()));
    guard.stream.avail_in = static_cast<uInt>(in.size());
    unsigned char buffer[kBufferSize];
    for (;;) {
        guard.stream.next_out = buffer;
        guard.stream.avail_out = kBufferSize;
        const int result = deflate(&guard.stream, Z_FINISH);
        ZELMO_IO_ASSERT(result != Z_STREAM_ERROR);
        append(out, buffer, kBufferSize - guard.stream.avail_out);
        if (result == Z_STREAM_END) return true;
        if (result != Z_OK) return false;
    }
}

bool ZLib::unCompress(const std::vector<signed char>& in, std::vector<signed char>& out)
{
    out.clear();
    if (in.empty()) return true;
    if (in.size() > UINT_MAX) return false;
    StreamGuard<inflateEnd> guard;
    if (inflateInit(&guard.stream) != Z_OK) return false;
    guard.started = true;
    guard.stream.next_in = reinterpret_cast<Bytef*>(const_cast<signed char*>(in.data()));
    guard.stream.avail_in = static_cast<uInt>(in.size());
    unsigned char buffer[kBufferSize];
    for (;;) {
        guard.stream.next_out = buffer;
        guard.stream.avail_out = kBufferSize;
        const int result = inflate(&guard.stream, Z_NO_FLUSH);
        ZELMO_IO_ASSERT(result != Z_STREAM_ERROR);
        if (result == Z_NEED_DICT || result == Z_DATA_ERROR || result == Z_MEM_ERROR) return false;
        append(out, buffer, kBufferSize - guard.stream.avail_out);
        if (result == Z_STREAM_END) return true;
        // Room left in the buffer with every input byte taken: the data stops before the
        // stream's end marker, and asking again would never finish.
        if (result == Z_BUF_ERROR || (guard.stream.avail_in == 0 && guard.stream.avail_out != 0))
            return false;
    }
}

bool ZLib::unCompress(TARNEL::CAppsFileReader& in, TARNEL::CAppsFileWriter& out, int length,
                      int chunk)
{
    if (!in.isOpen() || !out.isOpen() || length < 0 || chunk <= 0) return false;
    if (int64_t{in.size()} - in.position() < length) return false;
    if (length == 0) return true;
    StreamGuard<inflateEnd> guard;
    if (inflateInit(&guard.stream) != Z_OK) return false;
    guard.started = true;
    std::vector<unsigned char> input(static_cast<size_t>(chunk));
    std::vector<unsigned char> output(static_cast<size_t>(chunk));
    int left = length;
    while (left > 0) {
        const int piece = left < chunk ? left : chunk;
        if (!in.read(input.data(), static_cast<uint32_t>(piece))) return false;
        left -= piece;
        guard.stream.next_in = input.data();
        guard.stream.avail_in = static_cast<uInt>(piece);
        do {
            guard.stream.next_out = output.data();
            guard.stream.avail_out = static_cast<uInt>(chunk);
            const int result = inflate(&guard.stream, Z_NO_FLUSH);
            ZELMO_IO_ASSERT(result != Z_STREAM_ERROR);
            if (result == Z_NEED_DICT || result == Z_DATA_ERROR || result == Z_MEM_ERROR)
                return false;
            const int produced = chunk - static_cast<int>(guard.stream.avail_out);
            if (produced > 0 && !out.writeByteBufferToFile(output.data(), produced)) return false;
            if (result == Z_STREAM_END) return true;
            if (result == Z_BUF_ERROR)
                break; // this piece is used up; the next one continues the stream
        } while (guard.stream.avail_out == 0);
    }
    // Every byte of the slice was inflated and the stream has not ended: the data is cut short.
    return false;
}

} // namespace zelmo
