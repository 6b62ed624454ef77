// SPDX-License-Identifier: MIT
// Scripted input for runs without a window (zelmo-vm --input FILE): a timed list of key and
// pointer events, one per line, delivered through the session from the event loop at their
// milliseconds after the start. Lines:
//   MS pointer press|release|move X Y
//   MS key press|release CODE
// where CODE is a Qt key number (65 is A, 16777216 Escape, 16777234 Left), which reaches the
// application as the window passes on that key. Blank lines and lines starting with '#' are
// skipped. Events with the same time keep their order in the file.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

namespace zelmo {

class ApplicationSession;

struct ScriptedEvent {
    enum class Kind { Pointer, Key };
    int32_t atMs = 0;
    Kind kind = Kind::Pointer;
    int32_t type = 0; // pointer: 0 press, 1 release, 6 move; key: 1 press, 0 release
    int32_t x = 0;    // pointer x, or the key code
    int32_t y = 0;
};

// The events of `text` sorted by time, or an empty list with `error` naming the bad line.
std::vector<ScriptedEvent> parseInputScript(const QByteArray& text, std::string& error);

// The events of the file `path`; an empty list with `error` set when it cannot be read or
// holds a bad line.
std::vector<ScriptedEvent> readInputScript(const QString& path, std::string& error);

// Plays a script into a session: the session stays open until the last event is delivered.
class InputPlayer : public QObject {
public:
    InputPlayer(ApplicationSession& session, std::vector<ScriptedEvent> events);
    // Starts the clock; call right before the session starts.
    void start();

private:
    void deliverDue();
    void scheduleNext();

    ApplicationSession& m_session;
    std::vector<ScriptedEvent> m_events;
    size_t m_next = 0;
    QElapsedTimer m_clock;
};

} // namespace zelmo
