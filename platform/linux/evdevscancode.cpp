#include "evdevscancode.h"

namespace {

constexpr unsigned LastPlainCode = 88; // evdev codes 1..88 equal their scan code (but 69, Num Lock)
constexpr unsigned EvdevNumLock = 69;

struct ExtendedRow
{
    unsigned evdev;
    unsigned scanCode;
    bool extended;
};

// The keys whose evdev code differs from their scan code.
constexpr ExtendedRow ExtendedRows[] = {
    {54, 0x36, true}, // Right Shift: the Windows hook flags it extended, unlike the make code
    {EvdevNumLock, 0x45, true}, {96, 0x1C, true}, // keypad Enter
    {97, 0x1D, true},                             // Right Ctrl
    {98, 0x35, true},                             // keypad /
    {99, 0x37, true},                             // SysRq / Print Screen
    {100, 0x38, true},                            // Right Alt
    {102, 0x47, true},                            // Home
    {103, 0x48, true},                            // Up
    {104, 0x49, true},                            // Page Up
    {105, 0x4B, true},                            // Left
    {106, 0x4D, true},                            // Right
    {107, 0x4F, true},                            // End
    {108, 0x50, true},                            // Down
    {109, 0x51, true},                            // Page Down
    {110, 0x52, true},                            // Insert
    {111, 0x53, true},                            // Delete
    {119, 0x45, false},                           // Pause: the hook sees its 45 without E0
    {125, 0x5B, true},                            // Left Meta
    {126, 0x5C, true},                            // Right Meta
    {127, 0x5D, true},                            // Menu
    {193, 0x6E, false},                           // F23
};

} // namespace

std::optional<PcScanCode> scanCodeForEvdev(unsigned evdevCode)
{
    if (evdevCode == 0)
        return std::nullopt;
    for (const ExtendedRow &row : ExtendedRows) {
        if (row.evdev == evdevCode)
            return PcScanCode{row.scanCode, row.extended};
    }
    if (evdevCode <= LastPlainCode)
        return PcScanCode{evdevCode, false};
    return std::nullopt;
}
