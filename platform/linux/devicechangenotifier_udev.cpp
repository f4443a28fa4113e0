#include "devicechangenotifier.h"
#include "platformlog.h"

#include <QSocketNotifier>

#include <libudev.h>

struct DeviceChangeNotifier::Private
{
    udev *context = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;

    ~Private()
    {
        delete notifier;
        if (monitor)
            udev_monitor_unref(monitor);
        if (context)
            udev_unref(context);
    }
};

DeviceChangeNotifier::DeviceChangeNotifier(QObject *parent)
    : QObject(parent)
    , m_d(std::make_unique<Private>())
{}

DeviceChangeNotifier::~DeviceChangeNotifier() = default;

bool DeviceChangeNotifier::start()
{
    if (m_d->notifier)
        return true;

    m_d->context = udev_new();
    if (!m_d->context) {
        qCWarning(lcDeviceChange) << "udev is not available; the mouse is looked for only at start-up";
        return false;
    }
    m_d->monitor = udev_monitor_new_from_netlink(m_d->context, "udev");
    if (!m_d->monitor ||
        udev_monitor_filter_add_match_subsystem_devtype(m_d->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_d->monitor) < 0) {
        qCWarning(lcDeviceChange) << "cannot watch hidraw devices; the mouse is looked for only at start-up";
        return false;
    }

    const int fd = udev_monitor_get_fd(m_d->monitor);
    m_d->notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    connect(m_d->notifier, &QSocketNotifier::activated, this, [this] {
        // Drain every queued event: each one only restarts the same countdown, so a burst counts once.
        bool changed = false;
        while (udev_device *device = udev_monitor_receive_device(m_d->monitor)) {
            const char *action = udev_device_get_action(device);
            if (action && (qstrcmp(action, "add") == 0 || qstrcmp(action, "remove") == 0)) {
                qCDebug(lcDeviceChange) << "hidraw" << action << udev_device_get_devnode(device);
                changed = true;
            }
            udev_device_unref(device);
        }
        if (changed)
            Q_EMIT devicesChanged();
    });
    return true;
}

bool DeviceChangeNotifier::isDeviceChangeMessage(const QByteArray &, void *)
{
    return false;
}
