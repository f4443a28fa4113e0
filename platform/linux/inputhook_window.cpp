#include "inputhook_window.h"

#include "evdevscancode.h"
#include "platformlog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace inputhook {

void Translator::key(int xKeyCode, bool isDown)
{
    if (xKeyCode < int(XKeyCodeOffset))
        return;
    const unsigned evdev = unsigned(xKeyCode) - XKeyCodeOffset;
    if (evdev == EvdevLeftAlt)
        leftAltDown = isDown;
    else if (evdev == EvdevRightAlt)
        rightAltDown = isDown;

    const std::optional<PcScanCode> scan = scanCodeForEvdev(evdev);
    if (!scan || !keyboard)
        return;
    unsigned flags = scan->extended ? FlagExtended : 0;
    if (leftAltDown || rightAltDown)
        flags |= FlagAltDown;
    keyboard(scan->scanCode, flags, isDown);
}

namespace {

// What reaches the program's own windows, seen by an application-wide event filter. Only events that a
// window of the windowing system receives count: Qt hands each on to widgets and to the scene's offscreen
// window, which must not report it again.
class WindowEvents : public QObject
{
public:
    explicit WindowEvents(const Translator &translator)
        : translate(translator)
    {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWindowType() || !static_cast<QWindow *>(watched)->handle())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto *key = static_cast<const QKeyEvent *>(event);
            // The desktop's own repeat, which raw XInput events do not carry either.
            if (!key->isAutoRepeat())
                translate.key(int(key->nativeScanCode()), event->type() == QEvent::KeyPress);
            break;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<const QMouseEvent *>(event);
            const bool isDown = event->type() == QEvent::MouseButtonPress;
            unsigned message = 0;
            if (mouse->button() == Qt::LeftButton)
                message = isDown ? MsgLeftButtonDown : MsgLeftButtonUp;
            else if (mouse->button() == Qt::RightButton)
                message = isDown ? MsgRightButtonDown : MsgRightButtonUp;
            else if (mouse->button() == Qt::MiddleButton)
                message = isDown ? MsgMiddleButtonDown : MsgMiddleButtonUp;
            if (message) {
                const QPoint at = mouse->globalPosition().toPoint();
                translate.button(message, at.x(), at.y());
            }
            break;
        }
        default:
            break;
        }
        return false; // only observes
    }

private:
    Translator translate;
};

WindowEvents *s_windowEvents = nullptr;

} // namespace

bool observeOwnWindows(const Translator &translator)
{
    stopObservingOwnWindows();
    auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!application)
        return false;
    s_windowEvents = new WindowEvents(translator);
    application->installEventFilter(s_windowEvents);
    qCDebug(lcInputHook) << "observing the keys and buttons of the program's own windows";
    return true;
}

void stopObservingOwnWindows()
{
    if (!s_windowEvents)
        return;
    if (QCoreApplication *application = QCoreApplication::instance())
        application->removeEventFilter(s_windowEvents);
    // Possibly inside its own filter call: it goes once control is back in the event loop.
    s_windowEvents->deleteLater();
    s_windowEvents = nullptr;
}

bool observingOwnWindows()
{
    return s_windowEvents != nullptr;
}

} // namespace inputhook
