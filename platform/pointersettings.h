#pragma once

#include <memory>

// The operating system's pointer settings that the sensor page edits, for the logged-in user. A setter
// changes the setting at once and for good; every call answers false when the system refused it or has no
// such setting, and the caller decides what to report.
class PointerSettings
{
public:
    // Windows' mouse parameters: two movement thresholds and the acceleration switch (0 off, 1 on).
    struct MouseParams
    {
        int threshold1 = 0;
        int threshold2 = 0;
        int acceleration = 0;
    };

    // Windows' pointer speed scale; 10 is the system's default.
    static constexpr int MinSpeed = 1;
    static constexpr int DefaultSpeed = 10;
    static constexpr int MaxSpeed = 20;

    virtual ~PointerSettings() = default;

    virtual bool mouseParams(MouseParams &params) = 0;
    virtual bool setMouseParams(const MouseParams &params) = 0;
    virtual bool setMouseSpeed(int speed) = 0;
    virtual bool setWheelScrollLines(unsigned lines) = 0;
    virtual bool setDoubleClickTime(unsigned milliseconds) = 0;

    // The backend of the system the program runs on.
    static std::unique_ptr<PointerSettings> createSystemSettings();
};
