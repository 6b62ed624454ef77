// SPDX-License-Identifier: MIT
// Extension 37: the desktop. Op 1 leaves the application view: the window is minimised (when
// there is one) and the desktop is told through its D-Bus signal on the session bus. The
// application keeps running. Without a session bus the signal is skipped.
#pragma once

#include "VirtualMachineExtensions/Extension.h"

#include <functional>

namespace zelmo {

class DesktopExtension : public Extension {
public:
    // `minimise` hides the window; empty when there is none (headless).
    DesktopExtension(VirtualMachine& machine, std::function<void()> minimise);
    void call(int32_t operation, ExtensionStack& stack) override;

    // Sends the exit-application-view signal on the session bus; false when there is no bus.
    static bool sendExitAppView();

private:
    VirtualMachine& m_machine;
    std::function<void()> m_minimise;
};

} // namespace zelmo
