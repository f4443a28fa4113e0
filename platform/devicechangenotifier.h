#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

// Tells the program that HID devices came or went. Linux: a udev monitor on the "hidraw" subsystem. Windows:
// the main window sees WM_DEVICECHANGE in its nativeEvent and asks isDeviceChangeMessage().
class DeviceChangeNotifier : public QObject
{
    Q_OBJECT

public:
    explicit DeviceChangeNotifier(QObject *parent = nullptr);
    ~DeviceChangeNotifier() override;

    // Starts watching; false when the system offers no notifications (device checks then happen only at
    // start-up).
    bool start();

    // Windows only: whether a native window message announces a change of devices. Always false elsewhere.
    static bool isDeviceChangeMessage(const QByteArray &eventType, void *message);

Q_SIGNALS:
    void devicesChanged();

private:
    struct Private;
    std::unique_ptr<Private> m_d;
};
