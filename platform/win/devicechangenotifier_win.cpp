#include "devicechangenotifier.h"

#include <qt_windows.h>

struct DeviceChangeNotifier::Private
{
};

DeviceChangeNotifier::DeviceChangeNotifier(QObject *parent)
    : QObject(parent)
    , m_d(std::make_unique<Private>())
{}

DeviceChangeNotifier::~DeviceChangeNotifier() = default;

// Windows broadcasts WM_DEVICECHANGE to every top-level window; the main window's nativeEvent forwards it
// here.
bool DeviceChangeNotifier::start()
{
    return true;
}

bool DeviceChangeNotifier::isDeviceChangeMessage(const QByteArray &eventType, void *message)
{
    if (eventType != "windows_generic_MSG" || !message)
        return false;
    return static_cast<const MSG *>(message)->message == WM_DEVICECHANGE;
}
