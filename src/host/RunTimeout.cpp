// SPDX-License-Identifier: MIT
#include "host/RunTimeout.h"

#include <QCoreApplication>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace zelmo {

namespace {
constexpr int kTimeoutStatus = 124;
constexpr int kGraceSeconds = 2;

void hardStop(int)
{
    static const char message[] = "zelmo-vm: time limit reached, stopped\n";
    [[maybe_unused]] ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
    _exit(kTimeoutStatus);
}
} // namespace

void armRunTimeout(int seconds)
{
    if (seconds <= 0) return;
    QTimer::singleShot(std::chrono::seconds(seconds), qApp, [seconds] {
        std::fprintf(stderr, "zelmo-vm: time limit of %d s reached\n", seconds);
        QCoreApplication::exit(kTimeoutStatus);
    });
    // An application stuck in a loop never lets the event loop run the timer above.
    std::signal(SIGALRM, hardStop);
    alarm(unsigned(seconds + kGraceSeconds));
}

} // namespace zelmo
