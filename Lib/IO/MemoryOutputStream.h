// SPDX-License-Identifier: MIT
// An output stream into a byte vector: either the caller's (not owned) or one of its own.
// Writing at the end appends, writing inside overwrites, and a position past the end writes
// nothing.
#pragma once

#include "IO/Stream.h"

#include <memory>
#include <vector>

namespace zelmo::TARNEL {

class MemoryOutputStream : public OutputStream {
public:
    MemoryOutputStream();
    // Writes into `target`, which must outlive the stream or its close().
    explicit MemoryOutputStream(std::vector<TUint8>& target);

    // The vector written to; null after close().
    const std::vector<TUint8>* bytes() const { return m_target; }

    bool writeByte(TUint8 b) override;
    // Stops at the first byte that cannot be written and then answers false.
    bool write(const TUint8* buf, TUint32 n) override;
    int size() override { return m_target ? static_cast<int>(m_target->size()) : 0; }
    int position() override;
    bool seek(TUint32 pos) override;
    void close() override;

private:
    std::unique_ptr<std::vector<TUint8>> m_owned;
    std::vector<TUint8>* m_target = nullptr;
    // Wide enough that no seek can make it negative or wrap it.
    int64_t m_position = 0;
};

} // namespace zelmo::TARNEL
