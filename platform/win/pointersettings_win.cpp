#include "pointersettings.h"

#include <windows.h>

namespace {

// Write the user's profile and broadcast the change, so that the setting holds for good and every program
// sees it at once.
constexpr UINT PersistAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

class Win32PointerSettings final : public PointerSettings
{
public:
    bool mouseParams(MouseParams &params) override
    {
        int values[3] = {};
        if (!SystemParametersInfoW(SPI_GETMOUSE, 0, values, 0))
            return false;
        params = MouseParams{values[0], values[1], values[2]};
        return true;
    }

    bool setMouseParams(const MouseParams &params) override
    {
        int values[3] = {params.threshold1, params.threshold2, params.acceleration};
        return SystemParametersInfoW(SPI_SETMOUSE, 0, values, PersistAndBroadcast) != 0;
    }

    bool setMouseSpeed(int speed) override
    {
        // The speed travels in the pointer argument itself, not behind it.
        return SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                                     reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                                     PersistAndBroadcast) != 0;
    }

    bool setWheelScrollLines(unsigned lines) override
    {
        return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, PersistAndBroadcast) != 0;
    }

    bool setDoubleClickTime(unsigned milliseconds) override
    {
        return SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, milliseconds, nullptr, PersistAndBroadcast) != 0;
    }
};

} // namespace

std::unique_ptr<PointerSettings> PointerSettings::createSystemSettings()
{
    return std::make_unique<Win32PointerSettings>();
}
