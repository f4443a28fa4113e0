// The macro library files, the download of a macro into a device slot, key definitions.
#include "devicelink.h"
#include "macro/macroencoder.h"
#include "macro/macrolibrary.h"
#include "ms_ht66fb560.h"
#include "testrunfolder.h"
#include "viewtest.h"
#include "wire.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>

using namespace macrotest;
using namespace support;

class TestMacroLibrary : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QList<uchar>>("QList<uchar>"); }
    void init();
    void cleanup();

    void namesAreListedSortedWithExtension();
    void missingLibraryListsNothing();
    void createFillsTheFirstGap();
    void createAfter999IsMacro1000();
    void createMakesTheMissingLibrary();
    void createWithoutAWritableLibraryReturnsNothing();
    void deleteRemovesOnlyExistingFiles();
    void saveAndLoadKeepEveryLine();
    void saveOfAMissingMacroCreatesNothing();
    void saveOfEmptyLinesLeavesNoLines();
    void loadFillsMissingLinesWithZero();
    void loadOfADamagedTotalIsBounded();
    void saveDownloadsOnlyMacrosInASlot_data();
    void saveDownloadsOnlyMacrosInASlot();
    void configDefaultsAndWrites();
    void configNeedsBothValues();
    void macroFilesAreOwnerOnly();
    void badNamesTouchNothing_data();
    void badNamesTouchNothing();

    void downloadStampsRepeatIntoTheSlot_data();
    void downloadStampsRepeatIntoTheSlot();
    void downloadOfAnOverlongMacroWarnsAndCutsWhole_data();
    void downloadOfAnOverlongMacroWarnsAndCutsWhole();
    void downloadWithoutProtocolSendsNothing();

    void keydefineReadsProfileZero_data();
    void keydefineReadsProfileZero();

private:
    void attachMouse();
    QList<vmouse::WireRecord> macroCommands() const;

    std::unique_ptr<TestRunFolder> m_folder;
    std::unique_ptr<MS_HT66FB560> m_ms;
    std::unique_ptr<DeviceLink> m_link;
    std::unique_ptr<TestView> m_view;
};

namespace {

const QString A = QStringLiteral("A");

QString line(const QString &key, QLatin1String tag)
{
    return key + tag;
}

} // namespace

void TestMacroLibrary::init()
{
    vmouse::reset();
    m_folder = std::make_unique<TestRunFolder>();
    m_view = std::make_unique<TestView>();
}

void TestMacroLibrary::cleanup()
{
    m_view.reset();
    m_link.reset();
    m_ms.reset();
    m_folder.reset();
}

void TestMacroLibrary::attachMouse()
{
    m_ms = std::make_unique<MS_HT66FB560>();
    m_link = std::make_unique<DeviceLink>(*m_ms);
    m_view->setDeviceLink(m_link.get());
    QSignalSpy read(m_view.get(), &myQQuickView::deviceCheckEnded);
    m_view->checkDevice(kSupportedModel.product.deviceListEntry, wire::virtualMouseEntry());
    QVERIFY(read.wait(10000));
    QVERIFY(m_view->deviceConnected);
    vmouse::clearWireLog();
}

QList<vmouse::WireRecord> TestMacroLibrary::macroCommands() const
{
    if (m_link && !m_link->waitUntilIdle())
        qWarning("the device link did not settle");
    QList<vmouse::WireRecord> frames;
    for (const vmouse::WireRecord &r : wire::ofKind(wire::commandRecords(), vmouse::WireKind::FeatureOut)) {
        if (r.bytes.size() > 1 && r.bytes[1] == 0x0F)
            frames.append(r);
    }
    return frames;
}

void TestMacroLibrary::namesAreListedSortedWithExtension()
{
    QVERIFY(writeFile(libraryFile(QStringLiteral("b")), "[config]\n"));
    QVERIFY(writeFile(libraryFile(QStringLiteral("A")), "[config]\n"));
    QVERIFY(writeFile(Library + QStringLiteral("notes.txt"), "x"));
    QVERIFY(QDir().mkpath(Library + QStringLiteral("C.bin")));
    QCOMPARE(m_view->getMacroIniNames(),
             (QStringList{QStringLiteral("A.bin"), QStringLiteral("b.bin"), QStringLiteral("C.bin")}));
}

void TestMacroLibrary::missingLibraryListsNothing()
{
    QCOMPARE(m_view->getMacroIniNames(), QStringList());
    QCOMPARE(m_view->loadMacroIni(A), QStringList());
    QCOMPARE(m_view->deleteMacroIni(A), QVariant(false));
}

void TestMacroLibrary::createFillsTheFirstGap()
{
    QCOMPARE(m_view->createMacroIni(), QVariant(QStringLiteral("Macro. 001")));
    QVERIFY(writeFile(libraryFile(QStringLiteral("Macro. 003")), "[config]\n"));
    QCOMPARE(m_view->createMacroIni(), QVariant(QStringLiteral("Macro. 002")));
    QCOMPARE(m_view->createMacroIni(), QVariant(QStringLiteral("Macro. 004")));
    const QSettings created(libraryFile(QStringLiteral("Macro. 002")), QSettings::IniFormat);
    QCOMPARE(created.value(QStringLiteral("config/index")).toInt(), -1);
    QCOMPARE(created.value(QStringLiteral("config/total")).toInt(), 0);
    QCOMPARE(created.value(QStringLiteral("config/repeat")).toInt(), 1);
    QCOMPARE(created.childGroups(), QStringList{QStringLiteral("config")});
}

void TestMacroLibrary::createAfter999IsMacro1000()
{
    QVERIFY(QDir().mkpath(Library));
    for (int n = 1; n <= 999; ++n) {
        QFile file(libraryFile(QStringLiteral("Macro. %1").arg(n, 3, 10, QLatin1Char('0'))));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(m_view->createMacroIni(), QVariant(QStringLiteral("Macro. 1000")));
}

void TestMacroLibrary::createMakesTheMissingLibrary()
{
    QVERIFY(!QFileInfo::exists(Library));
    QCOMPARE(m_view->createMacroIni(), QVariant(QStringLiteral("Macro. 001")));
    QVERIFY(QFileInfo(libraryFile(QStringLiteral("Macro. 001"))).isFile());
}

void TestMacroLibrary::createWithoutAWritableLibraryReturnsNothing()
{
    // The library's place is taken by a file: no folder, no macro, and the scene is told so.
    QVERIFY(writeFile(QStringLiteral("modules/macro/1"), "not a folder"));
    QVERIFY(!m_view->createMacroIni().isValid());
    QCOMPARE(readFileOrMissing(QStringLiteral("modules/macro/1")), QByteArray("not a folder"));
}

void TestMacroLibrary::deleteRemovesOnlyExistingFiles()
{
    const QString name = m_view->createMacroIni().toString();
    QCOMPARE(m_view->deleteMacroIni(name), QVariant(true));
    QVERIFY(!QFileInfo::exists(libraryFile(name)));
    QCOMPARE(m_view->deleteMacroIni(name), QVariant(false));
}

void TestMacroLibrary::saveAndLoadKeepEveryLine()
{
    const QString name = m_view->createMacroIni().toString();
    // Names with the settings format's special characters, a trailing space and non-ASCII text.
    const QStringList lines{line(QStringLiteral("; :"), kMacroDownTag),
                            line(QStringLiteral(", <"), kMacroUpTag),
                            line(QStringLiteral("\\ |"), kMacroDownTag),
                            line(QStringLiteral("' \""), kMacroUpTag),
                            line(QStringLiteral("KP 7 "), kMacroDownTag),
                            line(QString(QChar(0x25B2)), kMacroUpTag),
                            line(QStringLiteral("1000"), kMacroDelayTag),
                            line(QStringLiteral("= +"), kMacroDownTag),
                            line(QChar(0x25BC) + QStringLiteral("1"), kMacroUpTag)};
    QCOMPARE(m_view->saveMacroIni(name, lines), QVariant(true));
    QCOMPARE(m_view->loadMacroIni(name), lines);
    // Qt 4 readers without a codec take UTF-8 for Latin-1: the arrows are written as Qt 4 wrote them, a hex
    // digit after an escape escaped too.
    const QByteArray written = readFileOrMissing(libraryFile(name));
    QVERIFY(written.contains("\n5=\\x25b2      [Up]\n"));
    QVERIFY(written.contains("\n8=\\x25bc\\x31      [Up]\n"));
    QVERIFY(std::all_of(written.cbegin(), written.cend(), [](char c) { return uchar(c) < 0x80; }));

    // A shorter save leaves no lines of the longer one behind.
    QCOMPARE(m_view->saveMacroIni(name, lines.mid(0, 2)), QVariant(true));
    const QSettings file(libraryFile(name), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("config/total")).toInt(), 2);
    QCOMPARE(file.allKeys().filter(QStringLiteral("macro/")).size(), 2);
    QCOMPARE(m_view->loadMacroIni(name), lines.mid(0, 2));
}

void TestMacroLibrary::saveOfAMissingMacroCreatesNothing()
{
    QCOMPARE(m_view->saveMacroIni(A, {line(A, kMacroDownTag)}), QVariant(false));
    QVERIFY(!QFileInfo::exists(libraryFile(A)));
}

void TestMacroLibrary::saveOfEmptyLinesLeavesNoLines()
{
    const QString name = m_view->createMacroIni().toString();
    QVERIFY(m_view->saveMacroIni(name, {line(A, kMacroDownTag)}).toBool());
    QVERIFY(m_view->saveMacroIni(name, {}).toBool());
    const QSettings file(libraryFile(name), QSettings::IniFormat);
    QCOMPARE(file.value(QStringLiteral("config/total")).toInt(), 0);
    QVERIFY(!file.childGroups().contains(QStringLiteral("macro")));
    QCOMPARE(m_view->loadMacroIni(name), QStringList());
}

void TestMacroLibrary::loadFillsMissingLinesWithZero()
{
    QVERIFY(writeFile(libraryFile(A), "[config]\ntotal=3\n[macro]\n0=x\n2=z\n5=surplus\n"));
    QCOMPARE(m_view->loadMacroIni(A),
             (QStringList{QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("z")}));
    QVERIFY(writeFile(libraryFile(A), "[config]\ntotal=-2\n[macro]\n0=x\n"));
    QCOMPARE(m_view->loadMacroIni(A), QStringList());
}

void TestMacroLibrary::loadOfADamagedTotalIsBounded()
{
    QVERIFY(writeFile(libraryFile(A), "[config]\ntotal=2147483647\n[macro]\n0=x\n"));
    const QStringList lines = m_view->loadMacroIni(A);
    QCOMPARE(lines.first(), QStringLiteral("x"));
    QCOMPARE(lines.size(), kMaxMacroLines);
}

void TestMacroLibrary::saveDownloadsOnlyMacrosInASlot_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("heldByAnother"); // another library macro has the same index
    QTest::addColumn<int>("macroId");        // 0: nothing sent
    QTest::newRow("in no slot") << -1 << false << 0;
    QTest::newRow("slot index 4 is macro ID 5") << 4 << false << 5;
    QTest::newRow("slot index 0 is macro ID 1") << 0 << false << 1;
    QTest::newRow("index 100 would wrap onto a low slot") << 356 << false << 0;
    QTest::newRow("slot another macro holds too") << 4 << true << 0;
}

void TestMacroLibrary::saveDownloadsOnlyMacrosInASlot()
{
    QFETCH(int, index);
    QFETCH(bool, heldByAnother);
    QFETCH(int, macroId);
    attachMouse();
    const QString name = m_view->createMacroIni().toString();
    m_view->setMacroIniConfig(name, {index, 2});
    if (heldByAnother)
        m_view->setMacroIniConfig(m_view->createMacroIni(), {index, 1});
    QVERIFY(m_view->saveMacroIni(name, {line(A, kMacroDownTag), line(A, kMacroUpTag)}).toBool());
    const QList<vmouse::WireRecord> frames = macroCommands();
    if (macroId == 0) {
        QCOMPARE(frames.size(), 0);
        return;
    }
    QCOMPARE(frames.size(), 1);
    QCOMPARE(int(frames.first().bytes[2]), macroId);
    QCOMPARE(m_view->loadMacroIni(name).size(), 2);
    // The edited lines are what the slot receives.
    QCOMPARE(hex(vmouse::macroBlock(macroId)), QByteArray("00 02 01 04 81 04 ") + zeros(122));
}

void TestMacroLibrary::configDefaultsAndWrites()
{
    QVERIFY(writeFile(libraryFile(A), "[macro]\n0=x\n"));
    QCOMPARE(m_view->loadMacroIniConfig(A), (QVariantList{-1, 1}));
    m_view->setMacroIniConfig(A, {7, 300});
    QCOMPARE(m_view->loadMacroIniConfig(A), (QVariantList{7, 300}));
    QCOMPARE(m_view->loadMacroIni(A), QStringList()); // no total: no lines
    QVERIFY(writeFile(libraryFile(A), "[config]\nindex=seven\nrepeat=\n"));
    QCOMPARE(m_view->loadMacroIniConfig(A), (QVariantList{0, 0}));
    QCOMPARE(m_view->loadMacroIniConfig(QStringLiteral("missing")), QVariantList());
    m_view->setMacroIniConfig(QStringLiteral("missing"), {1, 1});
    QVERIFY(!QFileInfo::exists(libraryFile(QStringLiteral("missing"))));
}

void TestMacroLibrary::configNeedsBothValues()
{
    const QString name = m_view->createMacroIni().toString();
    m_view->setMacroIniConfig(name, {5});
    m_view->setMacroIniConfig(name, {});
    QCOMPARE(m_view->loadMacroIniConfig(name), (QVariantList{-1, 1}));
}

void TestMacroLibrary::macroFilesAreOwnerOnly()
{
    const QString name = m_view->createMacroIni().toString();
    QCOMPARE(modeBits(libraryFile(name)), OwnerOnly);

    // A file that others could read (made by hand, or by an older version) is closed on the next save.
    QVERIFY(QFile::setPermissions(libraryFile(name),
                                  OwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    QVERIFY(m_view->saveMacroIni(name, {line(QStringLiteral("P"), kMacroDownTag)}).toBool());
    QCOMPARE(modeBits(libraryFile(name)), OwnerOnly);
    m_view->setMacroIniConfig(name, {-1, 3});
    QCOMPARE(modeBits(libraryFile(name)), OwnerOnly);
}

void TestMacroLibrary::badNamesTouchNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("parent folder") << QStringLiteral("../outside");
    QTest::newRow("two levels up") << QStringLiteral("../../setting/apConfig");
    QTest::newRow("only dots") << QStringLiteral("..");
    QTest::newRow("slash") << QStringLiteral("sub/inner");
    QTest::newRow("backslash") << QStringLiteral("..\\outside");
    QTest::newRow("leading dot") << QStringLiteral(".hidden");
    QTest::newRow("absolute") << QStringLiteral("/tmp/outside");
    QTest::newRow("line break") << QStringLiteral("two\nlines");
    QTest::newRow("control character") << QStringLiteral("bell\a");
    QTest::newRow("too long for a file name") << QString(252, QLatin1Char('x'));
}

void TestMacroLibrary::badNamesTouchNothing()
{
    QFETCH(QString, name);
    attachMouse();
    const QByteArray content("[config]\nindex=2\ntotal=1\nrepeat=1\n[macro]\n0=A    [Down]\n");
    QStringList targets{
        QStringLiteral("modules/macro/outside.bin"),     QStringLiteral("modules/macro/1/.hidden.bin"),
        QStringLiteral("modules/macro/1/sub/inner.bin"), QStringLiteral("modules/macro/1/.bin"),
        QStringLiteral("modules/setting/apConfig.bin"),  libraryFile(QStringLiteral("Macro. 001"))};
    // A file of that very name, where the file system takes one (made by hand, or by an older version).
    if (!name.contains(QLatin1Char('/')) && QFile::encodeName(libraryFile(name)).size() < 240)
        targets << libraryFile(name);
    for (const QString &target : targets)
        QVERIFY(writeFile(target, content));

    QCOMPARE(m_view->loadMacroIni(name), QStringList());
    QCOMPARE(m_view->loadMacroIniConfig(name), QVariantList());
    QCOMPARE(m_view->saveMacroIni(name, {QStringLiteral("B    [Down]")}), QVariant(false));
    m_view->setMacroIniConfig(name, {9, 9});
    QCOMPARE(m_view->deleteMacroIni(name), QVariant(false));
    m_view->vesk_0FH_SetMacroKey(3, name);
    m_view->loadMacroIniFromFile(name);
    m_view->saveMacroIniToFile(name);
    m_view->renameMacroIniFile(name, QStringLiteral("Renamed"));
    m_view->renameMacroIniFile(QStringLiteral("Macro. 001"), name);

    for (const QString &target : targets)
        QCOMPARE(readFileOrMissing(target), content);
    QCOMPARE(macroCommands().size(), 0);
    QCOMPARE(m_view->openDialogs + m_view->saveDialogs, 0);
    QVERIFY(!QFileInfo::exists(libraryFile(QStringLiteral("Renamed"))));
}

void TestMacroLibrary::downloadStampsRepeatIntoTheSlot_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no library file
    QTest::addColumn<int>("macroId");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QByteArray>("head");
    QTest::newRow("missing macro is an empty block") << QByteArray() << 7 << 7 << QByteArray("00 01 00 00");
    QTest::newRow("repeat 300") << QByteArray("[config]\nrepeat=300\ntotal=1\n[macro]\n0=A    [Down]\n") << 9
                                << 9 << QByteArray("01 2c 01 04");
    QTest::newRow("no repeat is once") << QByteArray("[config]\ntotal=1\n[macro]\n0=A    [Down]\n") << 100
                                       << 100 << QByteArray("00 01 01 04");
    QTest::newRow("arrow as Qt 4 wrote it") << QByteArray("[config]\ntotal=1\n[macro]\n0=\\x25ba    [Down]\n")
                                            << 2 << 2 << QByteArray("00 01 01 4f");
    QTest::newRow("arrow as raw UTF-8")
        << QByteArray("[config]\ntotal=1\n[macro]\n0=\xe2\x96\xba    [Down]\n") << 2 << 2
        << QByteArray("00 01 01 4f");
    // As data streams they would be the repeat count 300 and the line "A    [Down]".
    QTest::newRow("streamed values are refused")
        << QByteArray("[config]\nrepeat=@Variant(\\0\\0\\0\\x2\\0\\0\\x1\\x2c)\ntotal=2\n[macro]\n"
                      "0=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x16\\0A\\0 \\0 \\0 \\0 \\0[\\0D\\0o\\0w\\0n\\0])\n"
                      "1=A      [Up]\n")
        << 3 << 3 << QByteArray("00 01 81 04");
    QTest::newRow("macro ID 0x101 is slot 1") << QByteArray("[config]\ntotal=1\n[macro]\n0=A      [Up]\n")
                                              << 0x101 << 1 << QByteArray("00 01 81 04");
}

void TestMacroLibrary::downloadStampsRepeatIntoTheSlot()
{
    QFETCH(QByteArray, file);
    QFETCH(int, macroId);
    QFETCH(int, slot);
    QFETCH(QByteArray, head);
    attachMouse();
    vmouse::Block stale{};
    stale.fill(0xEE);
    vmouse::setMacroBlock(slot, stale);
    if (!file.isEmpty())
        QVERIFY(writeFile(libraryFile(A), file));
    m_view->vesk_0FH_SetMacroKey(macroId, A);
    QCOMPARE(macroCommands().size(), 1);
    const int tail = kMacroBlockSize - int(head.count(' ') + 1);
    QCOMPARE(hex(vmouse::macroBlock(slot)), head + ' ' + zeros(tail));
    QCOMPARE(m_view->cutWarnings, 0);
}

void TestMacroLibrary::downloadOfAnOverlongMacroWarnsAndCutsWhole_data()
{
    QTest::addColumn<int>("events");
    QTest::addColumn<int>("warnings");
    QTest::newRow("128 bytes: whole, no warning") << 62 << 0;
    QTest::newRow("130 bytes: warning, last event dropped") << 63 << 1;
}

void TestMacroLibrary::downloadOfAnOverlongMacroWarnsAndCutsWhole()
{
    QFETCH(int, events);
    QFETCH(int, warnings);
    attachMouse();
    const QString name = m_view->createMacroIni().toString();
    QStringList lines;
    for (int i = 0; i < events; ++i)
        lines << line(A, i % 2 ? kMacroUpTag : kMacroDownTag);
    QVERIFY(m_view->saveMacroIni(name, lines).toBool());
    m_view->vesk_0FH_SetMacroKey(12, name);
    QCOMPARE(m_view->cutWarnings, warnings);
    QByteArray expected("00 01");
    for (int i = 0; i < 62; ++i)
        expected += i % 2 ? " 81 04" : " 01 04";
    QVERIFY(m_link->waitUntilIdle());
    QCOMPARE(hex(vmouse::macroBlock(12)), expected + " 00 00");
}

void TestMacroLibrary::downloadWithoutProtocolSendsNothing()
{
    QVERIFY(writeFile(libraryFile(A), "[config]\ntotal=0\n"));
    m_view->setDeviceLink(nullptr);
    m_view->vesk_0FH_SetMacroKey(1, A);
    QCOMPARE(macroCommands().size(), 0);
}

void TestMacroLibrary::keydefineReadsProfileZero_data()
{
    QTest::addColumn<QVariant>("key");
    QTest::addColumn<QVariantList>("code");
    QTest::newRow("key 0") << QVariant(0) << QVariantList{0, 1, 2, 3};
    QTest::newRow("key 3 is values 12-15") << QVariant(3) << QVariantList{12, 13, 14, 15};
    QTest::newRow("key 15") << QVariant(15) << QVariantList{60, 61, 62, 63};
    QTest::newRow("key as text") << QVariant(QStringLiteral("2")) << QVariantList{8, 9, 10, 11};
    QTest::newRow("key 16") << QVariant(16) << QVariantList{};
    QTest::newRow("key -1") << QVariant(-1) << QVariantList{};
}

void TestMacroLibrary::keydefineReadsProfileZero()
{
    QFETCH(QVariant, key);
    QFETCH(QVariantList, code);
    for (int i = 0; i < 64; ++i) {
        m_view->matrix_fw[0].append(i);
        m_view->matrix_fw[1].append(100 + i);
    }
    QCOMPARE(m_view->getKeydefine(key), code);
    // A matrix that was never loaded has no keys to show.
    m_view->matrix_fw[0].clear();
    QCOMPARE(m_view->getKeydefine(key), QVariantList());
}

QTEST_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
