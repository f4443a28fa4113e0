// The synchronisation after a device check, against the virtual mouse: present, absent, and reads that fail.

#include "viewtest.h"

#include <QTest>

#include <memory>

using namespace viewtest;

class TestDeviceSync : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QList<uchar>>("QList<uchar>"); }
    void init();

    void mousePresentIsReadIntoMirrorAndStore();
    void sameCurrentProfileLeavesTheStoreKeyAlone();
    void mouseAbsentSendsNothingAndKeepsTheMatrices();
    void firstStartWithoutMouseShowsTheStoredKeyMatrix();
    void failedReadsKeepTheStore_data();
    void failedReadsKeepTheStore();
};

namespace {

// What the emulated mouse holds: recognisable blocks, rates and stages per profile.
void seedMouse()
{
    for (int p = 0; p < 6; ++p) {
        vmouse::setProfileBlock(p, toVmouse(pattern(100 + p)));
        vmouse::setReportRate(p, std::uint8_t(1 << (p % 4)));
        vmouse::setDpiStage(p, std::uint8_t(p + 2));
    }
    vmouse::setTwinkleType(3);
    vmouse::setCurrentProfile(1);
}

struct Rig
{
    TestRunFolder folder;
    MouseLink mouse;
    std::unique_ptr<myQQuickView> view;

    explicit Rig(const QByteArray &store = QByteArray())
    {
        installStores(store);
        view = std::make_unique<myQQuickView>();
        view->setDeviceLink(&mouse.link);
    }
};

QByteArray storeWithCurrentProfile(int profile)
{
    QByteArray store = readFile(shippedPath(QStringLiteral("setting/p_Vesk.bin")));
    store.replace("curProfile=1", "curProfile=" + QByteArray::number(profile));
    return store;
}

} // namespace

void TestDeviceSync::init()
{
    vmouse::reset();
    seedMouse();
}

void TestDeviceSync::mousePresentIsReadIntoMirrorAndStore()
{
    Rig rig(storeWithCurrentProfile(0));
    myQQuickView &view = *rig.view;
    QCOMPARE(int(view.curProfile), 0);
    for (int p = 1; p < 6; ++p)
        view.matrix_fw[p] = pattern(p, 64);

    QVERIFY(checkDevice(view));

    QVERIFY(view.deviceConnected);
    QCOMPARE(view.vesk_80H_GetFWVersion(), QStringLiteral("1.0A"));
    QCOMPARE(int(view.curProfile), 1);
    QCOMPARE(storeText(view, QStringLiteral("common"), QStringLiteral("curProfile")), QStringLiteral("1"));
    for (int p = 0; p < 6; ++p) {
        QCOMPARE(view.profile_fw[p], pattern(100 + p));
        QVariantList other(128, 0);
        other[0] = p + 2;
        other[1] = 1 << (p % 4);
        if (p == 0)
            other[2] = 3; // the twinkle type lives with profile 0 only
        QCOMPARE(view.other_fw[p], other);
        QCOMPARE(storeText(view, QStringLiteral("profile_fw"), QString::number(p)),
                 listText(pattern(100 + p)));
        QCOMPARE(storeText(view, QStringLiteral("other_fw"), QString::number(p)), listText(other));
    }
    // The key matrices are not read: profile 0's comes from the store, the others stay.
    QCOMPARE(view.matrix_fw[0], storedValue(view, QStringLiteral("matrix_fw/0")));
    for (int p = 1; p < 6; ++p)
        QCOMPARE(view.matrix_fw[p], pattern(p, 64));
    // Nothing but 01H is written to the mouse; 82H, then 8CH, 84H, 83H per profile with 89H after profile 0's
    // 83H, and the firmware version last.
    QCOMPARE(commandNames(commands()),
             QStringLiteral("01:15 82:0 8C:0 84:0 83:0 89:0 8C:1 84:1 83:1 8C:2 84:2 83:2 "
                            "8C:3 84:3 83:3 8C:4 84:4 83:4 8C:5 84:5 83:5 80:0"));
    // The dirty lists play no part.
    QCOMPARE(storeText(view, QStringLiteral("profile_fw"), QStringLiteral("dirty")),
             QStringLiteral("false, false, false, false, false, false"));
}

void TestDeviceSync::sameCurrentProfileLeavesTheStoreKeyAlone()
{
    QByteArray store = readFile(shippedPath(QStringLiteral("setting/p_Vesk.bin")));
    store.replace("[common]\ncurProfile=1\n", "");
    Rig rig(store);
    vmouse::setCurrentProfile(0);
    QVERIFY(checkDevice(*rig.view));
    QCOMPARE(int(rig.view->curProfile), 0);
    QVERIFY(storeText(*rig.view, QStringLiteral("common"), QStringLiteral("curProfile")).isNull());
}

void TestDeviceSync::mouseAbsentSendsNothingAndKeepsTheMatrices()
{
    Rig rig(storeWithCurrentProfile(4));
    myQQuickView &view = *rig.view;
    vmouse::setPlugged(false);
    for (int p = 0; p < 6; ++p) {
        view.matrix_fw[p] = pattern(p, 64);
        view.profile_fw[p] = pattern(p); // changed while the mouse was away, never persisted
    }
    view.curProfile = 2;
    const QByteArray store = readFile(kStorePath);

    QVERIFY(checkDevice(view));

    QVERIFY(!view.deviceConnected);
    QCOMPARE(view.vesk_80H_GetFWVersion(), QStringLiteral("unknown"));
    QVERIFY(commands().isEmpty());
    QCOMPARE(int(view.curProfile), 4);
    for (int p = 0; p < 6; ++p) {
        QCOMPARE(view.matrix_fw[p], pattern(p, 64));
        QCOMPARE(view.profile_fw[p], storedValue(view, QStringLiteral("profile_fw/%1").arg(p)));
        QCOMPARE(view.other_fw[p], storedValue(view, QStringLiteral("other_fw/%1").arg(p)));
    }
    view.profileStore->sync();
    QCOMPARE(readFile(kStorePath), store);
}

void TestDeviceSync::firstStartWithoutMouseShowsTheStoredKeyMatrix()
{
    Rig rig;
    myQQuickView &view = *rig.view;
    vmouse::setPlugged(false);
    QVERIFY(checkDevice(view));
    QVERIFY(view.hasProfileData());
    QCOMPARE(view.matrix_fw[0].size(), 64);
    QCOMPARE(view.matrix_fw[0], storedValue(view, QStringLiteral("matrix_fw/0")));
    QVERIFY(view.matrix_fw[1].isEmpty());
    QCOMPARE(view.vesk_8CH_GetDpi8Stage().size(), 16);
    QCOMPARE(view.vesk_8CH_GetDpi8Stage().at(0).toInt(), 8);
}

void TestDeviceSync::failedReadsKeepTheStore_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("current");      // curProfile afterwards (the store says 0, the mouse 1)
    QTest::addColumn<int>("readProfiles"); // profiles 0..n-1 come from the mouse, the rest from the store
    QTest::addColumn<int>("frames");       // commands that went out: the reading ends at the first failure

    // A mouse that stops answering costs one failed exchange: nothing after it is asked.
    QTest::newRow("01H fails: nothing is read") << "fail 1 feature report" << 0 << 0 << 1;
    // 01H is one report, 82H two; profile 0 is 10 (8CH 4, 84H 2, 83H 2, 89H 2), the others 8 each.
    QTest::newRow("gone before 82H: nothing more is asked") << "unplug after 1 report" << 0 << 0 << 1;
    QTest::newRow("82H's reply stops before its value") << "short reply" << 0 << 0 << 2;
    QTest::newRow("mouse vanishes after profile 2") << "unplug after 29 reports" << 1 << 3 << 12;
    QTest::newRow("mouse vanishes inside profile 0's block") << "unplug after 5 reports" << 1 << 0 << 3;
    QTest::newRow("every read fails") << "unplugged" << 0 << 0 << 0;
}

void TestDeviceSync::failedReadsKeepTheStore()
{
    QFETCH(QString, fault);
    QFETCH(int, current);
    QFETCH(int, readProfiles);
    QFETCH(int, frames);
    Rig rig(storeWithCurrentProfile(0));
    myQQuickView &view = *rig.view;
    // Changes of this session, never persisted: a profile whose reads fail shows the store's values again.
    for (int p = 0; p < 6; ++p)
        view.profile_fw[p] = pattern(p);
    const QByteArray store = readFile(kStorePath);

    if (fault == QLatin1String("fail 1 feature report"))
        vmouse::failFeatureReports(1);
    else if (fault == QLatin1String("short reply"))
        vmouse::shortFeatureReplies(1, 2);
    else if (fault.startsWith(QLatin1String("unplug after ")))
        vmouse::unplugAfterReports(fault.section(QLatin1Char(' '), 2, 2).toInt());
    else
        vmouse::setPlugged(false);

    QVERIFY(checkDevice(view));

    // A mouse that failed on the way counts as absent until the next check: nothing is sent to it.
    QVERIFY(!view.deviceConnected);
    QCOMPARE(commands().size(), frames);

    QCOMPARE(int(view.curProfile), current);
    QCOMPARE(storeText(view, QStringLiteral("common"), QStringLiteral("curProfile")),
             QString::number(current));
    for (int p = 0; p < 6; ++p) {
        const QString n = QString::number(p);
        if (p < readProfiles) {
            QCOMPARE(view.profile_fw[p], pattern(100 + p));
            QCOMPARE(storeText(view, QStringLiteral("profile_fw"), n), listText(pattern(100 + p)));
            QCOMPARE(view.other_fw[p].size(), 128);
        } else {
            QCOMPARE(storeText(view, QStringLiteral("profile_fw"), n),
                     iniText(store, QStringLiteral("profile_fw"), n));
            QCOMPARE(storeText(view, QStringLiteral("other_fw"), n),
                     iniText(store, QStringLiteral("other_fw"), n));
            QCOMPARE(view.profile_fw[p], storedValue(view, QStringLiteral("profile_fw/") + n));
            QCOMPARE(view.other_fw[p], storedValue(view, QStringLiteral("other_fw/") + n));
        }
    }
    if (readProfiles == 0 && current == 0) {
        view.profileStore->sync();
        QCOMPARE(readFile(kStorePath), store);
    }
}

QTEST_MAIN(TestDeviceSync)
#include "tst_devicesync.moc"
