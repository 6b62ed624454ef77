// SPDX-License-Identifier: MIT
#include "window/MainView.h"

#include "VirtualMachine/VirtualMachine.h"
#include "host/ApplicationSession.h"
#include "host/RuntimeOptions.h"
#include "window/X11Support.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

namespace zelmo {

namespace {
// What the machine was last told: in front (true) or in the background. Starts as background,
// so the first time the view becomes visible with a machine running is reported.
bool g_visible = false;

bool detectableAutoRepeat()
{
    // Other platforms flag repeats reliably; only X11 sends release/press pairs.
    return !x11::available() || x11::enableDetectableAutoRepeat();
}
} // namespace

MainView::MainView(std::u16string baseDirectory, const RuntimeOptions& options)
    : MainViewBase(std::move(baseDirectory), scaleModeFromName(options.scale)),
      m_keys(detectableAutoRepeat(), [this](const RuntimeKey& key) { deliverKey(key); }),
      m_screenshotPath(options.screenshotPath), m_screenshotFrame(options.frames)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    const QString name = QFileInfo(QString::fromStdU16String(getBaseDirectory())).fileName();
    setWindowTitle(name.isEmpty() ? QStringLiteral("zelmo") : name);
}

MainView::~MainView() = default;

bool MainView::loadApplication()
{
    const bool running = session() && session()->start();
    // The window was shown before the machine existed. Take its state as the machine's
    // starting state, silently: otherwise the first hide would look like no change and an
    // application that pauses when hidden would run on, unseen, until shown again.
    if (running) {
        g_visible = m_displayOn && m_shown;
        update();
    }
    return running;
}

void MainView::showAs(bool windowed)
{
    if (windowed) {
        resize((QSizeF(logicalSize()) / devicePixelRatioF()).toSize());
        show();
    } else {
        // Without a window manager a full-screen window keeps its old size: give it the
        // screen's first.
        setGeometry(screen()->geometry());
        showFullScreen();
    }
    markNonComposited();
}

void MainView::toggleFullScreen()
{
    if (isFullScreen()) {
        showNormal();
        resize((QSizeF(logicalSize()) / devicePixelRatioF()).toSize());
    } else {
        setGeometry(screen()->geometry());
        showFullScreen();
    }
}

// ---- visibility ----

void MainView::showEvent(QShowEvent*)
{
    m_shown = true;
    updateVisibility();
}

void MainView::hideEvent(QHideEvent*)
{
    m_shown = false;
    updateVisibility();
}

void MainView::setForeground(bool foreground)
{
    m_shown = foreground;
    updateVisibility();
}

void MainView::displaySignal(const QString& state)
{
    m_displayOn = state != QLatin1String("off");
    updateVisibility();
}

void MainView::updateVisibility()
{
    const bool visible = m_displayOn && m_shown;
    if (visible == g_visible || !runningMachine()) return;
    g_visible = visible;
    deliver([visible](VirtualMachine& vm) { visible ? vm.sendForeground() : vm.sendBackground(); });
}

// ---- pointer ----

void MainView::sendPointer(int type, QPoint position)
{
    deliver([&](VirtualMachine& vm) { vm.sendPointerEvent(type, position.x(), position.y(), 0); });
}

void MainView::deliverKey(const RuntimeKey& key)
{
    deliver([&](VirtualMachine& vm) {
        vm.sendKey(key.code, int32_t(key.scanCode), 0, key.text, key.pressed);
    });
}

// A press in the border around the logical screen is not the application's. Once a press was
// delivered, its moves and its release are, clamped to the screen, so that every press the
// application saw gets its release.
void MainView::mousePressEvent(QMouseEvent* event)
{
    const Presentation shown = currentPresentation();
    const auto position =
        toLogical(event->position() * devicePixelRatioF(), shown.rect, logicalSize(), false);
    if (!position) return;
    m_pressedInside |= event->button();
    sendPointer(0, *position);
}

void MainView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressedInside) return;
    const auto position = toLogical(event->position() * devicePixelRatioF(),
                                    currentPresentation().rect, logicalSize(), true);
    if (position) sendPointer(6, *position);
}

void MainView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!(m_pressedInside & event->button())) return;
    m_pressedInside &= ~event->button();
    const auto position = toLogical(event->position() * devicePixelRatioF(),
                                    currentPresentation().rect, logicalSize(), true);
    if (position) sendPointer(1, *position);
}

// ---- keys ----

bool MainView::runtimeKey(QKeyEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_keyFilter &&
        m_keyFilter(event->key(), event->modifiers())) {
        m_filteredKeys.insert(event->key());
        return true;
    }
    if (event->type() == QEvent::KeyRelease && m_filteredKeys.count(event->key())) {
        if (!event->isAutoRepeat()) m_filteredKeys.erase(event->key());
        return true;
    }
    if (event->key() != Qt::Key_F11 && event->key() != Qt::Key_F12) return false;
    if (event->type() == QEvent::KeyPress && !event->isAutoRepeat()) {
        if (event->key() == Qt::Key_F11) {
            toggleFullScreen();
        } else {
            const QString path = pictureFileName();
            if (saveScreenshot(path))
                std::fprintf(stderr, "Screenshot saved to %s\n", path.toLocal8Bit().constData());
        }
    }
    return true;
}

void MainView::keyPressEvent(QKeyEvent* event)
{
    if (runtimeKey(event)) return;
    const RuntimeKey key{runtimeKeyCode(event->key()), event->nativeScanCode(),
                         event->text().toStdU16String(), true};
    m_keys.press(key, event->timestamp());
}

void MainView::keyReleaseEvent(QKeyEvent* event)
{
    if (runtimeKey(event)) return;
    const RuntimeKey key{runtimeKeyCode(event->key()), event->nativeScanCode(),
                         event->text().toStdU16String(), false};
    m_keys.release(key, event->timestamp(), event->isAutoRepeat());
    // A press of the same key may be waiting in the same batch of events.
    if (m_keys.waiting()) QTimer::singleShot(0, this, [this] { m_keys.flush(); });
}

// ---- orientation ----

void MainView::orientationChanged()
{
    setPortraitRequest(getOrientation() != 2);
    update();
}

void MainView::setPortraitRequest(bool portrait)
{
    if (!isWindow() || !testAttribute(Qt::WA_WState_Created)) return;
    if (x11::setWindowProperty(winId(), "_HILDON_PORTRAIT_MODE_REQUEST", "CARDINAL",
                               portrait ? 1 : 0, true) == x11::PropertyResult::Failed)
        qDebug("setOrientationToPortrait, change property failed");
}

void MainView::markNonComposited()
{
    x11::setWindowProperty(winId(), "_HILDON_NON_COMPOSITED_WINDOW", "INTEGER", 1, false);
}

// ---- screenshots ----

QString MainView::pictureFileName() const
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + "/zelmo";
    QDir().mkpath(folder);
    return folder + QDateTime::currentDateTime().toString("/'zelmo-'yyyyMMdd-HHmmss-zzz'.png'");
}

bool MainView::saveScreenshot(const QString& path)
{
    const QImage frame = logicalImage();
    if (frame.isNull()) {
        std::fputs("Screenshot failed: nothing drawn yet\n", stderr);
        return false;
    }
    if (!frame.save(path, "PNG")) {
        std::fprintf(stderr, "Screenshot failed: cannot write %s\n",
                     path.toLocal8Bit().constData());
        return false;
    }
    return true;
}

void MainView::frameDrawn()
{
    if (m_screenshotPath.isEmpty() || framesDrawn() != m_screenshotFrame) return;
    QCoreApplication::exit(saveScreenshot(m_screenshotPath) ? 0 : 1);
}

} // namespace zelmo
