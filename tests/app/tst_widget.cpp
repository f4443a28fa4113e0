#include "myqquickview.h"
#include "testrunfolder.h"
#include "ui_controler.h"
#include "vmouse.h"
#include "widget.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

class TestWidget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QList<uchar>>("QList<uchar>"); }

    void windowIsTheFramelessSceneSize();
    void titleComesFromTheConfiguration_data();
    void titleComesFromTheConfiguration();
    void startShowsTheSceneBeforeTheMouseIsRead_data();
    void startShowsTheSceneBeforeTheMouseIsRead();
    void deviceChangesAreDebounced();
    void controlerMovesTheWindow_data();
    void controlerMovesTheWindow();
    void busyGuardDisablesTheSceneForItsInterval();
    void busyGuardWithoutIntervalEndsAtTheNextTimerRun();
    void busyGuardRestartsWithTheNewInterval();
    void onMinimizeClosesTheWindow();
    void copyDataShowsOnePlainTextBox();
    void copyDataWithoutWindowOrTextShowsNothing_data();
    void copyDataWithoutWindowOrTextShowsNothing();

private:
    static QTimer &checkTimer(Widget &window) { return window.checkTimer; }
    static DeviceChangeNotifier &notifier(Widget &window) { return window.m_deviceChanges; }
};

namespace {

// Closes every message box that appears while it lives and reports what the last one showed.
struct BoxWatcher
{
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::StandardButtons buttons;
    int seen = 0;
    QTimer poll;

    BoxWatcher()
    {
        poll.callOnTimeout([this] { look(); });
        poll.start(50);
    }

    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ++seen;
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    }
};

} // namespace

void TestWidget::windowIsTheFramelessSceneSize()
{
    TestRunFolder folder;
    Widget window;
    QCOMPARE(window.size(), QSize(1000, 600));
    QCOMPARE(window.objectName(), QStringLiteral("Widget"));
    QCOMPARE(window.view()->objectName(), QStringLiteral("ui_View"));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window.windowFlags() & Qt::Window);
    QVERIFY(window.testAttribute(Qt::WA_TranslucentBackground));
    QCOMPARE(window.view()->status(), QQuickWidget::Ready);
    QVERIFY(window.view()->rootObject());
    QVERIFY2(!window.view()->rootObject()->isVisible(), "the scene stays hidden until it is run");
}

void TestWidget::titleComesFromTheConfiguration_data()
{
    QTest::addColumn<QByteArray>("apConfig");
    QTest::addColumn<QString>("title");
    QTest::newRow("name present") << QByteArray("[common]\nname=Vesk Test Title\n") << "Vesk Test Title";
    QTest::newRow("name missing") << QByteArray("[common]\ntotal=0\n") << QString();
    QTest::newRow("file missing") << QByteArray() << QString();
    QTest::newRow("unparsable file") << QByteArray("\x01\x02garbage[[[\n") << QString();
}

void TestWidget::titleComesFromTheConfiguration()
{
    QFETCH(QByteArray, apConfig);
    QFETCH(QString, title);
    TestRunFolder folder(apConfig);
    Widget window;
    QCOMPARE(window.windowTitle(), title);
}

void TestWidget::startShowsTheSceneBeforeTheMouseIsRead_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QStringList>("calls");
    // Where "run" falls among them depends on how fast the check ends; it never waits for it.
    QTest::newRow("mouse found") << true
                                 << QStringLiteral(
                                        "setDeviceBusy true|setDeviceBusy false|deviceSynced true|initUI")
                                        .split(QLatin1Char('|'));
    QTest::newRow("no mouse") << false
                              << QStringLiteral("setDeviceBusy true|setDeviceBusy false|deviceSynced false")
                                     .split(QLatin1Char('|'));
}

void TestWidget::startShowsTheSceneBeforeTheMouseIsRead()
{
    QFETCH(bool, connected);
    QFETCH(QStringList, calls);
    vmouse::reset();
    vmouse::setPlugged(connected);
    TestRunFolder folder;
    Widget window;
    window.view()->setSource(QUrl(QStringLiteral("qrc:/test/recorder.qml")));
    QObject *root = window.view()->rootObject();
    QVERIFY(root);

    window.checkDevice();
    window.startUi();
    // The scene rests at once; "run" is queued and does not wait for the mouse to be read.
    QCOMPARE(root->property("calls").toStringList(), QStringList{QStringLiteral("setDeviceBusy true")});
    const auto withoutRun = [root] {
        QStringList list = root->property("calls").toStringList();
        list.removeAll(QStringLiteral("run"));
        return list;
    };
    QTRY_COMPARE(withoutRun(), calls);
    QCOMPARE(root->property("calls").toStringList().count(QStringLiteral("run")), 1);
}

void TestWidget::deviceChangesAreDebounced()
{
    TestRunFolder folder;
    Widget window;
    QSignalSpy checks(&checkTimer(window), &QTimer::timeout);
    QVERIFY(!checkTimer(window).isActive());

    for (int i = 0; i < 3; ++i) {
        Q_EMIT notifier(window).devicesChanged();
        QTest::qWait(400);
    }
    Q_EMIT notifier(window).devicesChanged();
    QVERIFY(checkTimer(window).isSingleShot());
    QCOMPARE(checkTimer(window).interval(), Widget::DeviceCheckDelayMs);
    QVERIFY2(checkTimer(window).remainingTime() > 1500, "the last change restarts the whole delay");
    QCOMPARE(checks.count(), 0);

    QTRY_COMPARE_WITH_TIMEOUT(checks.count(), 1, 5000);
    QTest::qWait(300);
    QCOMPARE(checks.count(), 1);
}

void TestWidget::controlerMovesTheWindow_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::newRow("nothing") << 0 << 0;
    QTest::newRow("right and down") << 25 << 40;
    QTest::newRow("left and up, off screen") << -500 << -300;
}

void TestWidget::controlerMovesTheWindow()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    TestRunFolder folder;
    Widget window;
    window.move(200, 150);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();

    window.controler()->onXChanged(dx);
    window.controler()->onYChanged(dy);
    QTRY_COMPARE(window.pos(), start + QPoint(dx, dy));
}

void TestWidget::busyGuardDisablesTheSceneForItsInterval()
{
    TestRunFolder folder;
    Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.controler()->setBusy(800);
    QVERIFY2(!window.view()->isEnabled(), "the guard takes hold before setBusy returns");
    QTest::qWait(300);
    QVERIFY(!window.view()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(window.view()->isEnabled(), 3000);
}

void TestWidget::busyGuardWithoutIntervalEndsAtTheNextTimerRun()
{
    TestRunFolder folder;
    Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.controler()->setBusy();
    QVERIFY(!window.view()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(window.view()->isEnabled(), 1000);
}

void TestWidget::busyGuardRestartsWithTheNewInterval()
{
    TestRunFolder folder;
    Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    window.controler()->setBusy(60000);
    window.controler()->setBusy(200);
    QTRY_VERIFY_WITH_TIMEOUT(window.view()->isEnabled(), 3000);
}

void TestWidget::onMinimizeClosesTheWindow()
{
    TestRunFolder folder;
    Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Closing the only top-level window is what ends the event loop; the whole program is checked end to end.
    window.controler()->onMinimize();
    QVERIFY(!window.isVisible());
    QVERIFY2(!window.isMinimized(), "the window is closed rather than minimised");
}

void TestWidget::copyDataShowsOnePlainTextBox()
{
    TestRunFolder folder;
    Widget window;
    const QByteArray text = "<b>Firmware</b> update ready \xE2\x9C\x93";
    const CopyDataRecord record{CopyDataTextTag, quint32(text.size()), text.constData()};

    BoxWatcher watcher;
    Widget::onCopyData(record, &window);
    QCOMPARE(watcher.seen, 1);
    QCOMPARE(watcher.title, QStringLiteral("Vesk Test Title"));
    QCOMPARE(watcher.text, QString::fromUtf8(text));
    QCOMPARE(watcher.format, Qt::PlainText);
    QCOMPARE(watcher.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void TestWidget::copyDataWithoutWindowOrTextShowsNothing_data()
{
    QTest::addColumn<bool>("withWindow");
    QTest::addColumn<quint32>("tag");
    QTest::addColumn<int>("extraLength");
    QTest::newRow("no context") << false << quint32(CopyDataTextTag) << 0;
    QTest::newRow("terminator counted") << true << quint32(CopyDataTextTag) << 1;
    QTest::newRow("other tag") << true << quint32(0x2510) << 0;
}

void TestWidget::copyDataWithoutWindowOrTextShowsNothing()
{
    QFETCH(bool, withWindow);
    QFETCH(quint32, tag);
    QFETCH(int, extraLength);
    TestRunFolder folder;
    Widget window;
    const QByteArray text("hello"); // stays zero-terminated one past its size
    const CopyDataRecord record{tag, quint32(text.size() + extraLength), text.constData()};

    BoxWatcher watcher;
    Widget::onCopyData(record, withWindow ? &window : nullptr);
    QTest::qWait(200);
    QCOMPARE(watcher.seen, 0);
}

QTEST_MAIN(TestWidget)
#include "tst_widget.moc"
