// SPDX-License-Identifier: MIT
// The host's timers: periodic Qt timers that deliver "systemtimerevent" calls for a listener
// object to the machine, from the Qt event loop. Ids come from one process-wide counter that
// starts at 10 and never repeats. One scheduler per host.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QTimer;

namespace zelmo {

class Scheduler;
class VirtualMachine;

// One periodic timer. It owns its Qt timer (a child object) and restarts with the same delay
// after every expiry until it is destroyed.
class Timer : public QObject {
public:
    Timer(int32_t listener, int32_t id, VirtualMachine* machine, uint32_t delay,
          Scheduler& scheduler);
    ~Timer() override;

    int32_t listener() const { return m_listener; }
    int32_t id() const { return m_id; }
    VirtualMachine* machine() const { return m_machine; }
    QTimer* platformTimer() const { return m_timer; }

    // The expiry: hands the listener to the machine. Connected to the Qt timer's timeout().
    void timeout();

private:
    int32_t m_listener;
    int32_t m_id;
    QTimer* m_timer;
    VirtualMachine* m_machine;
    Scheduler& m_scheduler;
};

class Scheduler {
public:
    Scheduler();
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // The machine that timer events go to; set once the machine exists.
    void setMachine(VirtualMachine* machine) { m_machine = machine; }
    VirtualMachine* machine() const { return m_machine; }

    // Creates and starts a timer; its id, or -1 (nothing created) without a machine or for a
    // delay beyond what a Qt timer takes.
    int32_t addTimer(int32_t listener, uint32_t delay);
    // The timer with that id, or null.
    Timer* findTimer(int32_t id) const;
    // Stops and destroys the timer; its listener, or 0 when no timer has that id.
    int32_t removeTimer(int32_t id);
    // Gives the timer a new period, restarting it; false when there is no such timer or the
    // delay is negative.
    bool updateTimerDelay(int32_t id, int32_t delay);
    size_t timerCount() const { return m_timers.size(); }

    // Called after every delivery of a timer event (the headless runtime checks there whether
    // anything is left that could wake the application).
    void setDeliveryObserver(std::function<void()> observer) { m_observer = std::move(observer); }

private:
    friend class Timer;
    void deliver(Timer& timer);

    VirtualMachine* m_machine = nullptr;
    std::vector<std::unique_ptr<Timer>> m_timers; // in creation order
    // Timers removed while their own event was being delivered; destroyed once it returns.
    std::vector<std::unique_ptr<Timer>> m_retired;
    int m_deliveries = 0; // deliveries in progress
    std::function<void()> m_observer;
};

} // namespace zelmo
