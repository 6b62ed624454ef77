// SPDX-License-Identifier: MIT
#include "Desktop/DesktopExtension.h"

#include "VirtualMachine/VirtualMachine.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>

namespace zelmo {

DesktopExtension::DesktopExtension(VirtualMachine& machine, std::function<void()> minimise)
    : m_machine(machine), m_minimise(std::move(minimise))
{
}

namespace {

// Whether a session bus is there to connect to. Without an address libdbus would fall back to
// autolaunching one, which starts a child process: only an existing bus is used.
bool sessionBusConfigured()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

} // namespace

bool DesktopExtension::sendExitAppView()
{
    if (!sessionBusConfigured()) return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    const QDBusMessage signal = QDBusMessage::createSignal(
        QStringLiteral("/lofasz"), QStringLiteral("com.nokia.hildon_desktop"),
        QStringLiteral("exit_app_view"));
    if (!bus.send(signal)) return false;
    // Sending only queues the message. A round trip to the bus on the same connection returns
    // after the bus has taken it, so an application that quits right after still told the desktop.
    if (QDBusConnectionInterface* daemon = bus.interface())
        daemon->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
    return true;
}

void DesktopExtension::call(int32_t operation, ExtensionStack& /*stack*/)
{
    if (operation != 1)
        m_machine.VirtualMachine::fatalError("Maemo: Unknown opcode!", m_machine.pc());
    if (m_minimise) m_minimise();
    sendExitAppView();
}

} // namespace zelmo
