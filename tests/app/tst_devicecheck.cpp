// The device check of the main window against the virtual mouse.
#include "myqquickview.h"
#include "slave.h"
#include "testrunfolder.h"
#include "vmouse.h"
#include "widget.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

class TestDeviceCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QList<uchar>>("QList<uchar>"); }
    void init() { vmouse::reset(); }

    void detection_data();
    void detection();
    void productNameComesFromTheConfiguration_data();
    void productNameComesFromTheConfiguration();
    void burstOfChangesLeadsToOneCheck();
    void unplugAndReplugAreNoticed();
    void sceneFollowsTheMouse();
    void changesThatMissTheMouseAreSaidOnce();
    void accessHintOncePerRun_data();
    void accessHintOncePerRun();

private:
    static DeviceChangeNotifier &notifier(Widget &window) { return window.m_deviceChanges; }
    static void setAccessProbe(Widget &window, HidAccess (*probe)(const QString &))
    {
        window.m_probeAccess = probe;
    }
};

namespace {

int count(vmouse::WireKind kind)
{
    int n = 0;
    for (const vmouse::WireRecord &record : vmouse::wireLog())
        n += record.kind == kind ? 1 : 0;
    return n;
}

// Runs a device check of the window and waits for its end.
bool checkNow(Widget &window)
{
    QSignalSpy checked(&window, &Widget::deviceChecked);
    window.checkDevice();
    return checked.wait(15000);
}

std::vector<std::uint8_t> firstFeatureOut()
{
    for (const vmouse::WireRecord &record : vmouse::wireLog())
        if (record.kind == vmouse::WireKind::FeatureOut)
            return record.bytes;
    return {};
}

} // namespace

void TestDeviceCheck::detection_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("commandInterface");
    QTest::addColumn<bool>("inputInterface");
    QTest::addColumn<bool>("entry0");
    QTest::addColumn<bool>("found");

    QTest::newRow("mouse attached") << true << true << true << false << true;
    QTest::newRow("nothing attached") << false << true << true << false << false;
    QTest::newRow("only the other listed device") << false << true << true << true << false;
    QTest::newRow("command interface alone") << true << true << false << false << false;
    QTest::newRow("input interface alone") << true << false << true << false << false;
}

void TestDeviceCheck::detection()
{
    QFETCH(bool, plugged);
    QFETCH(bool, commandInterface);
    QFETCH(bool, inputInterface);
    QFETCH(bool, entry0);
    QFETCH(bool, found);

    vmouse::setPlugged(plugged);
    vmouse::setInterfaces(commandInterface, inputInterface);
    vmouse::setEntry0Present(entry0);

    TestRunFolder folder;
    Widget window;
    QSignalSpy checked(&window, &Widget::deviceChecked);
    window.checkDevice();
    QVERIFY(checked.wait(15000));

    QCOMPARE(window.view()->deviceConnected, found);
    QCOMPARE(checked.count(), 1);
    QCOMPARE(checked.at(0).at(0).toBool(), found);
    QCOMPARE(window.protocol().task().commandPath.isEmpty(), !found);
    QCOMPARE(window.protocol().task().inputPath.isEmpty(), !found);
    if (found) {
        // 01H with the option 0x0F goes to a newly found mouse, and the listener watches its input interface.
        const std::vector<std::uint8_t> option{0x00, 0x01, 0x0F, 0, 0, 0, 0, 0, 0xEF};
        QCOMPARE(firstFeatureOut(), option);
        QCOMPARE(vmouse::optionByte(), std::uint8_t(0x0F));
        QTRY_VERIFY(window.protocol().slave()->isListening());
    } else {
        QCOMPARE(count(vmouse::WireKind::FeatureOut), 0);
        QTRY_VERIFY(!window.protocol().slave()->isListening());
    }
}

void TestDeviceCheck::productNameComesFromTheConfiguration_data()
{
    QTest::addColumn<QByteArray>("apConfig");
    QTest::addColumn<QString>("name");
    QTest::newRow("one name per entry")
        << QByteArray("[common]\nproduct_name=Vesk Classic, Vesk HT\n") << "Vesk HT";
    QTest::newRow("list too short") << QByteArray("[common]\nproduct_name=Vesk Classic\n") << QString();
    QTest::newRow("no list") << QByteArray("[common]\nname=x\n") << QString();
}

void TestDeviceCheck::productNameComesFromTheConfiguration()
{
    QFETCH(QByteArray, apConfig);
    QFETCH(QString, name);
    TestRunFolder folder(apConfig);
    Widget window;
    QVERIFY(checkNow(window));
    QCOMPARE(window.protocol().task().productName, name);
}

void TestDeviceCheck::burstOfChangesLeadsToOneCheck()
{
    TestRunFolder folder;
    Widget window;
    QSignalSpy checked(&window, &Widget::deviceChecked);
    for (int i = 0; i < 4; ++i) {
        Q_EMIT notifier(window).devicesChanged();
        QTest::qWait(250);
    }
    QCOMPARE(count(vmouse::WireKind::Enumerate), 0);
    QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 1, 5000);
    QCOMPARE(count(vmouse::WireKind::Enumerate), 1);
    QTest::qWait(300);
    QCOMPARE(checked.count(), 1);
}

void TestDeviceCheck::unplugAndReplugAreNoticed()
{
    TestRunFolder folder;
    Widget window;
    QVERIFY(checkNow(window));
    QVERIFY(window.view()->deviceConnected);
    QTRY_VERIFY(window.protocol().slave()->isListening());

    vmouse::setPlugged(false);
    // Without a mouse the listener's next open fails and it ends by itself within one cycle.
    QTRY_VERIFY_WITH_TIMEOUT(!window.protocol().slave()->isListening(), 2000);
    QVERIFY(checkNow(window));
    QVERIFY(!window.view()->deviceConnected);
    QVERIFY(window.protocol().task().commandPath.isEmpty());

    vmouse::setPlugged(true);
    QVERIFY(checkNow(window));
    QVERIFY(window.view()->deviceConnected);
    QTRY_VERIFY(window.protocol().slave()->isListening());
}

// The window shows before the mouse is read; every check that reads the mouse brings the scene up to date,
// and the scene takes its configuration the first time.
void TestDeviceCheck::sceneFollowsTheMouse()
{
    vmouse::setPlugged(false);
    TestRunFolder folder;
    Widget window;
    window.view()->setSource(QUrl(QStringLiteral("qrc:/test/recorder.qml")));
    QObject *root = window.view()->rootObject();
    QVERIFY(root);
    // Where "run" falls depends on how fast the first check ends; it never waits for it.
    const auto calls = [root] {
        QStringList list = root->property("calls").toStringList();
        list.removeAll(QStringLiteral("run"));
        return list;
    };

    window.checkDevice();
    window.startUi();
    QCOMPARE(root->property("calls").toStringList(), QStringList{QStringLiteral("setDeviceBusy true")});
    QTRY_COMPARE(
        calls(),
        QStringLiteral("setDeviceBusy true|setDeviceBusy false|deviceSynced false").split(QLatin1Char('|')));
    QTRY_VERIFY(root->property("calls").toStringList().contains(QStringLiteral("run")));

    QStringList expected = calls();
    for (bool plugged : {true, false, true}) {
        vmouse::setPlugged(plugged);
        QVERIFY(checkNow(window));
        expected << QStringLiteral("setDeviceBusy true") << QStringLiteral("setDeviceBusy false")
                 << (plugged ? QStringLiteral("deviceSynced true") : QStringLiteral("deviceSynced false"));
        if (plugged && !expected.contains(QStringLiteral("initUI")))
            expected << QStringLiteral("initUI");
        QTRY_COMPARE(calls(), expected);
    }
}

// The mouse vanishes in the middle of a block: the user hears once that the change did not reach it, and once
// that there is no mouse, however many changes follow.
void TestDeviceCheck::changesThatMissTheMouseAreSaidOnce()
{
    TestRunFolder folder;
    Widget window;
    window.view()->setSource(QUrl(QStringLiteral("qrc:/test/recorder.qml")));
    QObject *root = window.view()->rootObject();
    QVERIFY(checkNow(window));
    QVERIFY(window.view()->deviceConnected);

    vmouse::unplugAfterReports(2); // the frame and half the block
    QVariantList stages;
    for (int i = 0; i < 16; ++i)
        stages.append(8);
    for (int i = 0; i < 3; ++i)
        window.view()->vesk_0CH_SetDpi8Stage(stages);
    QVERIFY(window.deviceLink().waitUntilIdle());
    QTRY_VERIFY(!window.view()->deviceConnected);
    QTest::qWait(100);
    QStringList notices = root->property("calls").toStringList().filter(QStringLiteral("deviceNotice"));
    QCOMPARE(notices, QStringLiteral("deviceNotice 0|deviceNotice 1").split(QLatin1Char('|')));
}

namespace {

// What the stand-in access probe answers, and the paths it was asked about.
HidAccess s_access = HidAccess::Granted;
QStringList s_probed;

HidAccess fakeProbe(const QString &path)
{
    s_probed.append(path);
    return s_access;
}

} // namespace

void TestDeviceCheck::accessHintOncePerRun_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<int>("access");
    QTest::addColumn<int>("boxes");

    QTest::newRow("node refuses the user") << true << int(HidAccess::Denied) << 1;
    QTest::newRow("node opens") << true << int(HidAccess::Granted) << 0;
    QTest::newRow("path is no device node") << true << int(HidAccess::NotANode) << 0;
    QTest::newRow("node busy") << true << int(HidAccess::OtherFailure) << 0;
    QTest::newRow("no mouse") << false << int(HidAccess::Denied) << 0;
}

void TestDeviceCheck::accessHintOncePerRun()
{
    QFETCH(bool, plugged);
    QFETCH(int, access);
    QFETCH(int, boxes);
    vmouse::setPlugged(plugged);
    s_access = HidAccess(access);
    s_probed.clear();

    TestRunFolder folder;
    Widget window;
    setAccessProbe(window, &fakeProbe);

    int seen = 0;
    QString text;
    QTimer poll;
    poll.callOnTimeout([&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++seen;
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(50);

    // Two checks, as after a re-plug without the rule: the user hears about it once.
    QSignalSpy checked(&window, &Widget::deviceChecked);
    window.checkDevice();
    window.checkDevice();
    QTRY_COMPARE_WITH_TIMEOUT(checked.count(), 2, 15000);
    QTest::qWait(500);
    QCOMPARE(seen, boxes);
    QCOMPARE(s_probed.size(), plugged ? 2 : 0);
    if (plugged)
        QCOMPARE(s_probed.first(), QString::fromLatin1(vmouse::kCommandPath));
    if (boxes) {
        QVERIFY2(text.contains(QString::fromLatin1(vmouse::kCommandPath)), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("70-vesk-mouse.rules")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("plug it in again")), qPrintable(text));
    }
}

QTEST_MAIN(TestDeviceCheck)
#include "tst_devicecheck.moc"
