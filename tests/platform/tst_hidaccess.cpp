// Which paths count as a device node that refuses this user. A refusal itself cannot be staged here (the
// tests may run as root); the device check's test covers what follows from one through a stand-in probe.
#include "hidaccess.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestHidAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void probe_data();
    void probe();
};

void TestHidAccess::probe_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("access");

    QTest::newRow("virtual mouse path") << QStringLiteral("vmouse:04d9:a1e8:cmd") << int(HidAccess::NotANode);
    QTest::newRow("empty path") << QString() << int(HidAccess::NotANode);
    QTest::newRow("vanished node") << QStringLiteral("/dev/hidraw-none-such") << int(HidAccess::NotANode);
    QTest::newRow("plain file") << QStringLiteral("<file>") << int(HidAccess::NotANode);
    QTest::newRow("character device that opens") << QStringLiteral("/dev/null") << int(HidAccess::Granted);
}

void TestHidAccess::probe()
{
    QFETCH(QString, path);
    QFETCH(int, access);
    QTemporaryDir dir;
    if (path == QLatin1String("<file>")) {
        path = dir.filePath(QStringLiteral("hidraw0"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(int(probeHidAccess(path)), access);
}

QTEST_GUILESS_MAIN(TestHidAccess)
#include "tst_hidaccess.moc"
