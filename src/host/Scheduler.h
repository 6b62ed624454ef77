// SPDX-License-Identifier: MIT
// The host's timers: periodic Qt timers that hand their listener to a sink (the application
// session, which delivers a "systemtimerevent" to the machine) from the Qt event loop. Ids
// start at 10 and are never reused. One scheduler per host.
//
// A listener is the guest handle the Timer native passed in (uint32_t) from the native call to
// the machine's timer event; nothing here looks inside it.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <vector>

class QTimer;

namespace zelmo {

class Scheduler;

// Where expired timers go.
class TimerSink {
public:
    virtual ~TimerSink() = default;
    virtual void timerExpired(uint32_t listener) = 0;
};

// One periodic timer. It owns its Qt timer (a child object) and restarts with the same delay
// after every expiry until it is destroyed.
class Timer : public QObject {
public:
    Timer(uint32_t listener, int32_t id, uint32_t delay, Scheduler& scheduler);
    ~Timer() override;

    uint32_t listener() const { return m_listener; }
    int32_t id() const { return m_id; }
    QTimer* platformTimer() const { return m_timer; }

    // The expiry: hands the listener to the scheduler's sink. Connected to the Qt timer.
    void timeout();

private:
    uint32_t m_listener;
    int32_t m_id;
    QTimer* m_timer;
    Scheduler& m_scheduler;
};

class Scheduler {
public:
    static constexpr int32_t kFirstTimerId = 10;

    Scheduler();
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Where expiries go; timers can only be created while a sink is bound. Unbinding (null)
    // stops every timer.
    void setSink(TimerSink* sink);
    TimerSink* sink() const { return m_sink; }

    // Creates and starts a timer; its id, or -1 (nothing created) without a sink or for a
    // delay beyond what a Qt timer takes.
    int32_t addTimer(uint32_t listener, uint32_t delay);
    // The timer with that id, or null.
    Timer* findTimer(int32_t id) const;
    // Stops and destroys the timer; its listener, or 0 when no timer has that id.
    uint32_t removeTimer(int32_t id);
    // Gives the timer a new period, restarting it; false when there is no such timer or the
    // delay is negative.
    bool updateTimerDelay(int32_t id, int32_t delay);
    size_t timerCount() const { return m_timers.size(); }

private:
    friend class Timer;
    void deliver(Timer& timer);

    TimerSink* m_sink = nullptr;
    int32_t m_nextId = kFirstTimerId;
    std::vector<std::unique_ptr<Timer>> m_timers; // in creation order
    // Timers removed while their own event was being delivered; destroyed once it returns.
    std::vector<std::unique_ptr<Timer>> m_retired;
    int m_deliveries = 0; // deliveries in progress
};

} // namespace zelmo
