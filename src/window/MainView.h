// SPDX-License-Identifier: MIT
// The runtime's window: turns key, pointer, visibility and display-state events into calls on
// the machine, switches between full screen and a window, and takes screenshots of the
// logical screen.
#pragma once

#include "window/KeyInput.h"
#include "window/MainViewBase.h"

#include <QString>

namespace zelmo {

struct RuntimeOptions;

class MainView : public MainViewBase {
    Q_OBJECT
public:
    MainView(std::u16string baseDirectory, const RuntimeOptions& options);
    ~MainView() override;

    bool loadApplication() override;

    // Shows the view full screen (covering the whole screen, also with no window manager) or,
    // with `windowed`, as a resizable window at the logical screen's own size.
    void showAs(bool windowed);
    void toggleFullScreen();

    // From the window manager's current-application property: whether this application is
    // in front.
    void setForeground(bool foreground);

    // Writes the logical screen's last frame as PNG; false (with a message) on failure.
    bool saveScreenshot(const QString& path);

public slots:
    // The device's display state ("on", "off", "dimmed", ...).
    void displaySignal(const QString& state);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void orientationChanged() override;
    void frameDrawn() override;

private:
    void updateVisibility();
    void deliverKey(const RuntimeKey& key);
    void sendPointer(int type, QPoint position);
    // F11 and F12 belong to the runtime; true when the key was one of them.
    bool runtimeKey(QKeyEvent* event);
    void setPortraitRequest(bool portrait);
    void markNonComposited();
    QString pictureFileName() const;

    bool m_shown = false;
    bool m_displayOn = true;
    Qt::MouseButtons m_pressedInside; // presses that were delivered, awaiting their release
    KeyRepeat m_keys;
    QString m_screenshotPath; // --screenshot
    int m_screenshotFrame = 1;
};

} // namespace zelmo
