// The program as a user meets it: started from the build folder under X, driven with xdotool.
#include "programfolder.h"
#include "qtsinglecoreapplication.h"
#include "xdotool.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/wait.h>
#include <unistd.h>

class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startedFromElsewhereFindsItsFiles();
    void secondStartExitsWithOneAndLeavesTheFirst();
    void copyDataMessageShowsOneBoxAtATime();
    void draggingTheSceneMovesTheWindow();
    void closeControlEndsTheProgram();
    void startsOverALeftLockAndAStrangersFile();
    void runsUnchangedAgainstTheVirtualMouse();

private:
    QStringList windows() const;
    QPoint windowPosition(const QString &id) const;
    void startFirst();

    QString m_program;
    QString m_window;
    QTemporaryDir m_elsewhere;
    QTemporaryDir m_runtime;
    QProcess m_first;
};

namespace {

const QString Title = QStringLiteral("Vesk Mouse Configuration");
// The centre of the close control, a 23 × 23 mark at the right end of the top bar.
const QPoint CloseControl(1000 - 8 - 23 / 2, 2 + 23 / 2);

// Clicks the close control and waits for the program to end. The top bar slides in with the opening
// animation; until it is in place a click there lands on the background, so the click is repeated.
bool closeThroughTheControl(QProcess &program, const QPoint &windowOrigin)
{
    const QPoint close = windowOrigin + CloseControl;
    xdo::run({QStringLiteral("mousemove"), QString::number(close.x()), QString::number(close.y())});
    for (int attempt = 0; attempt < 10; ++attempt) {
        xdo::run({QStringLiteral("click"), QStringLiteral("1")});
        if (program.waitForFinished(1500))
            return true;
    }
    return false;
}

} // namespace

QStringList TestProgram::windows() const
{
    return xdo::windowsTitled(Title);
}

QPoint TestProgram::windowPosition(const QString &id) const
{
    return xdo::windowPosition(id);
}

void TestProgram::initTestCase()
{
    m_program = QStringLiteral(VESK_PROGRAM);
    QVERIFY(QFileInfo(m_program).isExecutable());
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is needed to drive the program");
    QVERIFY(m_elsewhere.isValid() && m_runtime.isValid());
    QFile::setPermissions(m_runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The lock's path is the program's runtime folder: the test looks where the program does.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_first.setProcessEnvironment(environment);
    m_first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startFirst();
}

void TestProgram::startFirst()
{
    // Started from a folder that holds none of the program's files.
    m_first.setWorkingDirectory(m_elsewhere.path());
    m_first.start(m_program, {});
    QVERIFY(m_first.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(windows().size(), 1, 20000);
    m_window = windows().value(0);
}

void TestProgram::cleanupTestCase()
{
    if (m_first.state() != QProcess::NotRunning) {
        m_first.kill();
        m_first.waitForFinished();
    }
}

void TestProgram::startedFromElsewhereFindsItsFiles()
{
    // The title comes from ./modules/setting/apConfig.bin: found only when the program's folder became
    // current.
    QCOMPARE(windows().size(), 1);
    QVERIFY(QFileInfo::exists(QtSingleCoreApplication::lockFilePath(m_program)));
}

void TestProgram::secondStartExitsWithOneAndLeavesTheFirst()
{
    QProcess second;
    second.setProcessEnvironment(m_first.processEnvironment());
    second.start(m_program, {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 1);

    QCOMPARE(m_first.state(), QProcess::Running);
    QCOMPARE(windows().size(), 1);
}

void TestProgram::copyDataMessageShowsOneBoxAtATime()
{
    const auto send = [this](const QByteArray &text) {
        QByteArray message(8, '\0');
        qToLittleEndian<quint32>(0x250F, message.data());
        qToLittleEndian<quint32>(quint32(text.size()), message.data() + 4);
        QLocalSocket peer;
        peer.connectToServer(m_runtime.filePath(QStringLiteral("vesk-config.copydata")));
        QVERIFY(peer.waitForConnected(5000));
        peer.write(message + text);
        QVERIFY(peer.waitForBytesWritten(5000));
        peer.disconnectFromServer();
    };

    send("Your mouse has new firmware.");
    // The box carries the main window's title, so two windows now answer to it.
    QTRY_COMPARE_WITH_TIMEOUT(windows().size(), 2, 10000);
    send("A second notice while the first is open.");
    QTest::qWait(500);
    QCOMPARE(windows().size(), 2);

    // The box has the keyboard focus; Escape is its Ok.
    xdo::run({QStringLiteral("key"), QStringLiteral("Escape")});
    QTRY_COMPARE_WITH_TIMEOUT(windows(), QStringList{m_window}, 10000);
    QCOMPARE(m_first.state(), QProcess::Running);
}

void TestProgram::draggingTheSceneMovesTheWindow()
{
    const QString id = m_window;
    const QPoint start = windowPosition(id);
    const QPoint grab = start + QPoint(500, 300);

    xdo::run({QStringLiteral("mousemove"), QString::number(grab.x()), QString::number(grab.y())});
    xdo::run({QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int step = 1; step <= 4; ++step) {
        xdo::run({QStringLiteral("mousemove"), QString::number(grab.x() - 10 * step),
                  QString::number(grab.y() + 8 * step)});
        QTest::qWait(100);
    }
    xdo::run({QStringLiteral("mouseup"), QStringLiteral("1")});
    QTRY_COMPARE_WITH_TIMEOUT(windowPosition(id), start + QPoint(-40, 32), 5000);
}

void TestProgram::closeControlEndsTheProgram()
{
    QVERIFY(closeThroughTheControl(m_first, windowPosition(m_window)));
    QCOMPARE(m_first.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_first.exitCode(), 0);
    QVERIFY2(!QFileInfo::exists(QtSingleCoreApplication::lockFilePath(m_program)),
             "the lock goes with the program");
}

void TestProgram::startsOverALeftLockAndAStrangersFile()
{
    // A copy that crashed: its lock names a process that is gone.
    const QString lockPath = QtSingleCoreApplication::lockFilePath(m_program);
    const pid_t crashed = fork();
    if (crashed == 0) {
        QLockFile lock(lockPath);
        _exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(crashed, &status, 0), crashed);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QVERIFY(QFileInfo::exists(lockPath));

    // Anyone may make files in the shared temporary folder, under any name the program once used; one that
    // names a live process stops nothing.
    const QByteArray hash =
        QCryptographicHash::hash(QDir::cleanPath(m_program).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    QFile stranger(QDir::tempPath() +
                   QStringLiteral("/vesk-config-%1-%2.lock").arg(getuid()).arg(QString::fromLatin1(hash)));
    QVERIFY(stranger.open(QIODevice::WriteOnly));
    stranger.write("1\nvesk-config\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stranger.close();

    startFirst();
    const bool closed = closeThroughTheControl(m_first, windowPosition(m_window));
    stranger.remove();
    QVERIFY(closed);
    QCOMPARE(m_first.exitCode(), 0);
}

void TestProgram::runsUnchangedAgainstTheVirtualMouse()
{
    // The program as built, with the virtual mouse preloaded in place of hidapi: detection finds the mouse
    // and sends it 01H with the option 0x0F, which the mouse keeps in its state file. It runs from a copy of
    // its folder: the synchronisation with the virtual mouse writes the profile store beside the program.
    const QString state = m_elsewhere.filePath(QStringLiteral("mouse.state"));
    const QString folder = m_elsewhere.filePath(QStringLiteral("copy"));
    QVERIFY(copyProgramFolder(QFileInfo(m_program).path(), folder));
    QProcess program;
    QProcessEnvironment environment = m_first.processEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(VESK_VMOUSE_LIBRARY));
    environment.insert(QStringLiteral("VESK_VMOUSE_STATE"), state);
    // In a sanitizer build the preloaded library comes before the sanitizer's runtime, which is harmless
    // here.
    environment.insert(QStringLiteral("ASAN_OPTIONS"), environment.value(QStringLiteral("ASAN_OPTIONS")) +
                                                           QStringLiteral(":verify_asan_link_order=0"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(folder + QLatin1Char('/') + QFileInfo(m_program).fileName(), {});
    QVERIFY(program.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(windows().size(), 1, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(
        QSettings(state, QSettings::IniFormat).value(QStringLiteral("device/option")).toInt(), 0x0F, 10000);

    QVERIFY(closeThroughTheControl(program, windowPosition(windows().value(0))));
    QCOMPARE(program.exitCode(), 0);
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
