#include "copydatachannel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcCopyData, "vesk.platform.copydata")

namespace {

constexpr int HeaderBytes = 8;
constexpr int MaxConnections = 8;
constexpr int IdleTimeoutMs = 5000;

// The socket file is already private to the user; the peer's credentials are checked as well, because root
// (or a careless chmod) can reach it anyway and the messages end up in front of the user.
bool peerIsSameUser(const QLocalSocket *socket)
{
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return false;
    return credentials.uid == geteuid();
}

} // namespace

struct CopyDataChannel::Private
{
    QLocalServer server;
    CopyDataCallback callback = nullptr;
    void *context = nullptr;
    int connections = 0;
};

namespace {

// What one peer has sent so far; lives and dies with its socket.
class Connection : public QObject
{
public:
    explicit Connection(QLocalSocket *socket)
        : QObject(socket)
    {
        idle.setSingleShot(true);
    }

    QByteArray buffer;
    QTimer idle;
};

} // namespace

CopyDataChannel::CopyDataChannel(QObject *parent)
    : QObject(parent)
    , m_d(std::make_unique<Private>())
{}

CopyDataChannel::~CopyDataChannel()
{
    remove();
}

QString CopyDataChannel::socketPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/vesk-config.copydata");
}

bool CopyDataChannel::install(CopyDataCallback callback, void *context)
{
    remove();
    m_d->callback = callback;
    m_d->context = context;

    const QString path = socketPath();
    m_d->server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_d->server.listen(path)) {
        // A socket file left by a crashed run is taken over; one that still answers belongs to a running copy
        // of the program started from another folder, which keeps it.
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(200)) {
            qCWarning(lcCopyData) << "another running program owns" << path << "- no copy-data messages";
            return false;
        }
        QLocalServer::removeServer(path);
        if (!m_d->server.listen(path)) {
            qCWarning(lcCopyData) << "cannot listen on" << path << m_d->server.errorString();
            return false;
        }
    }

    connect(&m_d->server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_d->server.nextPendingConnection())
            accept(socket);
    });
    qCDebug(lcCopyData) << "listening on" << path;
    return true;
}

void CopyDataChannel::accept(QLocalSocket *socket)
{
    if (m_d->connections >= MaxConnections || !peerIsSameUser(socket)) {
        qCWarning(lcCopyData) << "copy-data peer refused (another user, or too many connections)";
        socket->abort();
        socket->deleteLater();
        return;
    }
    ++m_d->connections;
    auto *connection = new Connection(socket);
    connect(&connection->idle, &QTimer::timeout, socket, [socket] {
        qCDebug(lcCopyData) << "copy-data peer idle; dropped";
        socket->abort();
    });
    connection->idle.start(IdleTimeoutMs);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
        --m_d->connections;
        socket->deleteLater();
    });
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, connection] {
        QByteArray &buffer = connection->buffer;
        buffer.append(socket->readAll());
        connection->idle.start(IdleTimeoutMs);
        while (buffer.size() >= HeaderBytes) {
            const auto *head = reinterpret_cast<const uchar *>(buffer.constData());
            const quint32 dwData = qFromLittleEndian<quint32>(head);
            const quint32 cbData = qFromLittleEndian<quint32>(head + 4);
            if (cbData > CopyDataMaxBytes) {
                qCWarning(lcCopyData) << "copy-data message of" << cbData << "bytes refused";
                buffer.clear();
                socket->abort();
                return;
            }
            if (buffer.size() < HeaderBytes + qsizetype(cbData))
                return;
            deliver(dwData, buffer.mid(HeaderBytes, cbData));
            buffer.remove(0, HeaderBytes + cbData);
        }
    });
}

void CopyDataChannel::deliver(quint32 dwData, const QByteArray &bytes)
{
    // Handed on from the event loop, not from inside the socket's signal: the callback may run a modal box,
    // and the peer (with everything it owns) may be gone by the time that box closes.
    QMetaObject::invokeMethod(
        this,
        [this, dwData, bytes] {
            if (!m_d->callback)
                return;
            const CopyDataRecord record{dwData, quint32(bytes.size()), bytes.constData()};
            m_d->callback(record, m_d->context);
        },
        Qt::QueuedConnection);
}

void CopyDataChannel::remove()
{
    if (m_d->server.isListening())
        m_d->server.close();
    m_d->server.disconnect(this);
    m_d->callback = nullptr;
    m_d->context = nullptr;
}
