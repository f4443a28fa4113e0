#pragma once

#include "usbtask.h"

#include <QThread>

// Holds the exchange routine and the blocked flag. It is never started: every exchange runs
// synchronously on the thread that asks for it.
class Master : public QThread
{
    Q_OBJECT

public:
    explicit Master(QObject *parent = nullptr);

    bool isBlocked() const { return blocked; }
    void setBlocked(bool value) { blocked = value; }

    // One complete conversation with the command interface; the handle is closed on every path.
    bool exchange(UsbTask &t);

Q_SIGNALS:
    void onSetCompleted(bool r, UsbTask ut);
    void onGetCompleted(bool r, UsbTask ut);

private:
    bool blocked = false;
};

// Whether an exchange with these lengths stays inside the task's buffers; logs the reason when not.
bool exchangeFits(const UsbTask &t);
