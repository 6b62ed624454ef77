// SPDX-License-Identifier: MIT
// The application's timers in the lean run, without an event loop library: periodic timers kept
// in the order they expire, with the rules of the full runtime's Qt precise timers (Scheduler):
// ids start at 10 and are never reused; a timer first expires its delay after it is added (or
// after its delay changes); the next period counts from the previous expiry, and a timer that
// fell behind expires once and then a whole period after now. Timers due at the same time
// expire in the order they were (re)armed, and one round of expiries serves only timers that
// were due when it began, each once.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace zelmo {

class TimerQueue {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr int32_t kFirstTimerId = 10;

    // Its id, or -1 (nothing created) for a delay beyond what a Qt timer takes or when the ids
    // are used up.
    int32_t addTimer(uint32_t listener, uint32_t delay);
    // Its listener, or 0 when no timer has that id.
    uint32_t removeTimer(int32_t id);
    // Gives the timer a new period, restarting it; false when there is no such timer.
    bool updateTimerDelay(int32_t id, int32_t delay);
    size_t timerCount() const { return m_timers.size(); }

    // When the next timer expires; only with a timer.
    Clock::time_point nextExpiry() const;
    // The ids of the timers due at `now`, in expiry order: one round.
    std::vector<int32_t> dueTimers(Clock::time_point now) const;
    // Rearms the timer for its next period (as a round does before it delivers the expiry) and
    // gives its listener; false when the timer is gone or no longer due at `now` (removed or
    // restarted by an earlier expiry of the same round).
    bool expire(int32_t id, Clock::time_point now, uint32_t& listener);

private:
    struct Timer {
        int32_t id;
        uint32_t listener;
        Clock::duration period;
        Clock::time_point due;
        uint64_t armed; // the order in which timers were (re)armed: ties expire by it
    };
    Timer* find(int32_t id);

    std::vector<Timer> m_timers;
    int32_t m_nextId = kFirstTimerId;
    uint64_t m_armings = 0;
};

} // namespace zelmo
