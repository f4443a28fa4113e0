#pragma once

// What the program reads from the mouse when it finds it: the current profile, every profile's block with its
// DPI stage and report rate, the LED twinkle type and the firmware version.

#include "model/mousemodel.h"
#include "wire/frame.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

class MS_HT66FB560;

constexpr int kMouseProfileCount = kSupportedModel.layout.profileCount;

struct ProfileReading
{
    std::array<uchar, kBlockSize> block{};
    uchar stage = 0; // 84H
    uchar rate = 0;  // 83H
};

struct MouseReading
{
    std::optional<uchar> currentProfile; // 82H; empty when the mouse did not answer it
    QList<ProfileReading> profiles;      // profiles 0, 1, ... up to the first one that was not read whole
    uchar twinkle = 0;                   // 89H, read with profile 0
    QString firmwareVersion;             // 80H, "unknown" when not read
    QString failedCommand;               // the read that failed, which ended the reading; empty when none did

    bool complete() const { return failedCommand.isEmpty(); }
};

// 82H, then 8CH, 84H and 83H for profiles 0..5 with 89H after profile 0's 83H, then 80H. A mouse that stops
// answering costs one time-out, not one per read: the reading ends at the first read that fails. The
// firmware version comes last and is not needed: a mouse that does not give it reads as "unknown".
MouseReading readMouse(MS_HT66FB560 &mouse);
