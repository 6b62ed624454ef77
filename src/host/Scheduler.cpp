// SPDX-License-Identifier: MIT
#include "host/Scheduler.h"

#include "VirtualMachine/VirtualMachine.h"
#include "host/Runtime.h"

#include <QTimer>
#include <algorithm>
#include <limits>

namespace zelmo {

namespace {
// Shared by every scheduler of the process, so an id is never handed out twice.
int32_t g_nextTimerId = 10;
} // namespace

Timer::Timer(int32_t listener, int32_t id, VirtualMachine* machine, uint32_t delay,
             Scheduler& scheduler)
    : m_listener(listener), m_id(id), m_timer(new QTimer(this)), m_machine(machine),
      m_scheduler(scheduler)
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

int32_t Scheduler::addTimer(int32_t listener, uint32_t delay)
{
    if (!m_machine || delay > static_cast<uint32_t>(std::numeric_limits<int>::max())) return -1;
    const int32_t id = g_nextTimerId++;
    m_timers.push_back(std::make_unique<Timer>(listener, id, m_machine, delay, *this));
    return id;
}

Timer* Scheduler::findTimer(int32_t id) const
{
    for (const std::unique_ptr<Timer>& timer : m_timers) {
        if (timer->id() == id) return timer.get();
    }
    return nullptr;
}

int32_t Scheduler::removeTimer(int32_t id)
{
    const auto it = std::find_if(m_timers.begin(), m_timers.end(),
                                 [id](const std::unique_ptr<Timer>& t) { return t->id() == id; });
    if (it == m_timers.end()) return 0;
    std::unique_ptr<Timer> timer = std::move(*it);
    m_timers.erase(it);
    const int32_t listener = timer->listener();
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
    VirtualMachine* machine = timer.machine();
    const uint32_t listener = static_cast<uint32_t>(timer.listener());
    ++m_deliveries;
    // An exit request or a fatal error inside the event ends the event loop in order.
    deliverToMachine([machine, listener] { machine->sendSystemTimerEvent(listener); });
    if (--m_deliveries == 0) m_retired.clear();
    if (m_observer) m_observer();
}

} // namespace zelmo
