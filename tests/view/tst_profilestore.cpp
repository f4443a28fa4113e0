// The working store and its defaults: what construction reads, what the dirty rules write, reload and store,
// and the factory values shipped with the program.

#include "viewtest.h"

#include <QSettings>
#include <QTest>

#include <set>

using namespace viewtest;

class TestProfileStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QList<uchar>>("QList<uchar>"); }

    void constructionNormalisesDirtyLists_data();
    void constructionNormalisesDirtyLists();
    void constructionReadsTheCurrentProfile_data();
    void constructionReadsTheCurrentProfile();
    void unparsableStoreIsKeptAside_data();
    void unparsableStoreIsKeptAside();
    void earlierCopiesAsideAreNeverReplaced();
    void dirtyRules_data();
    void dirtyRules();
    void dirtyOperationsRefuse_data();
    void dirtyOperationsRefuse();
    void defaults_data();
    void defaults();
    void reloadWithAMissingKey();
    void storeAllProfilesWritesTwelveLists();
    void shippedDefaultsHoldFactoryValues();
    void shippedWorkingStoreIsTheDefaultsWithACleanState();
};

namespace {

const QString kSixFalse = QStringLiteral("false, false, false, false, false, false");

QVariantList flags(std::initializer_list<bool> values)
{
    QVariantList list;
    for (bool v : values)
        list.append(v);
    return list;
}

QVariantList asBools(const QVariantList &list)
{
    QVariantList out;
    for (const QVariant &v : list)
        out.append(v.toBool());
    return out;
}

QVariantList listOf(const QSettings &file, const QString &key)
{
    return asInts(file.value(key).toList());
}

} // namespace

void TestProfileStore::constructionNormalisesDirtyLists_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QVariantList>("dirty");

    const QVariantList sixFalse = flags({false, false, false, false, false, false});
    QTest::newRow("no dirty keys") << QByteArray("[common]\ncurProfile=1\n") << sixFalse;
    QTest::newRow("six entries kept as they are")
        << QByteArray("[profile_fw]\ndirty=true, false, true, false, false, true\n")
        << flags({true, false, true, false, false, true});
    QTest::newRow("seven entries keep the tail")
        << QByteArray("[profile_fw]\ndirty=true, true, true, true, true, true, true\n")
        << flags({false, false, false, false, false, false, true});
    QTest::newRow("three entries extended")
        << QByteArray("[profile_fw]\ndirty=true, true, true\n") << sixFalse;
    QTest::newRow("a single text") << QByteArray("[profile_fw]\ndirty=true\n") << sixFalse;
}

void TestProfileStore::constructionNormalisesDirtyLists()
{
    QFETCH(QByteArray, store);
    QFETCH(QVariantList, dirty);
    TestRunFolder folder;
    writeFile(kStorePath, store);
    {
        myQQuickView view;
        QCOMPARE(asBools(view.profileDirty), dirty);
        // The other two kinds are missing in every row.
        QCOMPARE(asBools(view.matrixDirty), flags({false, false, false, false, false, false}));
        QCOMPARE(view.otherDirty.size(), 6);
        // Read, never written back at construction.
    }
    QCOMPARE(readFile(kStorePath), store);
}

void TestProfileStore::constructionReadsTheCurrentProfile_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<int>("current");
    QTest::newRow("stored 5") << QByteArray("[common]\ncurProfile=5\n") << 5;
    QTest::newRow("missing") << QByteArray("[other_fw]\n0=1, 2, 3\n") << 0;
    QTest::newRow("no store at all") << QByteArray() << 0;
    QTest::newRow("6 is not a profile") << QByteArray("[common]\ncurProfile=6\n") << 0;
    QTest::newRow("260 is not profile 4") << QByteArray("[common]\ncurProfile=260\n") << 0;
    QTest::newRow("not a number") << QByteArray("[common]\ncurProfile=one\n") << 0;
}

void TestProfileStore::constructionReadsTheCurrentProfile()
{
    QFETCH(QByteArray, store);
    QFETCH(int, current);
    TestRunFolder folder;
    if (!store.isNull())
        writeFile(kStorePath, store);
    myQQuickView view;
    QCOMPARE(int(view.curProfile), current);
    // Every accessor relies on it naming a profile.
    QCOMPARE(view.vesk_8CH_GetDpi8Stage().size(), 16);
}

void TestProfileStore::unparsableStoreIsKeptAside_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<bool>("keptAside");
    QTest::newRow("broken section header")
        << QByteArray("[common\ncurProfile=1\n[profile_fw]\n0=1, 2\n") << true;
    QTest::newRow("no key at all") << QByteArray("garbage without structure\n") << true;
    QTest::newRow("binary noise") << QByteArray("\x01\x02\xff\xfe\x00\x10", 6) << true;
    QTest::newRow("a sound store") << QByteArray("[common]\ncurProfile=1\n") << false;
}

void TestProfileStore::unparsableStoreIsKeptAside()
{
    QFETCH(QByteArray, store);
    QFETCH(bool, keptAside);
    TestRunFolder folder;
    writeFile(kStorePath, store);
    const QString aside = kStorePath + QStringLiteral(".corrupt");
    {
        myQQuickView view;
        QCOMPARE(QFile::exists(aside), keptAside);
        // The first write replaces the store with what the settings class made of it; the copy stays.
        view.matrix_fw[0] = pattern(1, 64);
        view.vesk_SetDirty_Matrix(0);
    }
    if (keptAside)
        QCOMPARE(readFile(aside), store);
    QVERIFY(!readFile(kStorePath).isEmpty());
}

void TestProfileStore::earlierCopiesAsideAreNeverReplaced()
{
    TestRunFolder folder;
    const QString aside = kStorePath + QStringLiteral(".corrupt");
    const QByteArray first("[first\n");
    const QByteArray second("[second\n");
    writeFile(kStorePath, first);
    {
        myQQuickView view;
    }
    {
        myQQuickView view;
    } // the same damage again: no second copy
    QVERIFY(!QFile::exists(aside + QStringLiteral(".1")));
    writeFile(kStorePath, second);
    {
        myQQuickView view;
    }
    QCOMPARE(readFile(aside), first);
    QCOMPARE(readFile(aside + QStringLiteral(".1")), second);
}

void TestProfileStore::dirtyRules_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("written");

    QTest::newRow("profile block, mouse present: persisted") << "profile_fw" << true << true;
    QTest::newRow("profile block, no mouse: memory only") << "profile_fw" << false << false;
    QTest::newRow("key matrix, mouse present: persisted") << "matrix_fw" << true << true;
    QTest::newRow("key matrix, no mouse: persisted") << "matrix_fw" << false << true;
    QTest::newRow("other values, mouse present: memory only") << "other_fw" << true << false;
    QTest::newRow("other values, no mouse: persisted") << "other_fw" << false << true;
}

void TestProfileStore::dirtyRules()
{
    QFETCH(QString, group);
    QFETCH(bool, connected);
    QFETCH(bool, written);
    TestRunFolder folder;
    installStores();
    const QByteArray before = readFile(kStorePath);

    myQQuickView view;
    view.deviceConnected = connected;
    const int length = group == QLatin1String("matrix_fw") ? 64 : 128;
    const QVariantList changed = pattern(9, length);
    QVariantList *lists = group == QLatin1String("profile_fw")  ? view.profile_fw
                          : group == QLatin1String("matrix_fw") ? view.matrix_fw
                                                                : view.other_fw;
    QVariantList &dirty = group == QLatin1String("profile_fw")  ? view.profileDirty
                          : group == QLatin1String("matrix_fw") ? view.matrixDirty
                                                                : view.otherDirty;
    lists[2] = changed;
    const QByteArray op = group == QLatin1String("profile_fw")  ? "vesk_SetDirty_Profile"
                          : group == QLatin1String("matrix_fw") ? "vesk_SetDirty_Matrix"
                                                                : "vesk_SetDirty_Other";
    QVERIFY(QMetaObject::invokeMethod(&view, op.constData(), Q_ARG(uchar, 2)));

    QCOMPARE(dirty.at(2).toBool(), written);
    view.profileStore->sync();
    if (!written) {
        QCOMPARE(readFile(kStorePath), before);
        return;
    }
    QCOMPARE(storeText(view, group, QStringLiteral("2")), listText(changed));
    // The whole six-entry list of its kind, and nothing of the other kinds.
    QCOMPARE(storeText(view, group, QStringLiteral("dirty")),
             QStringLiteral("false, false, true, false, false, false"));
    for (const QString &other :
         {QStringLiteral("profile_fw"), QStringLiteral("matrix_fw"), QStringLiteral("other_fw")}) {
        if (other != group)
            QCOMPARE(storeText(view, other, QStringLiteral("dirty")), kSixFalse);
    }
    QCOMPARE(storeText(view, group, QStringLiteral("3")), iniText(before, group, QStringLiteral("3")));
}

void TestProfileStore::dirtyOperationsRefuse_data()
{
    QTest::addColumn<QByteArray>("operation");
    QTest::addColumn<int>("profile");
    QTest::addColumn<bool>("emptyList");
    QTest::newRow("profile index 6") << QByteArray("vesk_SetDirty_Matrix") << 6 << false;
    QTest::newRow("profile index 255") << QByteArray("vesk_SetDirty_Profile") << 255 << false;
    QTest::newRow("matrix never filled") << QByteArray("vesk_SetDirty_Matrix") << 3 << true;
    QTest::newRow("block never filled") << QByteArray("vesk_SetDirty_Profile") << 1 << true;
    QTest::newRow("other values never filled") << QByteArray("vesk_SetDirty_Other") << 4 << true;
}

void TestProfileStore::dirtyOperationsRefuse()
{
    QFETCH(QByteArray, operation);
    QFETCH(int, profile);
    QFETCH(bool, emptyList);
    TestRunFolder folder;
    installStores();
    const QByteArray before = readFile(kStorePath);
    myQQuickView view;
    view.deviceConnected = operation != "vesk_SetDirty_Other";
    for (int p = 0; p < 6; ++p) {
        view.profile_fw[p] = emptyList ? QVariantList() : pattern(p);
        view.matrix_fw[p] = emptyList ? QVariantList() : pattern(p, 64);
        view.other_fw[p] = emptyList ? QVariantList() : numbers({1, 1, 0});
    }
    QVERIFY(QMetaObject::invokeMethod(&view, operation.constData(), Q_ARG(uchar, uchar(profile))));
    view.profileStore->sync();
    QCOMPARE(readFile(kStorePath), before);
    QCOMPARE(asBools(view.profileDirty + view.matrixDirty + view.otherDirty),
             asBools(QVariantList(18, false)));
}

void TestProfileStore::defaults_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("profile");
    QTest::addColumn<int>("length");
    QTest::newRow("profile_fw of 3") << "profile_fw" << 3 << 128;
    QTest::newRow("matrix_fw of 0") << "matrix_fw" << 0 << 64;
    QTest::newRow("profile_sw of 5") << "profile_sw" << 5 << 4;
    QTest::newRow("a group the defaults lack") << "gun_fw" << 1 << 0;
    QTest::newRow("a profile the defaults lack") << "other_fw" << 4 << 0;
    QTest::newRow("profile index 6") << "other_fw" << 6 << 0;
}

void TestProfileStore::defaults()
{
    QFETCH(QString, group);
    QFETCH(int, profile);
    QFETCH(int, length);
    TestRunFolder folder;
    installStores();
    // The defaults without profile 4's other values.
    QByteArray defaults = readFile(kDefaultsPath);
    defaults.replace("\n4=2, 1, 0\n", "\n");
    writeFile(kDefaultsPath, defaults);

    myQQuickView view;
    const QVariantList list = view.vesk_getDefaultProfile(group, uchar(profile));
    QCOMPARE(list.size(), length);
    if (length > 0) {
        const QSettings shipped(shippedPath(QStringLiteral("setting/pD_Vesk.bin")), QSettings::IniFormat);
        QCOMPARE(list, shipped.value(group + QLatin1Char('/') + QString::number(profile)).toList());
    }
}

void TestProfileStore::reloadWithAMissingKey()
{
    TestRunFolder folder;
    installStores();
    QByteArray store = readFile(kStorePath);
    store.replace("\n3=2, 1, 0\n", "\n");
    store.replace("curProfile=1", "curProfile=4");
    writeFile(kStorePath, store);

    myQQuickView view;
    view.matrix_fw[2] = pattern(5, 64);
    view.profileDirty[0] = true;
    view.reloadProfiles();
    QCOMPARE(int(view.curProfile), 4);
    QVERIFY(view.other_fw[3].isEmpty());
    for (int p = 0; p < 6; ++p) {
        QCOMPARE(view.profile_fw[p].size(), 128);
        if (p != 3)
            QCOMPARE(asInts(view.other_fw[p]), numbers({2, 1, 0}));
    }
    // Matrices and dirty flags are not the reload's business.
    QCOMPARE(view.matrix_fw[2], pattern(5, 64));
    QVERIFY(view.profileDirty[0].toBool());
    // A profile missing from the store reads as zeros.
    view.curProfile = 3;
    QCOMPARE(view.vesk_83H_GetReportRate(), uchar(0));
}

void TestProfileStore::storeAllProfilesWritesTwelveLists()
{
    TestRunFolder folder;
    installStores();
    myQQuickView view;
    for (int p = 0; p < 6; ++p) {
        view.profile_fw[p] = pattern(p);
        view.other_fw[p] = pattern(p + 50);
    }
    view.storeAllProfiles();
    for (int p = 0; p < 6; ++p) {
        QCOMPARE(storeText(view, QStringLiteral("profile_fw"), QString::number(p)), listText(pattern(p)));
        QCOMPARE(storeText(view, QStringLiteral("other_fw"), QString::number(p)), listText(pattern(p + 50)));
    }
    QCOMPARE(storeText(view, QStringLiteral("profile_fw"), QStringLiteral("dirty")), kSixFalse);
}

void TestProfileStore::shippedDefaultsHoldFactoryValues()
{
    const QSettings defaults(shippedPath(QStringLiteral("setting/pD_Vesk.bin")), QSettings::IniFormat);
    QCOMPARE(defaults.status(), QSettings::NoError);
    const QVariantList palette = numbers(
        {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 0, 255, 0, 255, 255, 255, 255, 0, 255, 255, 255, 255, 127, 0});
    const QVariantList matrix =
        numbers({0x01, 0, 0xF0, 0, 0x01, 0, 0xF1, 0,    0x01, 0, 0xF2, 0,    0x01, 0, 0xF4, 0,
                 0x01, 0, 0xF3, 0, 0x07, 0, 0x03, 0,    0x0B, 0, 0,    0,    0x07, 0, 0x03, 0,
                 0x05, 0, 0x03, 0, 0x03, 0, 0x8A, 0x01, 0x03, 0, 0x23, 0x02, 0x03, 0, 0x94, 0x01,
                 0,    0, 0,    0, 0,    0, 0,    0,    0x04, 0, 0x01, 0,    0x04, 0, 0x02, 0});
    const QVariantList stages = numbers({8, 16, 32, 48, 64, 96, 128, 160});
    for (int p = 0; p < 6; ++p) {
        const QString n = QString::number(p);
        const QVariantList block = listOf(defaults, QStringLiteral("profile_fw/") + n);
        QCOMPARE(block.size(), 128);
        QCOMPARE(block.mid(84, 8), stages);
        QCOMPARE(block.mid(92, 8), stages);
        QCOMPARE(block.at(70).toInt(), 8);
        QCOMPARE(block.mid(104, 24), palette);
        std::set<int> io;
        for (const QVariant &v : block.mid(16, 8))
            io.insert(v.toInt());
        QCOMPARE(io, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));
        std::set<QByteArray> colours;
        for (int c = 0; c < 6; ++c)
            colours.insert(hexOf(block.mid(24 + 3 * c, 3)).left(8));
        QCOMPARE(colours.size(), std::size_t(6));
        QCOMPARE(block.mid(42, 3), block.mid(39, 3));
        QCOMPARE(block.mid(45, 3), block.mid(39, 3));
        QCOMPARE(block.at(71).toInt(), 3);
        QCOMPARE(block.at(72).toInt(), 255);
        QVERIFY(block.at(73).toInt() >= 1 && block.at(73).toInt() <= 10);
        QCOMPARE(block.mid(79, 3), numbers({6, 0, 5}));
        QCOMPARE(listOf(defaults, QStringLiteral("matrix_fw/") + n), matrix);
        QCOMPARE(listOf(defaults, QStringLiteral("other_fw/") + n), numbers({2, 1, 0}));
        QCOMPARE(defaults.value(QStringLiteral("profile_sw/") + n).toStringList(),
                 (QStringList{QStringLiteral("false"), QStringLiteral("5"), QStringLiteral("2"),
                              QStringLiteral("5")}));
    }
}

void TestProfileStore::shippedWorkingStoreIsTheDefaultsWithACleanState()
{
    const QSettings defaults(shippedPath(QStringLiteral("setting/pD_Vesk.bin")), QSettings::IniFormat);
    const QSettings working(shippedPath(QStringLiteral("setting/p_Vesk.bin")), QSettings::IniFormat);
    for (const QString &key : defaults.allKeys())
        QCOMPARE(working.value(key), defaults.value(key));
    QCOMPARE(working.value(QStringLiteral("common/curProfile")).toInt(), 1);

    TestRunFolder folder;
    installStores();
    myQQuickView view;
    QCOMPARE(int(view.curProfile), 1);
    for (const QVariantList *dirty : {&view.profileDirty, &view.matrixDirty, &view.otherDirty})
        QCOMPARE(asBools(*dirty), flags({false, false, false, false, false, false}));
    QCOMPARE(readFile(kStorePath), readFile(shippedPath(QStringLiteral("setting/p_Vesk.bin"))));
}

QTEST_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
