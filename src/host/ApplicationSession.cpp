// SPDX-License-Identifier: MIT
#include "host/ApplicationSession.h"

#include "IO/MemoryInputStream.h"
#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <limits>

namespace zelmo {

ApplicationSession::ApplicationSession(HostServices& host) : m_host(host)
{
    m_host.attach(this);
    m_host.scheduler().setSink(this);
}

ApplicationSession::~ApplicationSession()
{
    m_host.scheduler().setSink(nullptr);
    m_host.extensions().releaseAll(); // they hold on to the machine
    // Release every object (closing and flushing files) while the host still exists.
    m_machine.reset();
    m_host.attach(nullptr);
}

bool ApplicationSession::start()
{
    if (m_machine) return !m_ended; // one start per session
    m_host.markStarted();
    m_machine = std::make_unique<VirtualMachine>();
    const QString path = QDir(QString::fromStdU16String(m_host.baseDirectory()))
                             .filePath(QStringLiteral("index.mcb"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "Failed to open '%s'\n", path.toLocal8Bit().constData());
        end(1);
        return false;
    }
    // Streams measure in 32-bit signed sizes; a bigger file must not be read as a prefix.
    if (file.size() > std::numeric_limits<int32_t>::max()) {
        std::fprintf(stderr,
                     "FATAL: Error while reading bytecode: the image is larger than 2 GiB\n");
        end(1);
        return false;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    TARNEL::MemoryInputStream stream(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                     static_cast<uint32_t>(bytes.size()));
    guarded([&] { m_machine->load(stream, u"index.mcb", &m_host); });
    endIfIdle();
    return !m_ended;
}

bool ApplicationSession::deliver(const std::function<void(VirtualMachine&)>& call)
{
    if (m_ended || !m_machine) return false;
    guarded([&] { call(*m_machine); });
    endIfIdle();
    return !m_ended;
}

bool ApplicationSession::guarded(const std::function<void()>& call)
{
    try {
        call();
        return true;
    } catch (const InvocationOutcome& outcome) {
        end(outcome.value == -1 ? 0 : 1);
    } catch (const ErrorHandlingException&) {
        // A managed error outside any invocation (a malformed image, a missing main, a call
        // into a busy machine): nothing can catch it, so say what it was.
        std::fprintf(stderr, "FATAL: %s\n", toUtf8(lastErrorText()).c_str());
        end(1);
    }
    return false;
}

void ApplicationSession::end(int status)
{
    if (m_ended) return;
    m_ended = true;
    m_status = status;
    QCoreApplication::exit(status); // nothing happens when no event loop runs
}

void ApplicationSession::endIfIdle()
{
    if (m_endWhenIdle && !m_ended && !m_holdOpen && m_host.scheduler().timerCount() == 0 &&
        !m_host.extensions().hasPendingWork() && !m_host.redrawPending())
        end(0);
}

void ApplicationSession::timerExpired(uint32_t listener)
{
    deliver([listener](VirtualMachine& vm) { vm.sendSystemTimerEvent(listener); });
}

int ApplicationSession::runHeadless()
{
    m_endWhenIdle = true;
    if (!start()) return m_status;
    const int loopStatus = QCoreApplication::exec();
    return m_ended ? m_status : loopStatus;
}

} // namespace zelmo
