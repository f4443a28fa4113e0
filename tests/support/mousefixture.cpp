#include "mousefixture.h"

#include "vmouse.h"
#include "wire.h"

#include <QCoreApplication>
#include <QEvent>

namespace support {

void MouseFixture::resetMouse(bool opened)
{
    vmouse::reset();
    if (opened)
        open(wire::virtualMouse());
    else
        m = std::make_unique<MS_HT66FB560>();
}

void MouseFixture::open(const DeviceOpenInfo &info)
{
    m = std::make_unique<MS_HT66FB560>();
    m->hid_OpenDevice(info);
    vmouse::clearWireLog();
}

void MouseFixture::releaseMouse()
{
    m.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace support
