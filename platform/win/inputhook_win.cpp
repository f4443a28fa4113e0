// Windows: the low-level keyboard and mouse hooks. No Qt in here, so that CI can check this file with
// mingw-w64 on a machine without a Windows build of Qt.
#include "../inputhookbackend.h"

#include <windows.h>

#include <cstdio>

namespace {

HHOOK s_keyboardHook = nullptr;
HHOOK s_mouseHook = nullptr;
inputhook::KeyboardSink s_keyboardSink = nullptr;
inputhook::MouseSink s_mouseSink = nullptr;

LRESULT CALLBACK keyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    // A negative code asks to pass the message on untouched; lParam is not ours to read then.
    if (code >= 0 && s_keyboardSink) {
        const auto *record = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        const bool isDown = code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN);
        s_keyboardSink(static_cast<unsigned>(record->scanCode), static_cast<unsigned>(record->flags), isDown);
    }
    return CallNextHookEx(s_keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK mouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0 && s_mouseSink && wParam >= inputhook::MsgLeftButtonDown &&
        wParam <= inputhook::MsgMiddleButtonUp) {
        const auto *record = reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
        s_mouseSink(static_cast<unsigned>(wParam), record->pt.x, record->pt.y);
    }
    return CallNextHookEx(s_mouseHook, code, wParam, lParam);
}

} // namespace

namespace inputhook {

bool installBackend(KeyboardSink keyboard, MouseSink mouse)
{
    if (s_keyboardHook || s_mouseHook)
        removeBackend();
    s_keyboardSink = keyboard;
    s_mouseSink = mouse;

    const HINSTANCE module = GetModuleHandleW(nullptr);
    s_keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardProc, module, 0);
    s_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, mouseProc, module, 0);
    if (s_keyboardHook && s_mouseHook)
        return true;

    // A hook that did install is removed again rather than forgotten: a forgotten handle could never be
    // unhooked at exit.
    char message[128];
    std::snprintf(message, sizeof message,
                  "vesk.input: low-level hooks not installed (keyboard %d, mouse %d, error %lu)\n",
                  s_keyboardHook != nullptr, s_mouseHook != nullptr, GetLastError());
    OutputDebugStringA(message);
    removeBackend();
    return false;
}

void removeBackend()
{
    if (s_keyboardHook)
        UnhookWindowsHookEx(s_keyboardHook);
    if (s_mouseHook)
        UnhookWindowsHookEx(s_mouseHook);
    s_keyboardHook = nullptr;
    s_mouseHook = nullptr;
}

bool backendInstalled()
{
    return s_keyboardHook != nullptr;
}

} // namespace inputhook
