// SPDX-License-Identifier: MIT
#include "Desktop/DesktopExtension.h"

#include "VirtualMachine/VirtualMachine.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace zelmo {

DesktopExtension::DesktopExtension(VirtualMachine& machine, std::function<void()> minimise)
    : m_machine(machine), m_minimise(std::move(minimise))
{
}

bool DesktopExtension::sendExitAppView()
{
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
