// Detection, the listener thread and the device link's own thread against the virtual mouse.

#include "devicelink.h"
#include "master.h"
#include "mousefixture.h"
#include "ms_ht66fb560.h"
#include "slave.h"
#include "vmouse.h"
#include "wire.h"

#include <QElapsedTimer>
#include <QMetaEnum>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using vmouse::WireKind;

namespace {

const QString cmdPath = QString::fromLatin1(vmouse::kCommandPath);
const QString inPath = QString::fromLatin1(vmouse::kInputPath);

// A check through the link, waited for.
DeviceCheck checkNow(DeviceLink &link)
{
    QSignalSpy checked(&link, &DeviceLink::checked);
    link.check(kSupportedModel.product.deviceListEntry, wire::virtualMouseEntry());
    if (!checked.wait(15000))
        return {};
    return checked.constFirst().constFirst().value<DeviceCheck>();
}

// The opcodes of the frames that were offered to the command interface (wherever it lives now), in order.
QStringList framesSent()
{
    QStringList opcodes;
    for (const vmouse::WireRecord &r : vmouse::wireLog()) {
        if (r.kind == WireKind::FeatureOut && r.bytes.size() > 1)
            opcodes.append(QStringLiteral("%1").arg(r.bytes[1], 2, 16, QLatin1Char('0')).toUpper());
    }
    return opcodes;
}

// "0CH (profile 0):Failed" for every notSent delivery.
QStringList notSentText(const QSignalSpy &spy)
{
    QStringList text;
    for (const QList<QVariant> &args : spy) {
        const auto why = args.at(1).value<DeviceLink::Failure>();
        const QString reason =
            QString::fromLatin1(QMetaEnum::fromType<DeviceLink::Failure>().valueToKey(int(why)));
        for (const QString &command : args.at(0).toStringList())
            text.append(command + QLatin1Char(':') + reason);
    }
    return text;
}

} // namespace

class TestDeviceLink
    : public QObject
    , public support::MouseFixture
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void find_data();
    void find();
    void shippedList();
    void sCode_data();
    void sCode();

    void startTwiceKeepsOneListener();
    void stopNeverStartedReturnsAtOnce();
    void vendorReports_data();
    void vendorReports();
    void unplugEndsListener();
    void destructorStopsListener();

    void commandsGoOutInOrder();
    void failedCommandMakesTheLinkLook_data();
    void failedCommandMakesTheLinkLook();
    void commandsWithoutAMouseAreNotTried();
    void commandsAskedForGoOutBeforeTheLinkEnds();
};

void TestDeviceLink::initTestCase()
{
    qRegisterMetaType<QList<uchar>>("QList<uchar>");
}

void TestDeviceLink::init()
{
    resetMouse(false);
}

void TestDeviceLink::cleanup()
{
    releaseMouse();
    QCOMPARE(vmouse::openHandleCount(), 0);
}

void TestDeviceLink::find_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("commandPath");
    QTest::addColumn<QString>("inputPath");

    QTest::newRow("mouse attached") << QStringLiteral("attached") << true << cmdPath << inPath;
    QTest::newRow("no mouse") << QStringLiteral("unplugged") << false << QString() << QString();
    QTest::newRow("entry-0 device alone is not detected")
        << QStringLiteral("entry0") << false << QString() << QString();
    QTest::newRow("command interface only = absent")
        << QStringLiteral("command") << false << QString() << QString();
    QTest::newRow("input interface only = absent")
        << QStringLiteral("input") << false << QString() << QString();
    QTest::newRow("one interface matching both pairs")
        << QStringLiteral("equal pairs") << true << cmdPath << cmdPath;
    QTest::newRow("entry without USB ids is not looked for")
        << QStringLiteral("no ids") << false << QString() << QString();
}

void TestDeviceLink::find()
{
    QFETCH(QString, setup);
    QFETCH(bool, found);
    QFETCH(QString, commandPath);
    QFETCH(QString, inputPath);

    DeviceInfo entry = wire::virtualMouseEntry();
    if (setup == QLatin1String("unplugged")) {
        vmouse::setPlugged(false);
    } else if (setup == QLatin1String("entry0")) {
        vmouse::setInterfaces(false, false);
        vmouse::setEntry0Present(true);
    } else if (setup == QLatin1String("command")) {
        vmouse::setInterfaces(true, false);
    } else if (setup == QLatin1String("input")) {
        vmouse::setInterfaces(false, true);
    } else if (setup == QLatin1String("equal pairs")) {
        entry.usagePage2 = entry.usagePage;
        entry.usage2 = entry.usage;
    } else if (setup == QLatin1String("no ids")) {
        entry.vid = 0;
    }

    QCOMPARE(m->hid_FindDevice(1, entry), found);
    QCOMPARE(m->task().commandPath, commandPath);
    QCOMPARE(m->task().inputPath, inputPath);
    QCOMPARE(m->task().index, 1);
    QCOMPARE(m->task().productName, QStringLiteral("Vesk"));

    const auto log = vmouse::wireLog();
    const bool enumerated =
        std::any_of(log.begin(), log.end(), [](const auto &r) { return r.kind == WireKind::Enumerate; });
    QCOMPARE(enumerated, setup != QLatin1String("no ids"));

    // The detection command 01H goes out only when there is a command interface to send it to.
    const auto sent = wire::ofKind(wire::commandRecords(), WireKind::FeatureOut);
    if (found) {
        QCOMPARE(sent.size(), 1);
        QCOMPARE(wire::hex(sent.at(0).bytes), QByteArray("00 01 0f 00 00 00 00 00 ef"));
        QCOMPARE(int(vmouse::optionByte()), 0x0F);
    } else {
        QCOMPARE(sent.size(), 0);
    }
}

void TestDeviceLink::shippedList()
{
    const QList<DeviceInfo> list = readDeviceList(QStringLiteral(":/DevInfo.ini"), {});
    QCOMPARE(list.size(), 2);
    QVERIFY(m->hid_FindDevice(1, list.at(1)));
    QCOMPARE(m->task().reportLength, 64u);

    // Entry 0 describes another device; it is found only when that device is attached.
    QVERIFY(!m->hid_FindDevice(0, list.at(0)));
    vmouse::setEntry0Present(true);
    QVERIFY(m->hid_FindDevice(0, list.at(0)));
    QCOMPARE(m->task().commandPath, QString::fromLatin1(vmouse::kEntry0CommandPath));
    QCOMPARE(m->task().inputPath, QString::fromLatin1(vmouse::kEntry0InputPath));
}

void TestDeviceLink::sCode_data()
{
    QTest::addColumn<QString>("sCode");
    QTest::addColumn<bool>("hasCode");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<bool>("blocked");
    QTest::addColumn<QByteArray>("wire01"); // the detection command as sent; empty = nothing sent

    const QByteArray zero = QByteArray(7, '\0').toHex(' ');
    // 01H 0F scrambled with a zero code: see the scrambler vectors for the steps.
    const QByteArray zeroCodeWire("00 65 2d 8d d6 bd 0f c4 37");
    QTest::newRow("empty: plain frames")
        << QString() << false << zero << false << QByteArray("00 01 0f 00 00 00 00 00 ef");
    QTest::newRow("k-vantor: blocked, no I/O")
        << QStringLiteral("k-vantor") << true << zero << true << QByteArray();
    // 01 0F 00 00 00 00 00 EF -> swapped 00 00 EF 00 0F 01 00 00 -> xored 00 41 DE 62 3D 42 33 00
    // -> rotated 02 0E F3 11 EA 11 98 00 -> added 67 34 08 E7 2F 18 5C 37
    QTest::newRow("six characters: scrambled with the code")
        << QStringLiteral("A1b2C3") << true << QByteArray("00 41 31 62 32 43 33") << false
        << QByteArray("00 67 34 08 e7 2f 18 5c 37");
    QTest::newRow("five characters: scrambled with a zero code")
        << QStringLiteral("A1b2C") << true << zero << false << zeroCodeWire;
    QTest::newRow("seven characters: scrambled with a zero code")
        << QStringLiteral("A1b2C3d") << true << zero << false << zeroCodeWire;
}

void TestDeviceLink::sCode()
{
    QFETCH(QString, sCode);
    QFETCH(bool, hasCode);
    QFETCH(QByteArray, code);
    QFETCH(bool, blocked);
    QFETCH(QByteArray, wire01);

    if (sCode.size() == 6)
        vmouse::setCode(sCode.toStdString());
    DeviceInfo entry = wire::virtualMouseEntry();
    entry.sCode = sCode;
    QVERIFY(m->hid_FindDevice(1, entry));
    QCOMPARE(m->task().hasCode, hasCode);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(m->task().code.data()), 7).toHex(' '), code);
    QCOMPARE(m->master()->isBlocked(), blocked);

    const auto commands = wire::commandRecords();
    if (wire01.isEmpty()) {
        QCOMPARE(commands.size(), 0);
    } else {
        const auto sent = wire::ofKind(commands, WireKind::FeatureOut);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(wire::hex(sent.at(0).bytes), wire01);
    }

    if (sCode.size() == 6) {
        // The firmware unscrambled the frame and took the option.
        QCOMPARE(vmouse::badChecksumCount(), 0);
        QCOMPARE(int(vmouse::optionByte()), 0x0F);
    }

    // Any other code clears the block at the next detection.
    vmouse::setCode(std::string());
    QVERIFY(m->hid_FindDevice(1, wire::virtualMouseEntry()));
    QVERIFY(!m->master()->isBlocked());
}

void TestDeviceLink::startTwiceKeepsOneListener()
{
    vmouse::setEntry0Present(true);
    DeviceOpenInfo first = wire::virtualMouse(64, true);
    first.inputPath = QString::fromLatin1(vmouse::kEntry0InputPath);
    const DeviceOpenInfo second = wire::virtualMouse(64, true);

    Slave *slave = m->slave();
    slave->startListener(first, kVendorReportLength);
    slave->startListener(second, kVendorReportLength);
    vmouse::clearWireLog();
    QVERIFY(slave->isListening());
    QTest::qWait(1200);

    // Only the second listener runs, reopening its interface each cycle.
    QCOMPARE(wire::onPath(vmouse::kEntry0InputPath).size(), 0);
    QVERIFY(wire::ofKind(wire::onPath(vmouse::kInputPath), WireKind::Open).size() >= 2);
    QVERIFY(vmouse::openHandleCount() <= 1);

    slave->stopListener();
    QVERIFY(!slave->isRunning());
    QVERIFY(!slave->isListening());
}

void TestDeviceLink::stopNeverStartedReturnsAtOnce()
{
    QElapsedTimer timer;
    timer.start();
    m->slave()->stopListener();
    m.reset();
    // Well under one listener cycle.
    QVERIFY(timer.elapsed() < kListenTimeoutMs);
}

void TestDeviceLink::vendorReports_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<bool>("delivered");

    QTest::newRow("4-byte report: one delivery") << QByteArray::fromHex("01020304") << true;
    QTest::newRow("3-byte report: none") << QByteArray::fromHex("010203") << false;
}

void TestDeviceLink::vendorReports()
{
    QFETCH(QByteArray, report);
    QFETCH(bool, delivered);

    QList<QList<uchar>> received;
    QList<QThread *> threads;
    m->hid_OpenDevice(wire::virtualMouse(64, true));
    connect(m->slave(), &Slave::onVendor, this, [&](const QList<uchar> &bytes) {
        received.append(bytes);
        threads.append(QThread::currentThread());
    });

    vmouse::queueVendorReport(std::vector<std::uint8_t>(report.begin(), report.end()));
    // A report that must not arrive is followed by one that must: the listener reads them in order.
    const QList<uchar> marker = {0xA0, 0xA1, 0xA2, 0xA3};
    if (!delivered)
        vmouse::queueVendorReport({0xA0, 0xA1, 0xA2, 0xA3});

    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 5000);
    const QList<uchar> expected = delivered ? QList<uchar>(report.begin(), report.end()) : marker;
    QCOMPARE(received.at(0), expected);
    QCOMPARE(threads.at(0), QThread::currentThread());
    QTest::qWait(kListenTimeoutMs + 200);
    QCOMPARE(received.size(), 1);
}

void TestDeviceLink::unplugEndsListener()
{
    m->hid_OpenDevice(wire::virtualMouse(64, true));
    Slave *slave = m->slave();
    QVERIFY(slave->isRunning());
    vmouse::setPlugged(false);
    // Generous: the next open fails within one 500 ms cycle.
    QTRY_VERIFY_WITH_TIMEOUT(!slave->isRunning(), 5000);
}

void TestDeviceLink::destructorStopsListener()
{
    m->hid_OpenDevice(wire::virtualMouse(64, true));
    QPointer<Slave> slave = m->slave();
    QPointer<Master> master = m->master();
    QVERIFY(slave->isRunning());

    m.reset();
    QVERIFY(slave);
    QVERIFY(!slave->isRunning());
    QCOMPARE(vmouse::openHandleCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(slave.isNull());
    QVERIFY(master.isNull());
}

void TestDeviceLink::commandsGoOutInOrder()
{
    DeviceLink link(*m);
    QVERIFY(checkNow(link).connected());
    vmouse::clearWireLog();
    const wire::Block block = wire::pattern(3);
    link.sendCurrentProfile(2);
    link.sendFwProfile(1, block);
    link.sendReportRate(8, 1);
    link.sendMacroKey(5, block);
    link.sendKeyMatrix(1, block);
    link.sendDpiStage(3, 1);
    QVERIFY(link.waitUntilIdle());
    QCOMPARE(framesSent().join(QLatin1Char(' ')), QStringLiteral("02 0C 03 0F 0D 04"));
    QCOMPARE(vmouse::currentProfile(), 2);
    QVERIFY(vmouse::profileBlock(1) == wire::toVmouse(block));
    QVERIFY(vmouse::macroBlock(5) == wire::toVmouse(block));
}

void TestDeviceLink::failedCommandMakesTheLinkLook_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("outcome");     // of the check the failure set off
    QTest::addColumn<QString>("notSent"); // what the program hears did not reach the mouse
    QTest::addColumn<QString>("frames");  // every frame offered to a command interface, in order

    // A gun-loop key matrix: profile 0's block, then the matrices of profiles 1 to 4.
    const auto dropped = [](const char *why) {
        QString list = QStringLiteral("0CH (profile 0):Failed");
        for (int p = 1; p <= 4; ++p)
            list += QStringLiteral(", 0DH (profile %1):%2").arg(p).arg(QLatin1String(why));
        return list;
    };
    const QString failedBlock = QStringLiteral("0CH (profile 0):Failed");

    QTest::newRow("unplugged in the middle of the block: the rest is dropped")
        << "unplug" << int(DeviceCheck::Outcome::Absent) << dropped("NoMouse") << "0C";
    // One time-out for the command and one for the check's 01H, never one per queued command.
    QTest::newRow("the mouse stops answering: one time-out per check")
        << "wedge" << int(DeviceCheck::Outcome::NotAnswering) << dropped("NotAnswering") << "0C 01";
    QTest::newRow("one failed exchange: the mouse is still there and takes the rest")
        << "fail once" << int(DeviceCheck::Outcome::Connected) << failedBlock << "0C 01 0D 0D 0D 0D";
    // The old node now belongs to a keyboard; the mouse came back under another one.
    QTest::newRow("the mouse's node went to another device: nothing reaches it")
        << "foreign" << int(DeviceCheck::Outcome::Connected) << failedBlock << "01 0D 0D 0D 0D";
}

void TestDeviceLink::failedCommandMakesTheLinkLook()
{
    QFETCH(QString, fault);
    QFETCH(int, outcome);
    QFETCH(QString, notSent);
    QFETCH(QString, frames);

    DeviceLink link(*m);
    QVERIFY(checkNow(link).connected());
    vmouse::clearWireLog();
    QSignalSpy notSentSpy(&link, &DeviceLink::notSent);
    QSignalSpy checked(&link, &DeviceLink::checked);

    if (fault == QLatin1String("unplug"))
        vmouse::unplugAfterReports(2); // the frame and the first half of the block
    else if (fault == QLatin1String("wedge"))
        vmouse::setWedged(300);
    else if (fault == QLatin1String("fail once"))
        vmouse::failFeatureReports(1);
    else
        vmouse::setForeignDeviceOnMousePaths(true);

    const wire::Block block = wire::pattern(7);
    link.sendFwProfile(0, block);
    for (uchar p = 1; p <= 4; ++p)
        link.sendKeyMatrix(p, block);
    QVERIFY(link.waitUntilIdle());
    QTRY_COMPARE(checked.count(), 1);

    const auto look = checked.constFirst().constFirst().value<DeviceCheck>();
    QVERIFY(look.afterFailedSend);
    QVERIFY(!look.reading);
    QCOMPARE(int(look.outcome), outcome);
    QTRY_COMPARE(notSentText(notSentSpy).join(QStringLiteral(", ")), notSent);
    QCOMPARE(framesSent().join(QLatin1Char(' ')), frames);
    QCOMPARE(vmouse::foreignReportCount(), 0);
    // The block that broke off never replaces the mouse's own.
    QVERIFY(vmouse::profileBlock(0) == vmouse::Block{});
    const bool delivered = look.connected();
    for (int p = 1; p <= 4; ++p)
        QCOMPARE(vmouse::keyMatrix(p) == wire::toVmouse(block), delivered);
}

void TestDeviceLink::commandsWithoutAMouseAreNotTried()
{
    vmouse::setPlugged(false);
    DeviceLink link(*m);
    QCOMPARE(checkNow(link).outcome, DeviceCheck::Outcome::Absent);
    QSignalSpy notSentSpy(&link, &DeviceLink::notSent);
    link.sendCurrentProfile(1);
    link.sendDpiStage(2, 1);
    QVERIFY(link.waitUntilIdle());
    QTRY_COMPARE(notSentText(notSentSpy).join(QStringLiteral(", ")),
                 QStringLiteral("02H (profile 1):NoMouse, 04H (profile 1):NoMouse"));
    QCOMPARE(framesSent(), QStringList());
}

void TestDeviceLink::commandsAskedForGoOutBeforeTheLinkEnds()
{
    vmouse::setUsbTiming(true);
    {
        DeviceLink link(*m);
        QVERIFY(checkNow(link).connected());
        for (uchar p = 1; p <= 3; ++p)
            link.sendFwProfile(p, wire::pattern(p));
    }
    for (uchar p = 1; p <= 3; ++p)
        QVERIFY(vmouse::profileBlock(p) == wire::toVmouse(wire::pattern(p)));
}

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_device_link.moc"
