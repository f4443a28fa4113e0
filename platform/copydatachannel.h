#pragma once

#include "copydata.h"

#include <QObject>

#include <memory>

class QLocalSocket;

// Receives copy-data messages from other processes of the same user and hands each complete one to a
// callback, on the GUI thread. Windows: WM_COPYDATA through an application-wide native event filter. Linux: a
// local socket in the user's runtime directory carrying dwData (uint32 LE), cbData (uint32 LE), then the
// bytes.
class CopyDataChannel : public QObject
{
    Q_OBJECT

public:
    explicit CopyDataChannel(QObject *parent = nullptr);
    ~CopyDataChannel() override;

    // Starts receiving; false when the channel cannot be opened (the program runs on without it).
    bool install(CopyDataCallback callback, void *context);
    void remove();

    // Where the Linux channel listens: a full path, so that only this user's runtime directory is involved.
    static QString socketPath();

private:
    void accept(QLocalSocket *socket);
    void deliver(quint32 dwData, const QByteArray &bytes);

    struct Private;
    std::unique_ptr<Private> m_d;
};
