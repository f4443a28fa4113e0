#pragma once

#include <optional>

// Linux reports keys as evdev codes (the X key code less 8); the key translation works on the PC set-1 scan
// code and the extended flag that the Windows hook reports. This is the bridge.
struct PcScanCode
{
    unsigned scanCode = 0;
    bool extended = false;
};

// Nothing for keys that have no scan code on a PC keyboard.
std::optional<PcScanCode> scanCodeForEvdev(unsigned evdevCode);

// The evdev codes of the two Alt keys: the Windows hook flags every key event that happens while Alt is held.
constexpr unsigned EvdevLeftAlt = 56;
constexpr unsigned EvdevRightAlt = 100;

// X key codes are evdev codes moved up by 8 (X reserves the codes below 8).
constexpr unsigned XKeyCodeOffset = 8;
