// What the transport does when the mouse fails, vanishes or is handed lengths that do not fit.

#include "master.h"
#include "mousefixture.h"
#include "ms_ht66fb560.h"
#include "vmouse.h"
#include "wire.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <memory>

using namespace wire;

namespace {

// The read commands, each with preset outputs, reporting whether it succeeded and whether the outputs
// still hold their presets.
struct ReadOutcome
{
    bool ok;
    bool outputsAsPreset;
};

QList<std::pair<QString, std::function<ReadOutcome(MS_HT66FB560 &)>>> readCommands()
{
    auto value = [](auto call) {
        return [call](MS_HT66FB560 &m) {
            uchar v = 0xA5;
            const bool ok = call(m, v);
            return ReadOutcome{ok, v == 0xA5};
        };
    };
    auto block = [](auto call) {
        return [call](MS_HT66FB560 &m) {
            Block b;
            b.fill(0x5A);
            const bool ok = call(m, b.data());
            return ReadOutcome{ok, std::all_of(b.begin(), b.end(), [](uchar c) { return c == 0x5A; })};
        };
    };
    return {
        {QStringLiteral("81H"),
         value([](MS_HT66FB560 &m, uchar &v) { return m.hid_81H_GetFunctionOption(v); })},
        {QStringLiteral("82H"),
         value([](MS_HT66FB560 &m, uchar &v) { return m.hid_82H_GetCurrentProfile(v); })},
        {QStringLiteral("83H"),
         value([](MS_HT66FB560 &m, uchar &v) { return m.hid_83H_GetReportRate(v, 1); })},
        {QStringLiteral("84H"), value([](MS_HT66FB560 &m, uchar &v) { return m.hid_84H_GetDPIStage(v, 1); })},
        {QStringLiteral("89H"),
         value([](MS_HT66FB560 &m, uchar &v) { return m.hid_89H_GetRGBLedTwinkle(v); })},
        {QStringLiteral("8CH"),
         block([](MS_HT66FB560 &m, uchar *b) { return m.hid_8CH_GetFwProfile(1, b); })},
        {QStringLiteral("8DH"),
         block([](MS_HT66FB560 &m, uchar *b) { return m.hid_8DH_GetKeyMatrix(1, b); })},
        {QStringLiteral("8FH"), block([](MS_HT66FB560 &m, uchar *b) { return m.hid_8FH_GetMacroKey(1, b); })},
    };
}

} // namespace

class TestDeviceFaults
    : public QObject
    , public support::MouseFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void refused_data();
    void refused();
    void failedReads_data();
    void failedReads();
    void blockReadFaults_data();
    void blockReadFaults();
    void nothingReachesAnotherDeviceOnTheMousePath();
    void vanishDuringBlockWrite();
};

void TestDeviceFaults::init()
{
    resetMouse();
}

void TestDeviceFaults::cleanup()
{
    releaseMouse();
    QCOMPARE(vmouse::openHandleCount(), 0);
}

void TestDeviceFaults::refused_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("dataLength");
    QTest::addColumn<bool>("nullData");

    QTest::newRow("data length above the buffer") << 64 << 600 << false;
    QTest::newRow("negative data length") << 64 << -1 << false;
    QTest::newRow("no data buffer") << 64 << 128 << true;
    QTest::newRow("report length 0 with a data phase") << 0 << 128 << false;
    QTest::newRow("report length above the buffer") << 1000 << 128 << false;
}

void TestDeviceFaults::refused()
{
    QFETCH(int, reportLength);
    QFETCH(int, dataLength);
    QFETCH(bool, nullData);

    open(wire::virtualMouse(quint32(reportLength)));
    std::vector<uchar> data(700, 0x5A);
    uchar *buffer = nullData ? nullptr : data.data();
    Frame write = makeFrame(Opcode::SetFwProfile, {0, kBlockLengthMarker});
    m->hid_SetDataCmd(write.data(), buffer, dataLength);
    Frame read = makeFrame(Opcode::GetFwProfile, {0});
    QVERIFY(!m->hid_GetDataCmd(read.data(), buffer, dataLength));
    QCOMPARE(wire::commandRecords().size(), 0);
    QVERIFY(std::all_of(data.begin(), data.end(), [](uchar c) { return c == 0x5A; }));
}

void TestDeviceFaults::failedReads_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("noIo");
    QTest::addColumn<QString>("succeeding"); // reads whose value the fault leaves whole

    QTest::newRow("blocked device does no I/O") << QStringLiteral("blocked") << true << QString();
    QTest::newRow("no command interface") << QStringLiteral("no path") << true << QString();
    QTest::newRow("open fails") << QStringLiteral("open") << false << QString();
    QTest::newRow("feature reports fail") << QStringLiteral("feature") << false << QString();
    QTest::newRow("mouse unplugged") << QStringLiteral("unplugged") << false << QString();
    QTest::newRow("mouse vanishes after the command frame") << QStringLiteral("vanish") << false << QString();
    // A reply cut before its value byte would hand the caller a zero the mouse never sent.
    QTest::newRow("reply stops before the value byte")
        << QStringLiteral("short reply 2") << false << QString();
    // 83H, 84H and 80H answer in byte 3, the others in byte 2.
    QTest::newRow("reply stops after byte 2")
        << QStringLiteral("short reply 3") << false << QStringLiteral("81H 82H 89H");
    // Linux hands a freed /dev/hidrawN to the next device at once.
    QTest::newRow("the mouse's path now leads to another device")
        << QStringLiteral("foreign") << false << QString();
}

void TestDeviceFaults::failedReads()
{
    QFETCH(QString, fault);
    QFETCH(bool, noIo);
    QFETCH(QString, succeeding);
    const bool shortReply = fault.startsWith(QLatin1String("short reply"));

    const auto inject = [&fault, shortReply, this] {
        if (fault == QLatin1String("blocked"))
            m->master()->setBlocked(true);
        else if (fault == QLatin1String("no path"))
            m->hid_OpenDevice(DeviceOpenInfo{});
        else if (fault == QLatin1String("open"))
            vmouse::failOpens(-1);
        else if (fault == QLatin1String("feature"))
            vmouse::failFeatureReports(-1);
        else if (fault == QLatin1String("unplugged"))
            vmouse::setPlugged(false);
        else if (shortReply)
            vmouse::shortFeatureReplies(-1, fault.section(QLatin1Char(' '), 2).toInt());
        else if (fault == QLatin1String("foreign"))
            vmouse::setForeignDeviceOnMousePaths(true);
        else
            vmouse::unplugAfterReports(1);
    };

    for (const auto &[name, read] : readCommands()) {
        // A block read's reply carries no value; its block is what counts.
        if (shortReply && name.startsWith(QLatin1String("8")) && QStringLiteral("8CH 8DH 8FH").contains(name))
            continue;
        vmouse::reset();
        inject();
        vmouse::clearWireLog();
        const ReadOutcome outcome = read(*m);
        if (succeeding.contains(name)) {
            QVERIFY2(outcome.ok, qPrintable(name));
            continue;
        }
        QVERIFY2(!outcome.ok, qPrintable(name));
        QVERIFY2(outcome.outputsAsPreset, qPrintable(name));
        if (noIo)
            QVERIFY2(vmouse::wireLog().empty(), qPrintable(name));
        QVERIFY2(vmouse::foreignReportCount() == 0, qPrintable(name));
        QVERIFY2(vmouse::openHandleCount() == 0, qPrintable(name));
    }

    vmouse::reset();
    inject();
    QString version = QStringLiteral("preset");
    QVERIFY(!m->hid_80H_GetFWVersion(version));
    QCOMPARE(version, QStringLiteral("unknown"));
}

void TestDeviceFaults::blockReadFaults_data()
{
    QTest::addColumn<QString>("fault");

    QTest::newRow("input reports come short") << QStringLiteral("short");
    QTest::newRow("input reports never come") << QStringLiteral("silent");
    QTest::newRow("mouse vanishes after the first input report") << QStringLiteral("vanish");
    // The second half comes after the read gave up and waits on the interface for the next handle.
    QTest::newRow("second half arrives after the read's limit") << QStringLiteral("late");
}

void TestDeviceFaults::blockReadFaults()
{
    QFETCH(QString, fault);

    vmouse::setProfileBlock(1, toVmouse(pattern(2)));
    if (fault == QLatin1String("short"))
        vmouse::shortInputReports(-1);
    else if (fault == QLatin1String("silent"))
        vmouse::silentInputReports(true);
    else if (fault == QLatin1String("late"))
        vmouse::lateInputReports(1, 1);
    else
        vmouse::unplugAfterReports(3);

    Block block;
    block.fill(0x5A);
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!m->hid_8CH_GetFwProfile(1, block.data()));
    // Two reports of at most one second each; the bound is loose on purpose.
    QVERIFY(timer.elapsed() < 10000);
    QVERIFY(std::all_of(block.begin(), block.end(), [](uchar c) { return c == 0x5A; }));
    QCOMPARE(vmouse::openHandleCount(), 0);

    // The next read takes the next block whole, never a leftover of this one.
    vmouse::shortInputReports(0);
    vmouse::silentInputReports(false);
    vmouse::setPlugged(true);
    vmouse::setProfileBlock(2, toVmouse(pattern(9)));
    QVERIFY(m->hid_8CH_GetFwProfile(2, block.data()));
    QVERIFY(block == pattern(9));
}

void TestDeviceFaults::nothingReachesAnotherDeviceOnTheMousePath()
{
    vmouse::setForeignDeviceOnMousePaths(true);
    Block block = pattern(4);
    QVERIFY(!m->hid_0CH_SetFwProfile(1, block.data()));
    QVERIFY(!m->hid_02H_SetCurrentProfile(2));
    QCOMPARE(vmouse::foreignReportCount(), 0);
    QCOMPARE(wire::kinds(wire::commandRecords()), QStringLiteral("open close open close"));
    QCOMPARE(vmouse::openHandleCount(), 0);
}

void TestDeviceFaults::vanishDuringBlockWrite()
{
    vmouse::unplugAfterReports(2);
    Block block = pattern(4);
    m->hid_0CH_SetFwProfile(1, block.data());
    const auto records = wire::commandRecords();
    QCOMPARE(wire::kinds(records), QStringLiteral("open fout out out close"));
    QVERIFY(!records.at(3).ok);
    QCOMPARE(vmouse::openHandleCount(), 0);
}

QTEST_GUILESS_MAIN(TestDeviceFaults)
#include "tst_device_faults.moc"
