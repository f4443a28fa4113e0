#pragma once

#include "copydata.h"

#include <QtGlobal>

#include <array>
#include <map>

class QCoreApplication;

// Watches every key and mouse-button event of the desktop so that the scene can capture a key or record a
// macro. Keys are translated from the physical scan code to a USB HID keyboard usage (scan code → Windows
// virtual key → usage, whatever the active layout), and only changes of state are reported; the left, right
// and middle buttons are reported with the pointer's screen position. Nothing is ever blocked.
//
// One instance per process (main builds it); the state is process-wide because the system calls the hook
// procedures as plain functions. Everything runs on the thread that installed the hooks.
class GlobalInputHook
{
public:
    using KeyboardCallback = void (*)(int usage, bool isDown, void *context);
    using MouseCallback = void (*)(int button, bool isDown, int x, int y, void *context);

    static constexpr int ButtonLeft = 0xF0;
    static constexpr int ButtonRight = 0xF1;
    static constexpr int ButtonMiddle = 0xF2;

    // Builds both translation tables (isoLayout decides the usage of the key beside Enter) and installs the
    // hooks.
    explicit GlobalInputHook(bool isoLayout);
    ~GlobalInputHook();
    GlobalInputHook(const GlobalInputHook &) = delete;
    GlobalInputHook &operator=(const GlobalInputHook &) = delete;

    // False when the system offers no global observation (no X display, say); the program runs on without.
    static bool installHooks();
    // Removes both hooks and the application message filter; their callbacks name the main window, which is
    // destroyed next.
    static void removeHooks();
    static void setKeyboardCallback(KeyboardCallback callback, void *context);
    static void setMouseCallback(MouseCallback callback, void *context);
    // The copy-data channel: messages of other processes reach callback on the GUI thread.
    static bool setAppMessageFilter(CopyDataCallback callback, QCoreApplication *application, void *context);

    // The core of the hook procedures; every backend feeds its events in here. flags as the Windows
    // low-level keyboard hook reports them (bit 0 extended, bit 5 Alt held).
    static void keyboardEvent(uint scanCode, uint flags, bool isDown);
    static void mouseEvent(uint message, long x, long y);

    // Clears and fills both translation tables.
    static void buildTables(bool isoLayout);
    // Key: scan code << 8 | extended flag.
    static const std::map<quint16, quint8> &scanToVirtualKey();
    static const std::map<quint8, quint8> &virtualKeyToUsage();
    // The last state reported for a usage.
    static bool usageIsDown(quint8 usage);

    bool isoLayout = false;

private:
    // Tests only: the running program never forgets what it reported.
    static void resetUsageDownState();
    friend class TestInputCore;
    friend class TestCapture;
};
