// SPDX-License-Identifier: MIT
#include "host/Scheduler.h"

#include <QTimer>
#include <algorithm>
#include <limits>

namespace zelmo {

Timer::Timer(uint32_t listener, int32_t id, uint32_t delay, Scheduler& scheduler)
    : m_listener(listener), m_id(id), m_timer(new QTimer(this)), m_scheduler(scheduler)
{
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer, &QTimer::timeout, this, &Timer::timeout);
    m_timer->setInterval(static_cast<int>(delay));
    m_timer->start();
}

Timer::~Timer() = default; // the Qt timer is a child: stopped and destroyed with us

void Timer::timeout()
{
    m_scheduler.deliver(*this);
}

Scheduler::Scheduler() = default;

Scheduler::~Scheduler() = default;

void Scheduler::setSink(TimerSink* sink)
{
    m_sink = sink;
    if (sink) return;
    // Nothing can receive an expiry any more. A timer whose event is on the call stack dies
    // when that delivery returns.
    for (std::unique_ptr<Timer>& timer : m_timers) {
        timer->platformTimer()->stop();
        if (m_deliveries > 0) m_retired.push_back(std::move(timer));
    }
    m_timers.clear();
}

int32_t Scheduler::addTimer(uint32_t listener, uint32_t delay)
{
    if (!m_sink || delay > static_cast<uint32_t>(std::numeric_limits<int>::max())) return -1;
    if (m_nextId == std::numeric_limits<int32_t>::max()) return -1; // ids are never reused
    const int32_t id = m_nextId++;
    m_timers.push_back(std::make_unique<Timer>(listener, id, delay, *this));
    return id;
}

Timer* Scheduler::findTimer(int32_t id) const
{
    for (const std::unique_ptr<Timer>& timer : m_timers) {
        if (timer->id() == id) return timer.get();
    }
    return nullptr;
}

uint32_t Scheduler::removeTimer(int32_t id)
{
    const auto it = std::find_if(m_timers.begin(), m_timers.end(),
                                 [id](const std::unique_ptr<Timer>& t) { return t->id() == id; });
    if (it == m_timers.end()) return 0;
    std::unique_ptr<Timer> timer = std::move(*it);
    m_timers.erase(it);
    const uint32_t listener = timer->listener();
    timer->platformTimer()->stop();
    // The application may remove a timer from inside its own event; that timer's expiry is
    // still on the call stack, so it dies when the delivery returns.
    if (m_deliveries > 0) m_retired.push_back(std::move(timer));
    return listener;
}

bool Scheduler::updateTimerDelay(int32_t id, int32_t delay)
{
    Timer* timer = findTimer(id);
    if (!timer || delay < 0) return false;
    timer->platformTimer()->setInterval(delay); // an active Qt timer restarts its period
    return true;
}

void Scheduler::deliver(Timer& timer)
{
    if (!m_sink) return;
    ++m_deliveries;
    m_sink->timerExpired(timer.listener());
    if (--m_deliveries == 0) m_retired.clear();
}

} // namespace zelmo
