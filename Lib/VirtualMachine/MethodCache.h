// SPDX-License-Identifier: MIT
// The implementations virtual calls found, by selector and receiver class: the code address,
// the method info and the frame's words below the call, all checked when remembered. Loading
// only appends to the method tables (a selector gains entries for new classes, never changes
// the entry of a class it already has) and the code only grows, so a remembered target stays
// right for the machine's life and the cache is never invalidated.
//
// Each selector maps to one line of up to kWays classes, searched in order: the branches of
// that search tell the processor which class the call has, so the indirect jump into the
// callee is predicted even when the receiver's class changes at every call (a hashed lookup
// without them made such calls slower than the full search). A selector that shares its line
// with another takes the line over; a class beyond kWays replaces the ways in turn.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelmo {

struct CallTarget {
    int32_t codeAddress; // inside the code
    int32_t gcInfo;      // a valid method-info index, or negative: none
    int32_t frameWords;  // the frame's words below the return slot (0 without method info)
};

class MethodCache {
public:
    MethodCache()
    {
        // An empty line holds a selector of another line, which no search for it compares
        // equal to.
        for (size_t i = 0; i < kLines; ++i)
            m_lines[i].selector = static_cast<int32_t>(i + 1);
    }

    // The remembered target of (selector, classId), or null. Every way of a used line holds a
    // remembered pair (the unused ones a copy of the first), so the search runs the same
    // fixed number of compares without asking how many are used.
    const CallTarget* find(int32_t selector, int32_t classId) const
    {
        const Line& line = m_lines[lineOf(selector)];
        if (line.selector != selector) return nullptr;
        for (size_t way = 0; way < kWays; ++way) {
            if (line.classIds[way] == classId) return &line.targets[way];
        }
        return nullptr;
    }

    void remember(int32_t selector, int32_t classId, const CallTarget& target)
    {
        Line& line = m_lines[lineOf(selector)];
        if (line.selector != selector) line = Line{selector};
        size_t way = line.used;
        if (way < kWays) {
            ++line.used;
        } else {
            way = line.next;
            line.next = (line.next + 1) % kWays;
        }
        line.classIds[way] = classId;
        line.targets[way] = target;
        for (size_t unused = line.used; unused < kWays; ++unused) {
            line.classIds[unused] = line.classIds[0];
            line.targets[unused] = line.targets[0];
        }
    }

private:
    static constexpr size_t kWays = 4;
    static constexpr size_t kLines = 64;
    static size_t lineOf(int32_t selector) { return static_cast<uint32_t>(selector) % kLines; }

    struct Line {
        int32_t selector = 0;
        size_t used = 0; // ways remembered
        size_t next = 0; // the way replaced next once all are used
        std::array<int32_t, kWays> classIds{};
        std::array<CallTarget, kWays> targets{};
    };
    std::array<Line, kLines> m_lines{};
};

} // namespace zelmo
