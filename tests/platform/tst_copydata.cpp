#include "copydatachannel.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

class TestCopyData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void decoding_data();
    void decoding();
    void channelDeliversWholeMessages_data();
    void channelDeliversWholeMessages();
    void oversizedMessageIsRefusedUnread();
    void channelStaysWithTheFirstCopy();
    void peerOfAnotherUserIsRefused();

private:
    struct Received
    {
        QList<quint32> tags;
        QList<QByteArray> bytes;
    };
    static void record(const CopyDataRecord &message, void *context)
    {
        auto *received = static_cast<Received *>(context);
        received->tags.append(quint32(message.dwData));
        received->bytes.append(QByteArray(static_cast<const char *>(message.lpData), int(message.cbData)));
    }
};

namespace {

QByteArray frame(quint32 tag, const QByteArray &bytes, quint32 declared)
{
    QByteArray out(8, '\0');
    qToLittleEndian<quint32>(tag, out.data());
    qToLittleEndian<quint32>(declared, out.data() + 4);
    return out + bytes;
}

QByteArray frame(quint32 tag, const QByteArray &bytes)
{
    return frame(tag, bytes, quint32(bytes.size()));
}

} // namespace

void TestCopyData::initTestCase()
{
    // A private runtime folder, so that the test never meets a running program's channel.
    static QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    QFile::setPermissions(runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
}

void TestCopyData::decoding_data()
{
    QTest::addColumn<quint32>("tag");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("declared");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("text");

    const QByteArray ascii("Profile saved");
    const QByteArray utf8("Pr\xC3\xBC"
                          "fung \xE6\xB5\x8B\xE8\xAF\x95");
    QTest::newRow("exact length") << 0x250Fu << ascii << int(ascii.size()) << true << "Profile saved";
    QTest::newRow("multi-byte text, byte length")
        << 0x250Fu << utf8 << int(utf8.size()) << true << QString::fromUtf8(utf8);
    QTest::newRow("terminator counted")
        << 0x250Fu << ascii + '\0' << int(ascii.size() + 1) << false << QString();
    QTest::newRow("zero inside the text") << 0x250Fu << QByteArray("ab\0cd", 5) << 5 << false << QString();
    QTest::newRow("other tag") << 0x250Eu << ascii << int(ascii.size()) << false << QString();
    QTest::newRow("broken UTF-8") << 0x250Fu << QByteArray("\xC3") << 1 << false << QString();
    QTest::newRow("empty text") << 0x250Fu << QByteArray() << 0 << true << QString();
    QTest::newRow("over the size limit") << 0x250Fu << QByteArray(5000, 'a') << 5000 << false << QString();
}

void TestCopyData::decoding()
{
    QFETCH(quint32, tag);
    QFETCH(QByteArray, bytes);
    QFETCH(int, declared);
    QFETCH(bool, shown);
    QFETCH(QString, text);

    const CopyDataRecord message{tag, quint32(declared), bytes.constData()};
    const std::optional<QString> decoded = copyDataText(message);
    QCOMPARE(decoded.has_value(), shown);
    if (shown)
        QCOMPARE(*decoded, text);
}

void TestCopyData::channelDeliversWholeMessages_data()
{
    QTest::addColumn<QList<QByteArray>>("writes");
    QTest::addColumn<QList<QByteArray>>("expected");

    const QByteArray one = frame(0x250F, "first");
    const QByteArray two = frame(0x250F, "second message");
    QTest::newRow("one message") << QList<QByteArray>{one} << QList<QByteArray>{"first"};
    QTest::newRow("two in one write")
        << QList<QByteArray>{one + two} << QList<QByteArray>{"first", "second message"};
    QTest::newRow("split inside the header")
        << QList<QByteArray>{one.left(3), one.mid(3)} << QList<QByteArray>{"first"};
    QTest::newRow("split inside the text")
        << QList<QByteArray>{two.left(12), two.mid(12)} << QList<QByteArray>{"second message"};
    QTest::newRow("incomplete message") << QList<QByteArray>{one.left(10)} << QList<QByteArray>{};
}

void TestCopyData::channelDeliversWholeMessages()
{
    QFETCH(QList<QByteArray>, writes);
    QFETCH(QList<QByteArray>, expected);

    Received received;
    CopyDataChannel channel;
    QVERIFY(channel.install(&TestCopyData::record, &received));

    QLocalSocket peer;
    peer.connectToServer(CopyDataChannel::socketPath());
    QVERIFY(peer.waitForConnected(2000));
    for (const QByteArray &chunk : writes) {
        peer.write(chunk);
        QVERIFY(peer.waitForBytesWritten(2000));
        QTest::qWait(50);
    }
    QTRY_COMPARE(received.bytes, expected);
    QTest::qWait(100);
    QCOMPARE(received.bytes, expected);
}

void TestCopyData::oversizedMessageIsRefusedUnread()
{
    Received received;
    CopyDataChannel channel;
    QVERIFY(channel.install(&TestCopyData::record, &received));

    QLocalSocket peer;
    peer.connectToServer(CopyDataChannel::socketPath());
    QVERIFY(peer.waitForConnected(2000));
    QSignalSpy dropped(&peer, &QLocalSocket::disconnected);
    peer.write(frame(0x250F, QByteArray(64, 'x'), 1u << 20));
    QVERIFY(peer.waitForBytesWritten(2000));
    QTRY_COMPARE(dropped.count(), 1);
    QVERIFY(received.bytes.isEmpty());
}

void TestCopyData::channelStaysWithTheFirstCopy()
{
    const QByteArray path = QFile::encodeName(CopyDataChannel::socketPath());
    // A socket file left by a crashed run: bound, never unlinked, nobody listening.
    {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        QCOMPARE(bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        close(fd);
    }

    Received received;
    auto first = std::make_unique<CopyDataChannel>();
    QVERIFY(first->install(&TestCopyData::record, &received));
    {
        // A copy started from another folder finds the channel taken, and its end leaves it alone.
        Received none;
        CopyDataChannel second;
        QVERIFY(!second.install(&TestCopyData::record, &none));
    }
    QVERIFY(QFileInfo::exists(QFile::decodeName(path)));
    QLocalSocket peer;
    peer.connectToServer(QFile::decodeName(path));
    QVERIFY(peer.waitForConnected(2000));
    peer.write(frame(0x250F, "still the first"));
    QVERIFY(peer.waitForBytesWritten(2000));
    QTRY_COMPARE(received.bytes, QList<QByteArray>{"still the first"});

    first.reset();
    QVERIFY(!QFileInfo::exists(QFile::decodeName(path)));
}

void TestCopyData::peerOfAnotherUserIsRefused()
{
    if (geteuid() != 0)
        QSKIP("needs root to connect as another user");

    Received received;
    CopyDataChannel channel;
    QVERIFY(channel.install(&TestCopyData::record, &received));
    // Open the way on purpose: the credentials check must hold even when the file permissions do not.
    const QByteArray path = QFile::encodeName(CopyDataChannel::socketPath());
    chmod(qgetenv("XDG_RUNTIME_DIR").constData(), 0755);
    chmod(path.constData(), 0777);

    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
            _exit(3);
        const QByteArray message = frame(0x250F, "from another user");
        if (::write(fd, message.constData(), size_t(message.size())) != message.size())
            _exit(4);
        char byte;
        // The program drops the connection without answering.
        _exit(::read(fd, &byte, 1) <= 0 ? 0 : 5);
    }

    int status = 0;
    QDeadlineTimer deadline(5000);
    while (waitpid(child, &status, WNOHANG) == 0 && !deadline.hasExpired())
        QTest::qWait(20);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QTest::qWait(100);
    QVERIFY(received.bytes.isEmpty());
    chmod(qgetenv("XDG_RUNTIME_DIR").constData(), 0700);
}

QTEST_GUILESS_MAIN(TestCopyData)
#include "tst_copydata.moc"
