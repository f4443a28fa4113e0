#pragma once

// The system side of the global input hooks: what each system delivers, reduced to the shape of the Windows
// low-level hook records, so that one core translates keys and buttons for every system. Kept free of Qt so
// that the Windows backend builds from plain Win32 headers.

namespace inputhook {

// Keyboard record flags, as the Windows low-level keyboard hook reports them (LLKHF_EXTENDED, LLKHF_ALTDOWN);
// the other backends produce the same bits.
constexpr unsigned FlagExtended = 0x01;
constexpr unsigned FlagAltDown = 0x20;

// Mouse messages, as the Windows low-level mouse hook reports them.
constexpr unsigned MsgLeftButtonDown = 0x0201;
constexpr unsigned MsgLeftButtonUp = 0x0202;
constexpr unsigned MsgLeftButtonDoubleClick = 0x0203;
constexpr unsigned MsgRightButtonDown = 0x0204;
constexpr unsigned MsgRightButtonUp = 0x0205;
constexpr unsigned MsgRightButtonDoubleClick = 0x0206;
constexpr unsigned MsgMiddleButtonDown = 0x0207;
constexpr unsigned MsgMiddleButtonUp = 0x0208;

// Called on the thread that installed the backend, for every key or button event of the desktop. The backend
// only observes: whatever the sinks do, the event goes on to every other program.
using KeyboardSink = void (*)(unsigned scanCode, unsigned flags, bool isDown);
using MouseSink = void (*)(unsigned message, long x, long y);

// Starts observing; false when the system offers no way to (then nothing stays installed).
bool installBackend(KeyboardSink keyboard, MouseSink mouse);
// Stops observing; harmless when nothing is installed.
void removeBackend();
bool backendInstalled();

} // namespace inputhook
