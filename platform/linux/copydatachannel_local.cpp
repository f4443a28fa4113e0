#include "copydatachannel.h"
#include "platformlog.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

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

bool socketAddress(const QByteArray &path, sockaddr_un &address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

// A listening socket bound at `path`, or -1 with errno set. bind() never replaces an existing file, so a
// channel that another copy holds stays with it.
int listenAt(const QByteArray &path)
{
    sockaddr_un address;
    if (!socketAddress(path, address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
        listen(fd, SOMAXCONN) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    // Only the user may connect (the folder is the user's own too; a peer's credentials are checked anyway).
    chmod(path.constData(), S_IRUSR | S_IWUSR);
    return fd;
}

// Whether a running program listens at `path`. A socket file left by a crashed run refuses at once.
bool answers(const QByteArray &path)
{
    sockaddr_un address;
    if (!socketAddress(path, address))
        return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0 ||
                           errno == EAGAIN || errno == EINPROGRESS;
    close(fd);
    return connected;
}

struct FileIdentity
{
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity &other) const
    {
        return device == other.device && inode == other.inode;
    }
};

std::optional<FileIdentity> identityOf(const QByteArray &path)
{
    struct stat status
    {
    };
    if (lstat(path.constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

} // namespace

struct CopyDataChannel::Private
{
    int listener = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    QByteArray path;
    FileIdentity bound; // the socket file this channel made, which alone it may remove
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
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty())
        return folder + QStringLiteral("/vesk-config.copydata");
    // Without a runtime folder of the user's own, a name of the user's own in the shared temporary folder.
    return QDir::tempPath() + QStringLiteral("/vesk-config-%1.copydata").arg(geteuid());
}

bool CopyDataChannel::install(CopyDataCallback callback, void *context)
{
    remove();
    m_d->callback = callback;
    m_d->context = context;

    const QByteArray path = QFile::encodeName(socketPath());
    int fd = listenAt(path);
    if (fd < 0 && errno == EADDRINUSE) {
        // A copy of the program started from another folder keeps its channel for its whole life; a socket
        // file that nobody answers on was left by a crashed run and is taken over.
        if (answers(path)) {
            qCDebug(lcCopyData) << "another running program owns" << path << "- no copy-data messages";
            return false;
        }
        struct stat status
        {
        };
        if (lstat(path.constData(), &status) == 0 && S_ISSOCK(status.st_mode) && status.st_uid == geteuid()) {
            qCDebug(lcCopyData) << "taking over the socket left at" << path;
            unlink(path.constData());
        }
        fd = listenAt(path);
    }
    if (fd < 0) {
        qCWarning(lcCopyData) << "cannot listen on" << path << std::strerror(errno)
                              << "- no copy-data messages";
        return false;
    }

    m_d->listener = fd;
    m_d->path = path;
    m_d->bound = identityOf(path).value_or(FileIdentity{});
    m_d->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_d->notifier.get(), &QSocketNotifier::activated, this, [this] {
        for (;;) {
            const int peer = accept4(m_d->listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (peer < 0)
                return; // EAGAIN: every waiting peer is taken
            auto *socket = new QLocalSocket(this);
            if (!socket->setSocketDescriptor(peer)) {
                close(peer);
                delete socket;
                continue;
            }
            accept(socket);
        }
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
    m_d->notifier.reset();
    if (m_d->listener >= 0) {
        close(m_d->listener);
        m_d->listener = -1;
        // Only the file this channel made: a path that now holds another copy's socket stays.
        if (identityOf(m_d->path) == std::optional<FileIdentity>(m_d->bound))
            unlink(m_d->path.constData());
    }
    m_d->callback = nullptr;
    m_d->context = nullptr;
}
