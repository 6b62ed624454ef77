// SPDX-License-Identifier: MIT
#include "lean/LeanRun.h"

#include "VirtualMachine/NativeRegistry.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/SessionSteps.h"
#include "lean/LeanHost.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace zelmo {

namespace {

// "--app DIR" or "--app=DIR" at argv[i] (advancing i past a separate value).
std::optional<std::string> appOption(int argc, char** argv, int& i)
{
    const std::string_view arg(argv[i]);
    if (arg.starts_with("--app=")) return std::string(arg.substr(6));
    if (arg != "--app" || i + 1 >= argc) return std::nullopt;
    return std::string(argv[++i]);
}

// An absolute path of printable ASCII without empty, "." or ".." parts and without a trailing
// slash: Qt leaves such a path as it is.
bool cleanAbsolutePath(std::string_view path)
{
    if (path.size() < 2 || path.front() != '/' || path.back() == '/') return false;
    for (const char c : path)
        if (c < 0x20 || c > 0x7e) return false;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

bool exists(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

// Where Qt reads logging rules: qtlogging.ini in QtProject/ below each configuration
// directory (XDG_CONFIG_HOME or ~/.config, then XDG_CONFIG_DIRS or /etc/xdg) and in Qt's data
// directory.
bool loggingRulesFileExists()
{
    std::vector<std::string> directories;
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (configHome && *configHome)
        directories.emplace_back(configHome);
    else if (home)
        directories.push_back(std::string(home) + "/.config");
    const char* configDirs = std::getenv("XDG_CONFIG_DIRS");
    std::string_view dirs = configDirs && *configDirs ? configDirs : "/etc/xdg";
    while (!dirs.empty()) {
        const size_t colon = dirs.find(':');
        directories.emplace_back(dirs.substr(0, colon));
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
    }
    for (const std::string& directory : directories)
        if (exists(directory + "/QtProject/qtlogging.ini")) return true;
    return exists(ZELMO_QT_DATA_DIR "/qtlogging.ini");
}

constexpr int kDebugGroup = 30;
constexpr int kDebugSetLogFile = 2;
constexpr int kSystemGroup = 32;
constexpr int kTimerGroup = 33;

// The groups the lean run answers whole: they reach no host service at all.
bool pureGroup(int group)
{
    switch (group) {
    case 1:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:  // arrays
    case 8:  // String
    case 10: // Char
    case 11: // Fixed
    case 12: // Long
    case 14: // Range
    case 26: // Math
    case 27: // Number
    case 28: // Encoder
    case 34: // Hash
    case 35: // KeyEvent
    case 36: // Float
        return true;
    default:
        return false;
    }
}

bool leanNative(int group, int operation)
{
    if (!nativeHandler(group, operation)) return false; // the lean core does not bind it
    if (pureGroup(group) || group == kTimerGroup) return true;
    if (group == kDebugGroup) return operation != kDebugSetLogFile;
    // System: exit, clocks and queries; not now (date-times) nor the fonts (10-12).
    if (group == kSystemGroup)
        return (operation >= 1 && operation <= 8) || (operation >= 13 && operation <= 15);
    return false;
}

// The one run: the full runtime's ApplicationSession and HeadlessHost, without an event loop.
class LeanSession {
public:
    LeanSession(std::unique_ptr<VirtualMachine> machine, const std::string& directory)
        : m_host(std::u16string(directory.begin(), directory.end())), m_machine(std::move(machine))
    {
    }
    ~LeanSession() { m_machine.reset(); } // every object goes while the host still exists

    int run(std::string_view bytes);

private:
    void deliver(const std::function<void()>& call);
    void end(int status);
    bool drawFrame();
    void expireTimers();

    LeanHost m_host;
    std::unique_ptr<VirtualMachine> m_machine;
    bool m_ended = false;
    int m_status = 0;
    int32_t m_drawHandle = -1;
};

void LeanSession::end(int status)
{
    if (m_ended) return;
    m_ended = true;
    m_status = status;
}

// A call into the machine and its outcome, then the end once nothing can wake the application.
void LeanSession::deliver(const std::function<void()>& call)
{
    if (m_ended) return;
    const std::optional<int> status = runGuarded(call);
    if (m_host.exitRequested()) end(0); // the request ended the run before the call unwound
    if (status) end(*status);
    if (m_host.timers().timerCount() == 0 && !m_host.redrawPending()) end(0);
}

bool LeanSession::drawFrame()
{
    if (!m_host.takeRedraw()) return false;
    deliver([this] { drawApplicationFrame(*m_machine, m_drawHandle); });
    return true;
}

// One round: every timer due now, each once, in expiry order.
void LeanSession::expireTimers()
{
    TimerQueue& timers = m_host.timers();
    std::this_thread::sleep_until(timers.nextExpiry());
    const TimerQueue::Clock::time_point now = TimerQueue::Clock::now();
    for (const int32_t id : timers.dueTimers(now)) {
        uint32_t listener = 0;
        if (m_ended) return;
        if (timers.expire(id, now, listener))
            deliver([this, listener] { m_machine->sendSystemTimerEvent(listener); });
    }
}

int LeanSession::run(std::string_view bytes)
{
    m_host.invalidate(0, 0, 800, 480); // the first frame, drawn after start-up
    m_host.markStarted();
    deliver([&] { loadImage(*m_machine, bytes, m_host); });
    // Repaint requests are served before the next round of timers, as the event loop does.
    while (!m_ended) {
        if (!drawFrame()) expireTimers();
    }
    return m_status;
}

} // namespace

std::optional<std::string> leanApplicationDirectory(int argc, char** argv)
{
    bool headless = false;
    std::optional<std::string> directory;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--headless") == 0 && !headless) {
            headless = true;
            continue;
        }
        std::optional<std::string> app = appOption(argc, argv, i);
        if (!app || directory) return std::nullopt;
        directory = std::move(app);
    }
    if (!headless || !directory || directory->empty()) return std::nullopt;
    if (directory->front() != '/') {
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd)) return std::nullopt;
        directory = std::string(cwd) + "/" + *directory;
    }
    if (!cleanAbsolutePath(*directory)) return std::nullopt;
    return directory;
}

bool leanEnvironment()
{
    // The machine reserves 4 GiB of address space; under a limit that can fail, and the full
    // runtime has its own way of saying so.
    rlimit addressSpace{};
    if (::getrlimit(RLIMIT_AS, &addressSpace) != 0 || addressSpace.rlim_cur != RLIM_INFINITY)
        return false;
    for (char** variable = environ; *variable; ++variable) {
        const std::string_view entry(*variable);
        if (entry.starts_with("QT_") || entry.starts_with("ZELMO_ACCELEROMETER=") ||
            entry.starts_with("ZELMO_LOCATION="))
            return false;
    }
    return !loggingRulesFileExists();
}

bool leanImage(const VirtualMachine& image)
{
    if (image.extensionsUsed.any()) return false;
    for (const uint16_t key : image.nativeOperationsUsed)
        if (!leanNative(key >> 8, static_cast<int8_t>(key & 0xff))) return false;
    return true;
}

int runLean(std::unique_ptr<VirtualMachine> image, const std::string& bytes,
            const std::string& directory)
{
    LeanSession session(std::move(image), directory);
    return session.run(bytes);
}

} // namespace zelmo
