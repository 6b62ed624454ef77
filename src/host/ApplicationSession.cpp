// SPDX-License-Identifier: MIT
#include "host/ApplicationSession.h"

#include "VirtualMachine/VirtualMachine.h"
#include "host/HostServices.h"
#include "host/SessionSteps.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <limits>

namespace zelmo {

namespace {

QString imagePath(const std::u16string& directory)
{
    return QDir(QString::fromStdU16String(directory)).filePath(QStringLiteral("index.mcb"));
}

// The bytes of the image; empty with `error` set when they cannot be read whole.
QByteArray readImageBytes(const QString& path, std::string& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "Failed to open '" + path.toLocal8Bit().toStdString() + "'\n";
        return {};
    }
    // Streams measure in 32-bit signed sizes; a bigger file must not be read as a prefix.
    if (file.size() > std::numeric_limits<int32_t>::max()) {
        error = "FATAL: Error while reading bytecode: the image is larger than 2 GiB\n";
        return {};
    }
    return file.readAll();
}

std::string_view viewOf(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

} // namespace

std::unique_ptr<VirtualMachine> ApplicationSession::readImage(const std::u16string& directory)
{
    std::string error;
    const QByteArray bytes = readImageBytes(imagePath(directory), error);
    if (!error.empty()) return nullptr;
    return zelmo::readImage(viewOf(bytes));
}

ApplicationSession::ApplicationSession(HostServices& host) : ApplicationSession(host, nullptr) {}

ApplicationSession::ApplicationSession(HostServices& host, std::unique_ptr<VirtualMachine> image)
    : m_host(host), m_image(std::move(image))
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
    // A machine that cannot reserve its memory ends the run like any other fatal error.
    if (!guarded(
            [&] { m_machine = m_image ? std::move(m_image) : std::make_unique<VirtualMachine>(); }))
        return false;
    // A machine that has read this image already finds it among its modules and runs it.
    std::string error;
    const QByteArray bytes = readImageBytes(imagePath(m_host.baseDirectory()), error);
    if (!error.empty()) {
        std::fputs(error.c_str(), stderr);
        end(1);
        return false;
    }
    guarded([&] { loadImage(*m_machine, viewOf(bytes), m_host); });
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
