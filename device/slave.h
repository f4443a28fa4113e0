#pragma once

#include "deviceinfo.h"

#include <QList>
#include <QThread>

constexpr int kVendorReportLength = 4; // the mouse's own input reports
constexpr int kListenTimeoutMs = 500;  // one listener cycle; also bounds how long a stop waits

// Listens on the vendor-input interface and hands each complete report to the GUI thread.
class Slave : public QThread
{
    Q_OBJECT

public:
    explicit Slave(QObject *parent = nullptr);
    ~Slave() override;

    // Stops a running listener (waiting until it has ended), then starts a fresh one.
    void startListener(const DeviceOpenInfo &info, int length);
    // Returns once the listener loop has ended; at once when none runs.
    void stopListener();
    bool isListening() const;

Q_SIGNALS:
    void onVendor(QList<uchar> vCmd);

protected:
    void run() override;

private:
    DeviceOpenInfo m_openInfo;
    int readLength = 0;
    bool running = false;
};
