// The four pointer settings of the sensor page: what reaches the system and what the profile records.
#include "files.h"
#include "myqquickview.h"
#include "testrunfolder.h"

#include <QSettings>
#include <QTest>

using namespace support;

namespace {

// Stands in for the system: records every call and refuses what it is told to.
struct FakeSystem
{
    QStringList calls;
    PointerSettings::MouseParams params{6, 10, 0};
    bool refuseRead = false;
    bool refuseWrites = false;
};

class FakePointerSettings : public PointerSettings
{
public:
    explicit FakePointerSettings(FakeSystem &system)
        : m_system(system)
    {}

    bool mouseParams(MouseParams &params) override
    {
        m_system.calls.append(QStringLiteral("get mouse"));
        if (m_system.refuseRead)
            return false;
        params = m_system.params;
        return true;
    }
    bool setMouseParams(const MouseParams &params) override
    {
        return call(QStringLiteral("mouse %1 %2 %3")
                        .arg(params.threshold1)
                        .arg(params.threshold2)
                        .arg(params.acceleration));
    }
    bool setMouseSpeed(int speed) override { return call(QStringLiteral("speed %1").arg(speed)); }
    bool setWheelScrollLines(unsigned lines) override { return call(QStringLiteral("lines %1").arg(lines)); }
    bool setDoubleClickTime(unsigned milliseconds) override
    {
        return call(QStringLiteral("double-click %1").arg(milliseconds));
    }

private:
    bool call(const QString &what)
    {
        m_system.calls.append(what);
        return !m_system.refuseWrites;
    }
    FakeSystem &m_system;
};

enum Setter { CursorSpeed, ScrollLines, DoubleClick };

void set(myQQuickView &view, Setter setter, uint value)
{
    switch (setter) {
    case CursorSpeed:
        return view.setCursorSpeed(value);
    case ScrollLines:
        return view.setVerticalScrollLines(value);
    case DoubleClick:
        return view.setDoubleClickSpeed(value);
    }
}

uint get(myQQuickView &view, Setter setter)
{
    switch (setter) {
    case CursorSpeed:
        return view.getCursorSpeed();
    case ScrollLines:
        return view.getVerticalScrollLines();
    case DoubleClick:
        return view.getDoubleClickSpeed();
    }
    return 0;
}

const char *failureMessage(Setter setter)
{
    static const char *const messages[] = {"setCursorSpeed Failed", "setVerticalScrollLines Failed",
                                           "setDoubleClickSpeed Failed"};
    return messages[setter];
}

QStringList words(const char *spaceSeparated)
{
    return QString::fromLatin1(spaceSeparated).split(u' ');
}

QStringList recorded(myQQuickView &view, int profile)
{
    return texts(view.profileStore->value(QStringLiteral("profile_sw/%1").arg(profile)).toList());
}

} // namespace

class TestPointer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void setters_data();
    void setters();
    void refusedSettingIsStillRecorded_data();
    void refusedSettingIsStillRecorded();
    void accelerationKeepsTheThresholds_data();
    void accelerationKeepsTheThresholds();
    void gettersFollowTheCurrentProfile();
    void incompleteOrDamagedLists_data();
    void incompleteOrDamagedLists();
    void storeHoldsThePageIndices();

private:
    std::unique_ptr<TestRunFolder> m_folder;
    std::unique_ptr<myQQuickView> m_view;
    FakeSystem m_system;
};

void TestPointer::init()
{
    m_folder = std::make_unique<TestRunFolder>();
    writeFile(QStringLiteral("modules/setting/p_Vesk.bin"),
              "[profile_sw]\n0=false, 5, 2, 5\n1=false, 5, 2, 5\n2=true, 1, 1, 1\n");
    m_system = FakeSystem();
    m_view = std::make_unique<myQQuickView>();
    m_view->setPointerSettings(std::make_unique<FakePointerSettings>(m_system));
}

void TestPointer::cleanup()
{
    m_view.reset();
    m_folder.reset();
}

void TestPointer::setters_data()
{
    QTest::addColumn<int>("setter");
    QTest::addColumn<uint>("index");
    QTest::addColumn<QString>("systemCall");
    QTest::addColumn<uint>("stored");

    QTest::newRow("cursor speed 0 is the slowest, 1")
        << int(CursorSpeed) << 0u << QStringLiteral("speed 1") << 0u;
    QTest::newRow("cursor speed 5 is the default, 10")
        << int(CursorSpeed) << 5u << QStringLiteral("speed 10") << 5u;
    QTest::newRow("cursor speed 10 is the fastest, 20")
        << int(CursorSpeed) << 10u << QStringLiteral("speed 20") << 10u;
    QTest::newRow("cursor speed 11 is taken as 10")
        << int(CursorSpeed) << 11u << QStringLiteral("speed 20") << 10u;
    QTest::newRow("cursor speed 2^32-1 is taken as 10")
        << int(CursorSpeed) << 0xFFFFFFFFu << QStringLiteral("speed 20") << 10u;
    QTest::newRow("scroll index 0 is one line") << int(ScrollLines) << 0u << QStringLiteral("lines 1") << 0u;
    QTest::newRow("scroll index 2 is three lines")
        << int(ScrollLines) << 2u << QStringLiteral("lines 3") << 2u;
    QTest::newRow("scroll index 10 is eleven lines")
        << int(ScrollLines) << 10u << QStringLiteral("lines 11") << 10u;
    QTest::newRow("double-click 0 is 900 ms")
        << int(DoubleClick) << 0u << QStringLiteral("double-click 900") << 0u;
    QTest::newRow("double-click 5 is 550 ms")
        << int(DoubleClick) << 5u << QStringLiteral("double-click 550") << 5u;
    QTest::newRow("double-click 10 is 200 ms")
        << int(DoubleClick) << 10u << QStringLiteral("double-click 200") << 10u;
    QTest::newRow("double-click 13 does not wrap around")
        << int(DoubleClick) << 13u << QStringLiteral("double-click 200") << 10u;
}

void TestPointer::setters()
{
    QFETCH(int, setter);
    QFETCH(uint, index);
    QFETCH(QString, systemCall);
    QFETCH(uint, stored);

    set(*m_view, Setter(setter), index);
    QCOMPARE(m_system.calls, QStringList{systemCall});
    QCOMPARE(get(*m_view, Setter(setter)), stored);
    QCOMPARE(recorded(*m_view, 0).at(setter + 1), QString::number(stored));
}

void TestPointer::refusedSettingIsStillRecorded_data()
{
    QTest::addColumn<int>("setter");
    QTest::newRow("cursor speed") << int(CursorSpeed);
    QTest::newRow("scroll lines") << int(ScrollLines);
    QTest::newRow("double-click") << int(DoubleClick);
}

void TestPointer::refusedSettingIsStillRecorded()
{
    QFETCH(int, setter);
    m_system.refuseWrites = true;
    QTest::ignoreMessage(QtDebugMsg, failureMessage(Setter(setter)));
    set(*m_view, Setter(setter), 8);
    QCOMPARE(m_system.calls.size(), 1);
    QCOMPARE(get(*m_view, Setter(setter)), 8u);
}

void TestPointer::accelerationKeepsTheThresholds_data()
{
    QTest::addColumn<bool>("acceleration");
    QTest::addColumn<bool>("refuseRead");
    QTest::addColumn<bool>("refuseWrite");
    QTest::addColumn<QStringList>("calls");

    const QString get = QStringLiteral("get mouse");
    QTest::newRow("on") << true << false << false << QStringList{get, QStringLiteral("mouse 6 10 1")};
    QTest::newRow("off") << false << false << false << QStringList{get, QStringLiteral("mouse 6 10 0")};
    QTest::newRow("refused read skips the write") << true << true << false << QStringList{get};
    QTest::newRow("refused write") << true << false << true
                                   << QStringList{get, QStringLiteral("mouse 6 10 1")};
}

void TestPointer::accelerationKeepsTheThresholds()
{
    QFETCH(bool, acceleration);
    QFETCH(bool, refuseRead);
    QFETCH(bool, refuseWrite);
    QFETCH(QStringList, calls);

    m_system.params = {6, 10, acceleration ? 0 : 1};
    m_system.refuseRead = refuseRead;
    m_system.refuseWrites = refuseWrite;
    if (refuseRead || refuseWrite)
        QTest::ignoreMessage(QtDebugMsg, "setAcceleration Failed");
    m_view->setAcceleration(acceleration);
    QCOMPARE(m_system.calls, calls);
    QCOMPARE(m_view->getAcceleration(), acceleration);
}

void TestPointer::gettersFollowTheCurrentProfile()
{
    m_view->curProfile = 1;
    m_view->setCursorSpeed(3);
    m_view->setAcceleration(true);
    m_view->curProfile = 2;
    m_view->setCursorSpeed(7);

    // The system keeps the last value set; each profile keeps its own record.
    QCOMPARE(m_system.calls.last(), QStringLiteral("speed 14"));
    QCOMPARE(m_view->getCursorSpeed(), 7u);
    QCOMPARE(m_view->getDoubleClickSpeed(), 1u);
    m_view->curProfile = 1;
    QCOMPARE(m_view->getCursorSpeed(), 3u);
    QCOMPARE(m_view->getAcceleration(), true);
    QCOMPARE(m_view->getDoubleClickSpeed(), 5u);
    QCOMPARE(recorded(*m_view, 0), (QStringList{QStringLiteral("false"), QStringLiteral("5"),
                                                QStringLiteral("2"), QStringLiteral("5")}));
}

void TestPointer::incompleteOrDamagedLists_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QStringList>("read"); // acceleration, cursor, scroll, double-click
    QTest::addColumn<QStringList>("afterSettingDoubleClick4");

    QTest::newRow("no list: the page's starting values")
        << QByteArray() << words("false 5 2 5") << words("false 5 2 4");
    QTest::newRow("two entries: the rest are starting values")
        << QByteArray("true, 7") << words("true 7 2 5") << words("true 7 2 4");
    QTest::newRow("five entries: the fifth is kept")
        << QByteArray("true, 1, 2, 3, extra") << words("true 1 2 3") << words("true 1 2 4 extra");
    QTest::newRow("not a list") << QByteArray("seven") << words("false 5 2 5") << words("false 5 2 4");
    QTest::newRow("index above 10 reads as 10, text as 0")
        << QByteArray("false, 99, abc, 5") << words("false 10 0 5") << words("false 99 abc 4");
}

void TestPointer::incompleteOrDamagedLists()
{
    QFETCH(QByteArray, list);
    QFETCH(QStringList, read);
    QFETCH(QStringList, afterSettingDoubleClick4);

    m_view.reset();
    writeFile(QStringLiteral("modules/setting/p_Vesk.bin"),
              list.isNull() ? QByteArray() : "[profile_sw]\n3=" + list + "\n");
    m_view = std::make_unique<myQQuickView>();
    m_view->setPointerSettings(std::make_unique<FakePointerSettings>(m_system));
    m_view->curProfile = 3;

    QCOMPARE(QStringList({QVariant(m_view->getAcceleration()).toString(),
                          QString::number(m_view->getCursorSpeed()),
                          QString::number(m_view->getVerticalScrollLines()),
                          QString::number(m_view->getDoubleClickSpeed())}),
             read);
    m_view->setDoubleClickSpeed(4);
    QCOMPARE(recorded(*m_view, 3), afterSettingDoubleClick4);
}

void TestPointer::storeHoldsThePageIndices()
{
    m_view->setAcceleration(true);
    m_view->setCursorSpeed(0);
    m_view->setVerticalScrollLines(10);
    m_view->setDoubleClickSpeed(7);
    m_view->profileStore->sync();
    QVERIFY(readFile(QStringLiteral("modules/setting/p_Vesk.bin")).contains("\n0=true, 0, 10, 7\n"));
}

QTEST_MAIN(TestPointer)
#include "tst_pointer.moc"
