// SPDX-License-Identifier: MIT
#include "Location/LocationObjects.h"

#include "Location/CLocationWrapper.h"

namespace zelmo {

CLocationPositionRequestorGCObject::CLocationPositionRequestorGCObject(
    uint32_t observer, int32_t interval, int32_t parameter, std::weak_ptr<CLocationWrapper> wrapper)
    : observer(observer), interval(interval), parameter(parameter), m_wrapper(std::move(wrapper))
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { deliver(); });
}

CLocationPositionRequestorGCObject::~CLocationPositionRequestorGCObject()
{
    if (const auto wrapper = m_wrapper.lock()) wrapper->forget(this);
}

void CLocationPositionRequestorGCObject::reportReferences(std::vector<uint32_t>& workList) const
{
    if (observer != 0) workList.push_back(observer);
}

void CLocationPositionRequestorGCObject::start()
{
    const auto wrapper = m_wrapper.lock();
    if (!wrapper || wrapper->source().mode == PositionSourceSettings::Mode::None) return;
    m_timer.start(0); // the first delivery at once, from the event loop
}

void CLocationPositionRequestorGCObject::stop()
{
    m_timer.stop();
}

void CLocationPositionRequestorGCObject::deliver()
{
    const auto wrapper = m_wrapper.lock();
    if (!wrapper) {
        m_timer.stop();
        return;
    }
    // Settle what comes next before the call: the application may stop or restart the request
    // from its observer, and a run without a window ends when nothing is due any more.
    if (wrapper->source().mode == PositionSourceSettings::Mode::Error || interval <= 0)
        m_timer.stop();
    else if (m_timer.interval() != interval)
        m_timer.start(interval);
    wrapper->deliverTo(*this);
}

} // namespace zelmo
