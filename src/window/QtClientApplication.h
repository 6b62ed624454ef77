// SPDX-License-Identifier: MIT
// The windowed runtime's application object. On X11 it watches the root window's
// _MB_CURRENT_APP_WINDOW property, through which the device's window manager announced which
// application is in front, and passes the answer to the main view.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <cstdint>
#include <memory>

namespace zelmo {

class MainView;

class QtClientApplication : public QApplication {
public:
    QtClientApplication(int& argc, char** argv);
    ~QtClientApplication() override;

    void setMainView(MainView* view) { m_view = view; }

    // Reads the root window's _MB_CURRENT_APP_WINDOW as a WINDOW value; false when the
    // property is missing or of another type, format or length.
    bool readCurrentAppWindow(uint32_t& window) const;

private:
    class ForegroundFilter : public QAbstractNativeEventFilter {
    public:
        explicit ForegroundFilter(QtClientApplication& application) : m_application(application) {}
        // Never consumes the event: Qt handles every event as usual.
        bool nativeEventFilter(const QByteArray& eventType, void* message,
                               qintptr* result) override;

    private:
        QtClientApplication& m_application;
    };

    void currentAppWindowChanged();

    MainView* m_view = nullptr;
    std::unique_ptr<ForegroundFilter> m_filter; // only on X11
    uint32_t m_root = 0;
    uint32_t m_atom = 0; // _MB_CURRENT_APP_WINDOW, interned once
};

} // namespace zelmo
