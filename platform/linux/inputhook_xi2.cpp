// Linux/X11: raw key and button events of XInput 2, selected on the root window. Raw events reach every
// client that asks for them, whoever has the focus or a grab, and selecting them neither grabs nor delays
// anything: the hook only observes. Read on the GUI thread from a connection of its own.
// Without XInput 2 the program still sees what is pressed in its own windows (inputhook_window.h).
#include "inputhook_window.h"
#include "inputhookbackend.h"
#include "platformlog.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <memory>

namespace {

constexpr int XiMajor = 2;
// 2.1 is the first version that delivers raw events to the root window without a grab.
constexpr int XiMinorNeeded = 1;
constexpr int XiMinorAsked = 2;

constexpr int ButtonLeft = 1;
constexpr int ButtonMiddle = 2;
constexpr int ButtonRight = 3;

struct Backend
{
    Display *display = nullptr;
    int xiOpcode = 0;
    QSocketNotifier *notifier = nullptr;
    inputhook::Translator translate;

    ~Backend()
    {
        // Possibly inside the notifier's own signal: it goes once control is back in the event loop.
        if (notifier) {
            notifier->setEnabled(false);
            notifier->deleteLater();
        }
        if (display)
            XCloseDisplay(display);
    }
};

Backend *s_backend = nullptr;

void buttonEvent(Backend &b, int button, bool isDown)
{
    unsigned message = 0;
    switch (button) {
    case ButtonLeft:
        message = isDown ? inputhook::MsgLeftButtonDown : inputhook::MsgLeftButtonUp;
        break;
    case ButtonRight:
        message = isDown ? inputhook::MsgRightButtonDown : inputhook::MsgRightButtonUp;
        break;
    case ButtonMiddle:
        message = isDown ? inputhook::MsgMiddleButtonDown : inputhook::MsgMiddleButtonUp;
        break;
    default:
        // Wheel (4-7) and extra buttons (8, 9): the Windows hook reports nothing for them either.
        return;
    }
    if (!b.translate.mouse)
        return;
    // Raw events carry device motion, not the pointer position: ask where the pointer is now.
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned mask = 0;
    if (!XQueryPointer(b.display, DefaultRootWindow(b.display), &root, &child, &rootX, &rootY, &winX, &winY,
                       &mask)) {
        qCDebug(lcInputHook) << "pointer is on another screen; button reported at (0, 0)";
    }
    b.translate.button(message, rootX, rootY);
}

void drain(Backend &b)
{
    while (XPending(b.display) > 0) {
        XEvent event;
        XNextEvent(b.display, &event);
        XGenericEventCookie *cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != b.xiOpcode ||
            !XGetEventData(b.display, cookie))
            continue;
        const int type = cookie->evtype;
        const int detail = static_cast<const XIRawEvent *>(cookie->data)->detail;
        XFreeEventData(b.display, cookie);

        switch (type) {
        case XI_RawKeyPress:
            b.translate.key(detail, true);
            break;
        case XI_RawKeyRelease:
            b.translate.key(detail, false);
            break;
        case XI_RawButtonPress:
            buttonEvent(b, detail, true);
            break;
        case XI_RawButtonRelease:
            buttonEvent(b, detail, false);
            break;
        default:
            break;
        }
        // A sink may have removed the backend (the program is closing): b is gone then.
        if (s_backend != &b)
            return;
    }
}

} // namespace

namespace inputhook {

bool installBackend(KeyboardSink keyboard, MouseSink mouse)
{
    removeBackend();
    if (!QCoreApplication::instance()) {
        qCWarning(lcInputHook) << "no application object; global input is not observed";
        return false;
    }
    inputhook::Translator translator;
    translator.keyboard = keyboard;
    translator.mouse = mouse;

    auto backend = std::make_unique<Backend>();
    backend->display = XOpenDisplay(nullptr);
    if (!backend->display) {
        qCWarning(lcInputHook) << "no X display; keys and buttons of the desktop are not observed";
        return inputhook::observeOwnWindows(translator);
    }
    int event = 0;
    int error = 0;
    int major = XiMajor;
    int minor = XiMinorAsked;
    if (!XQueryExtension(backend->display, "XInputExtension", &backend->xiOpcode, &event, &error) ||
        XIQueryVersion(backend->display, &major, &minor) != Success || major < XiMajor ||
        (major == XiMajor && minor < XiMinorNeeded)) {
        qCWarning(lcInputHook)
            << "the X server lacks XInput 2.1; keys and buttons of the desktop are not observed";
        return inputhook::observeOwnWindows(translator);
    }

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof bits;
    mask.mask = bits;
    XISelectEvents(backend->display, DefaultRootWindow(backend->display), &mask, 1);
    XFlush(backend->display);

    backend->translate = translator;
    backend->notifier = new QSocketNotifier(ConnectionNumber(backend->display), QSocketNotifier::Read);
    Backend *b = backend.get();
    QObject::connect(b->notifier, &QSocketNotifier::activated, b->notifier, [b] { drain(*b); });
    s_backend = backend.release();
    qCDebug(lcInputHook) << "observing raw keys and buttons, XInput" << major << minor;
    return true;
}

void removeBackend()
{
    delete s_backend;
    s_backend = nullptr;
    stopObservingOwnWindows();
}

bool backendInstalled()
{
    return s_backend != nullptr || observingOwnWindows();
}

} // namespace inputhook
