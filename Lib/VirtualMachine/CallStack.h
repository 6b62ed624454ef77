// SPDX-License-Identifier: MIT
// The frames of the calls in progress: per call, the method info that describes its frame
// (negative: none) and the operand-stack index where the frame starts. The capacity is fixed
// and allocated once, uninitialised, so the pages of depths never reached are never touched and
// a call costs one bounds check and one store instead of two vector appends.
#pragma once

#include <cstdint>
#include <memory>

namespace zelmo {

struct CallFrame {
    int32_t gcInfo;
    int32_t base;
};

class CallStack {
public:
    explicit CallStack(int32_t capacity) : m_frames(new CallFrame[capacity]), m_capacity(capacity)
    {
    }

    int32_t depth() const { return m_depth; }
    bool full() const { return m_depth >= m_capacity; }
    const CallFrame& operator[](int32_t i) const { return m_frames[i]; }

    // The caller has checked full().
    void push(int32_t gcInfo, int32_t base) { m_frames[m_depth++] = {gcInfo, base}; }
    // False when there is no call to return from.
    bool pop()
    {
        if (m_depth == 0) return false;
        --m_depth;
        return true;
    }
    // Back to an outer depth (calls abandoned by a caught exception); deeper values are ignored.
    void cut(int32_t depth)
    {
        if (depth >= 0 && depth <= m_depth) m_depth = depth;
    }
    // One frame: the entry of an invocation.
    void reset(int32_t gcInfo, int32_t base)
    {
        m_depth = 0;
        push(gcInfo, base);
    }

private:
    std::unique_ptr<CallFrame[]> m_frames;
    int32_t m_capacity;
    int32_t m_depth = 0;
};

} // namespace zelmo
