// The device check of the main window against the virtual mouse.
#include "myqquickview.h"
#include "slave.h"
#include "testrunfolder.h"
#include "vmouse.h"
#include "widget.h"

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
    void startUpWithTheMouseInitialisesTheSceneFirst();

private:
    static DeviceChangeNotifier &notifier(Widget &window) { return window.m_deviceChanges; }
};

namespace {

int count(vmouse::WireKind kind)
{
    int n = 0;
    for (const vmouse::WireRecord &record : vmouse::wireLog())
        n += record.kind == kind ? 1 : 0;
    return n;
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
    window.checkDevice();
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
    window.checkDevice();
    QVERIFY(window.view()->deviceConnected);
    QTRY_VERIFY(window.protocol().slave()->isListening());

    vmouse::setPlugged(false);
    // Without a mouse the listener's next open fails and it ends by itself within one cycle.
    QTRY_VERIFY_WITH_TIMEOUT(!window.protocol().slave()->isListening(), 2000);
    window.checkDevice();
    QVERIFY(!window.view()->deviceConnected);
    QVERIFY(window.protocol().task().commandPath.isEmpty());

    vmouse::setPlugged(true);
    window.checkDevice();
    QVERIFY(window.view()->deviceConnected);
    QTRY_VERIFY(window.protocol().slave()->isListening());
}

void TestDeviceCheck::startUpWithTheMouseInitialisesTheSceneFirst()
{
    TestRunFolder folder;
    Widget window;
    window.view()->setSource(QUrl(QStringLiteral("qrc:/test/recorder.qml")));
    QObject *root = window.view()->rootObject();
    QVERIFY(root);

    window.checkDevice();
    window.startUi();
    QTRY_COMPARE(root->property("calls").toStringList(),
                 (QStringList{QStringLiteral("initUI"), QStringLiteral("run")}));
}

QTEST_MAIN(TestDeviceCheck)
#include "tst_devicecheck.moc"
