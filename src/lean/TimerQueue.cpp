// SPDX-License-Identifier: MIT
#include "lean/TimerQueue.h"

#include <algorithm>
#include <limits>

namespace zelmo {

int32_t TimerQueue::addTimer(uint32_t listener, uint32_t delay)
{
    if (delay > static_cast<uint32_t>(std::numeric_limits<int>::max())) return -1;
    if (m_nextId == std::numeric_limits<int32_t>::max()) return -1; // ids are never reused
    const Clock::duration period = std::chrono::milliseconds(delay);
    m_timers.push_back({m_nextId, listener, period, Clock::now() + period, m_armings++});
    return m_nextId++;
}

TimerQueue::Timer* TimerQueue::find(int32_t id)
{
    const auto it =
        std::find_if(m_timers.begin(), m_timers.end(), [id](const Timer& t) { return t.id == id; });
    return it == m_timers.end() ? nullptr : &*it;
}

uint32_t TimerQueue::removeTimer(int32_t id)
{
    const Timer* timer = find(id);
    if (!timer) return 0;
    const uint32_t listener = timer->listener;
    m_timers.erase(m_timers.begin() + (timer - m_timers.data()));
    return listener;
}

bool TimerQueue::updateTimerDelay(int32_t id, int32_t delay)
{
    Timer* timer = find(id);
    if (!timer || delay < 0) return false;
    timer->period = std::chrono::milliseconds(delay);
    timer->due = Clock::now() + timer->period;
    timer->armed = m_armings++;
    return true;
}

TimerQueue::Clock::time_point TimerQueue::nextExpiry() const
{
    Clock::time_point next = Clock::time_point::max();
    for (const Timer& timer : m_timers)
        next = std::min(next, timer.due);
    return next;
}

std::vector<int32_t> TimerQueue::dueTimers(Clock::time_point now) const
{
    std::vector<const Timer*> due;
    for (const Timer& timer : m_timers)
        if (timer.due <= now) due.push_back(&timer);
    std::sort(due.begin(), due.end(), [](const Timer* a, const Timer* b) {
        return a->due != b->due ? a->due < b->due : a->armed < b->armed;
    });
    std::vector<int32_t> ids;
    for (const Timer* timer : due)
        ids.push_back(timer->id);
    return ids;
}

bool TimerQueue::expire(int32_t id, Clock::time_point now, uint32_t& listener)
{
    Timer* timer = find(id);
    if (!timer || timer->due > now) return false;
    timer->due += timer->period;
    if (timer->due < now) timer->due = now + timer->period;
    timer->armed = m_armings++;
    listener = timer->listener;
    return true;
}

} // namespace zelmo
