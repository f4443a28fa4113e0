#pragma once

// The device tests' fixture: a factory-fresh virtual mouse for every test function and the transport `m`
// opened on it the way detection opens it. A test class derives from it beside QObject.

#include "deviceinfo.h"
#include "ms_ht66fb560.h"

#include <memory>

namespace support {

class MouseFixture
{
public:
    // Resets the virtual mouse and makes a new transport, opened on it unless opened is false.
    void resetMouse(bool opened = true);
    // A new transport opened on info; the wire log starts empty.
    void open(const DeviceOpenInfo &info);
    // Ends the transport and delivers what its threads left behind; the test then checks that no handle of
    // the virtual mouse is still open.
    void releaseMouse();

    std::unique_ptr<MS_HT66FB560> m;
};

} // namespace support
