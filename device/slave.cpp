#include "slave.h"

#include "devicelog.h"
#include "wire/frame.h"

#include <QMutex>
#include <QMutexLocker>

#include <hidapi.h>

#include <vector>

namespace {

// Guards the listener's members; never held across device I/O or while waiting for the thread.
QMutex listenerMutex;

// A read that fails outright would otherwise reopen the device in a tight loop.
constexpr unsigned long kReadErrorPauseMs = 100;

} // namespace

Slave::Slave(QObject *parent)
    : QThread(parent)
{}

Slave::~Slave()
{
    stopListener();
}

void Slave::startListener(const DeviceOpenInfo &info, int length)
{
    if (length <= 0 || static_cast<std::size_t>(length) > kDataBufferSize) {
        qCWarning(lcDevice) << "listener not started: read length" << length << "is out of range";
        stopListener();
        return;
    }
    {
        QMutexLocker lock(&listenerMutex);
        m_openInfo = info;
        running = false;
    }
    // Also waits for a listener that ended by itself but has not been joined yet.
    wait();
    {
        QMutexLocker lock(&listenerMutex);
        running = true;
        readLength = length;
    }
    start(InheritPriority);
}

void Slave::stopListener()
{
    {
        QMutexLocker lock(&listenerMutex);
        running = false;
    }
    wait();
}

bool Slave::isListening() const
{
    QMutexLocker lock(&listenerMutex);
    return running && isRunning();
}

void Slave::run()
{
    DeviceOpenInfo info;
    bool keepGoing = false;
    int length = 0;
    {
        QMutexLocker lock(&listenerMutex);
        info = m_openInfo;
        keepGoing = running;
        length = readLength;
    }
    if (!keepGoing)
        return;
    if (info.inputPath.isEmpty()) {
        qCDebug(lcDevice) << "listener ends: no vendor-input interface";
        return;
    }

    const QByteArray path = info.inputPath.toUtf8();
    std::vector<uchar> buffer(static_cast<std::size_t>(length) + 1);
    while (keepGoing) {
        hid_device *dev = hid_open_path(path.constData());
        if (!dev) {
            qCDebug(lcDevice) << "listener ends: cannot open" << info.inputPath;
            break;
        }
        hid_set_nonblocking(dev, 0);
        buffer[0] = 0;
        const int got =
            hid_read_timeout(dev, buffer.data(), static_cast<std::size_t>(length), kListenTimeoutMs);
        if (got == length)
            Q_EMIT onVendor(QList<uchar>(buffer.begin(), buffer.begin() + length));
        hid_close(dev);
        if (got < 0)
            QThread::msleep(kReadErrorPauseMs);

        QMutexLocker lock(&listenerMutex);
        keepGoing = running;
    }
}
