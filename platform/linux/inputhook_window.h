#pragma once

// Linux: what both ways of observing keys and buttons share. XInput 2 reports the whole desktop; without it
// (a Wayland session without XWayland, an X server without the extension) the program still sees what is
// pressed in its own windows, through the same scan-code table: Qt's native scan code is the X key code, the
// evdev code plus 8, on X11 and on Wayland alike.
#include "inputhookbackend.h"

namespace inputhook {

// X key codes and button messages, turned into the records the sinks take.
struct Translator
{
    KeyboardSink keyboard = nullptr;
    MouseSink mouse = nullptr;
    bool leftAltDown = false;
    bool rightAltDown = false;

    void key(int xKeyCode, bool isDown);
    void button(unsigned message, long x, long y) const
    {
        if (mouse)
            mouse(message, x, y);
    }
};

// Reports the keys and buttons pressed in the program's own windows; false without a GUI application.
bool observeOwnWindows(const Translator &translator);
void stopObservingOwnWindows();
bool observingOwnWindows();

} // namespace inputhook
