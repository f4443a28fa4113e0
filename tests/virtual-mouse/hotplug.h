#pragma once

// Between the emulator and the udev monitors it stands in for (udev.cpp).

#include <vector>

namespace vmouse {

struct HotplugEvent
{
    bool add;         // false = remove
    const char *path; // the hidraw node as hidapi names it; a static string
};

// Queues hidraw add/remove events to every udev monitor of the process that listens for them. Called with
// the emulator locked; takes only the monitors' own lock.
void announceHotplug(const std::vector<HotplugEvent> &events);

} // namespace vmouse
