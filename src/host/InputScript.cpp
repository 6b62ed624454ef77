// SPDX-License-Identifier: MIT
#include "host/InputScript.h"

#include "VirtualMachine/VirtualMachine.h"
#include "host/ApplicationSession.h"
#include "host/RuntimeKeyCode.h"

#include <QFile>
#include <QList>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace zelmo {

namespace {

bool toInt(const QByteArray& word, int32_t& value, int64_t low, int64_t high)
{
    bool ok = false;
    const qlonglong number = word.toLongLong(&ok);
    if (!ok || number < low || number > high) return false;
    value = static_cast<int32_t>(number);
    return true;
}

bool parseLine(const QList<QByteArray>& words, ScriptedEvent& event)
{
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    if (words.size() < 4 || !toInt(words[0], event.atMs, 0, kMax)) return false;
    const QByteArray& action = words[2];
    if (words[1] == "pointer" && words.size() == 5) {
        event.kind = ScriptedEvent::Kind::Pointer;
        if (action == "press")
            event.type = 0;
        else if (action == "release")
            event.type = 1;
        else if (action == "move")
            event.type = 6;
        else
            return false;
        return toInt(words[3], event.x, kMin, kMax) && toInt(words[4], event.y, kMin, kMax);
    }
    if (words[1] == "key" && words.size() == 4) {
        event.kind = ScriptedEvent::Kind::Key;
        if (action != "press" && action != "release") return false;
        event.type = action == "press" ? 1 : 0;
        return toInt(words[3], event.x, kMin, kMax);
    }
    return false;
}

} // namespace

std::vector<ScriptedEvent> parseInputScript(const QByteArray& text, std::string& error)
{
    std::vector<ScriptedEvent> events;
    const QList<QByteArray> lines = text.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray line = lines[i].simplified();
        if (line.isEmpty() || line.startsWith('#')) continue;
        ScriptedEvent event;
        if (!parseLine(line.split(' '), event)) {
            error = "line " + std::to_string(i + 1) + ": not an input event: " + line.toStdString();
            return {};
        }
        events.push_back(event);
    }
    std::stable_sort(
        events.begin(), events.end(),
        [](const ScriptedEvent& a, const ScriptedEvent& b) { return a.atMs < b.atMs; });
    return events;
}

std::vector<ScriptedEvent> readInputScript(const QString& path, std::string& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 24)) {
        error = "cannot read the input file " + path.toStdString();
        return {};
    }
    std::vector<ScriptedEvent> events = parseInputScript(file.readAll(), error);
    if (!error.empty()) error = path.toStdString() + ": " + error;
    return events;
}

InputPlayer::InputPlayer(ApplicationSession& session, std::vector<ScriptedEvent> events)
    : m_session(session), m_events(std::move(events))
{
}

void InputPlayer::start()
{
    m_clock.start();
    if (m_events.empty()) return;
    m_session.holdOpen(true);
    scheduleNext();
}

void InputPlayer::scheduleNext()
{
    const int64_t wait = std::max<int64_t>(0, m_events[m_next].atMs - m_clock.elapsed());
    QTimer::singleShot(static_cast<int>(wait), Qt::PreciseTimer, this, [this] { deliverDue(); });
}

void InputPlayer::deliverDue()
{
    // Everything due now, in order: one timer per event could reorder equal times.
    while (m_next < m_events.size() && m_events[m_next].atMs <= m_clock.elapsed()) {
        const ScriptedEvent event = m_events[m_next++];
        const bool last = m_next == m_events.size();
        if (last) m_session.holdOpen(false); // the delivery below may end the run
        const bool running = m_session.deliver([&event](VirtualMachine& vm) {
            if (event.kind == ScriptedEvent::Kind::Pointer) {
                vm.sendPointerEvent(event.type, event.x, event.y, 0);
                return;
            }
            // The script names Qt keys, as the window receives them.
            const std::u16string text = unmodifiedKeyText(event.x);
            vm.sendKey(runtimeKeyCode(event.x), 0, 0, text, event.type == 1);
        });
        if (!running) return;
    }
    if (m_next < m_events.size()) scheduleNext();
}

} // namespace zelmo
