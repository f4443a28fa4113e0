// Key and button capture end to end: xdotool makes the X server produce real input, the hooks observe it,
// and the events reach the callbacks, the main window and the scene.
#include "globalinputhook.h"
#include "myqquickview.h"
#include "testrunfolder.h"
#include "widget.h"

#include <QProcess>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

class TestCapture : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void keysArriveAsUsages_data();
    void keysArriveAsUsages();
    void heldKeyIsReportedOnce();
    void buttonsArriveWithThePointerPosition_data();
    void buttonsArriveWithThePointerPosition();
    void keyReachesTheScenesSignal();
    void buttonReachesTheScenesFunction();
    void removedHooksReportNothing();
};

namespace {

QStringList s_reports;

void recordKey(int usage, bool isDown, void *)
{
    s_reports.append(QString::number(usage, 16).rightJustified(2, QLatin1Char('0')) +
                     (isDown ? QLatin1Char('+') : QLatin1Char('-')));
}

void recordMouse(int button, bool isDown, int x, int y, void *)
{
    s_reports.append(QStringLiteral("%1%2@%3,%4")
                         .arg(QString::number(button, 16), isDown ? QStringLiteral("+") : QStringLiteral("-"))
                         .arg(x)
                         .arg(y));
}

bool xdotool(const QString &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments.split(QLatin1Char(' '))) == 0;
}

// Escape is pressed after every action: once its report is in, everything before it has been seen too.
const QString Sentinel = QStringLiteral("29+ 29-");

// Steps separated by "|" run one after the other, each once the previous one has been reported: a button is
// reported where the pointer is when the event is read, which is at once in the running program.
QString reportsUpToTheSentinel(const QString &actions)
{
    const QStringList steps = actions.split(QLatin1Char('|'));
    for (const QString &step : steps) {
        const qsizetype before = s_reports.size();
        if (!xdotool(step.trimmed()))
            return QStringLiteral("xdotool failed: ") + step;
        QDeadlineTimer reported(steps.size() > 1 ? 5000 : 0);
        while (s_reports.size() == before && !reported.hasExpired())
            QTest::qWait(10);
    }
    if (!xdotool(QStringLiteral("key Escape")))
        return QStringLiteral("xdotool failed");
    QDeadlineTimer deadline(10000);
    while (!s_reports.join(QLatin1Char(' ')).endsWith(Sentinel) && !deadline.hasExpired())
        QTest::qWait(10);
    const QString all = s_reports.join(QLatin1Char(' '));
    if (!all.endsWith(Sentinel))
        return QStringLiteral("no sentinel in: ") + all;
    return all.left(all.size() - Sentinel.size()).trimmed();
}

} // namespace

void TestCapture::initTestCase()
{
    qRegisterMetaType<QList<uchar>>("QList<uchar>");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display (the suite runs under xvfb-run)");
    QVERIFY2(xdotool(QStringLiteral("version")), "xdotool is needed");
}

void TestCapture::init()
{
    GlobalInputHook::resetUsageDownState();
    GlobalInputHook::setKeyboardCallback(&recordKey, nullptr);
    GlobalInputHook::setMouseCallback(&recordMouse, nullptr);
    s_reports.clear();
}

void TestCapture::keysArriveAsUsages_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("reported");
    QTest::newRow("letter") << "key a"
                            << "04+ 04-";
    QTest::newRow("shifted letter") << "key shift+a"
                                    << "e1+ 04+ e1- 04-"; // xdotool releases in press order
    QTest::newRow("left ctrl") << "key Control_L"
                               << "e0+ e0-";
    // Right Shift and the right Windows key by X key code: this xdotool picks other keys for their names.
    QTest::newRow("right shift") << "key 62"
                                 << "e5+ e5-";
    QTest::newRow("keypad enter") << "key KP_Enter"
                                  << "58+ 58-";
    QTest::newRow("enter") << "key Return"
                           << "28+ 28-";
    QTest::newRow("pause") << "key Pause"
                           << "48+ 48-";
    QTest::newRow("print screen") << "key Print"
                                  << "46+ 46-";
    QTest::newRow("up arrow") << "key Up"
                              << "52+ 52-";
    QTest::newRow("left windows key") << "key Super_L"
                                      << "e3+ e3-";
    QTest::newRow("right windows key gives nothing") << "key 134"
                                                     << "";
    QTest::newRow("release without a press") << "keyup b"
                                             << "";
}

void TestCapture::keysArriveAsUsages()
{
    QFETCH(QString, actions);
    QFETCH(QString, reported);
    GlobalInputHook hooks(false);
    QCOMPARE(reportsUpToTheSentinel(actions), reported);
}

void TestCapture::heldKeyIsReportedOnce()
{
    GlobalInputHook hooks(false);
    // Longer than the server's auto-repeat delay, so repeats arrive while the key is held.
    QCOMPARE(reportsUpToTheSentinel(QStringLiteral("keydown a sleep 1.2 keyup a")),
             QStringLiteral("04+ 04-"));
}

void TestCapture::buttonsArriveWithThePointerPosition_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("reported");
    QTest::newRow("left") << "mousemove 100 200 click 1"
                          << "f0+@100,200 f0-@100,200";
    QTest::newRow("right") << "mousemove 300 40 click 3"
                           << "f1+@300,40 f1-@300,40";
    QTest::newRow("middle") << "mousemove 5 600 click 2"
                            << "f2+@5,600 f2-@5,600";
    QTest::newRow("held left") << "mousemove 10 20 mousedown 1 | mousemove 50 60 mouseup 1"
                               << "f0+@10,20 f0-@50,60";
    QTest::newRow("wheel") << "mousemove 100 200 click 4 click 5 click 6 click 7"
                           << "";
    QTest::newRow("extra buttons") << "mousemove 100 200 click 8 click 9"
                                   << "";
}

void TestCapture::buttonsArriveWithThePointerPosition()
{
    QFETCH(QString, actions);
    QFETCH(QString, reported);
    GlobalInputHook hooks(false);
    QCOMPARE(reportsUpToTheSentinel(actions), reported);
}

void TestCapture::keyReachesTheScenesSignal()
{
    TestRunFolder folder;
    Widget window;
    QQuickItem *scene = window.view()->rootObject();
    QVERIFY(scene);
    QSignalSpy keys(scene, SIGNAL(msg_KB(bool, int)));
    QVERIFY(keys.isValid());

    GlobalInputHook hooks(false);
    GlobalInputHook::setKeyboardCallback(&Widget::onHookKeyboard, &window);
    QVERIFY(xdotool(QStringLiteral("key a")));
    QTRY_COMPARE(keys.count(), 2);
    QCOMPARE(keys.at(0), (QVariantList{true, 0x04}));
    QCOMPARE(keys.at(1), (QVariantList{false, 0x04}));
}

void TestCapture::buttonReachesTheScenesFunction()
{
    TestRunFolder folder;
    Widget window;
    window.view()->setSource(QUrl(QStringLiteral("qrc:/test/hookrecorder.qml")));
    QQuickItem *scene = window.view()->rootObject();
    QVERIFY(scene);

    GlobalInputHook hooks(false);
    GlobalInputHook::setKeyboardCallback(&Widget::onHookKeyboard, &window);
    GlobalInputHook::setMouseCallback(&Widget::onHookMouse, &window);
    QVERIFY(xdotool(QStringLiteral("mousemove 120 80 click 3 key Tab")));
    const QStringList expected{QStringLiteral("mouse true 241 120 80"),
                               QStringLiteral("mouse false 241 120 80"), QStringLiteral("key true 43"),
                               QStringLiteral("key false 43")};
    QTRY_COMPARE(scene->property("calls").toStringList(), expected);
}

void TestCapture::removedHooksReportNothing()
{
    {
        GlobalInputHook hooks(false);
        GlobalInputHook::removeHooks();
        QVERIFY(xdotool(QStringLiteral("key a click 1")));
        QTest::qWait(300);
    }
    QCOMPARE(s_reports, QStringList());
    // A hook installed again observes again.
    GlobalInputHook hooks(false);
    QCOMPARE(reportsUpToTheSentinel(QStringLiteral("key b")), QStringLiteral("05+ 05-"));
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
