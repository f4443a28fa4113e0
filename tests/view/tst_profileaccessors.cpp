// The firmware profile block's accessors against the virtual mouse: the mirror, the store and the bytes on
// the wire.

#include "profile/profileblock.h"
#include "viewtest.h"

#include <QQmlContext>
#include <QTest>

#include <algorithm>
#include <memory>
#include <utility>

using namespace viewtest;

class TestProfileAccessors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<QList<uchar>>("QList<uchar>"); }
    void init() { vmouse::reset(); }

    void gettersReadTheMirrorOnly();
    void gettersOfShortOrUnknownProfiles();
    void blockSetters_data();
    void blockSetters();
    void ledColours7And8FollowColour6();
    void pressGunGoesToItsProfileOnly();
    void rateAndStage_data();
    void rateAndStage();
    void currentProfile();
    void keyMatrix_data();
    void keyMatrix();
    void refusals_data();
    void refusals();
    void sceneReadsTheLayout_data();
    void sceneReadsTheLayout();
};

namespace {

// A view on the shipped store that found the virtual mouse and read its blocks of recognisable bytes.
struct Rig
{
    TestRunFolder folder;
    MouseLink mouse;
    std::unique_ptr<myQQuickView> view;

    Rig()
    {
        installStores();
        for (int p = 0; p < 6; ++p)
            vmouse::setProfileBlock(p, toVmouse(pattern(p * 10)));
        vmouse::setCurrentProfile(1);
        view = std::make_unique<myQQuickView>();
        if (!connectVirtualMouse(mouse, *view))
            qWarning("the virtual mouse was not read");
    }
};

QVariantList replaced(QVariantList list, int offset, const QVariantList &src)
{
    for (int i = 0; i < src.size(); ++i)
        list[offset + i] = src.at(i);
    return list;
}

void call(myQQuickView &view, const QByteArray &setter, const QVariantList &args)
{
    auto u = [&](int i) { return uchar(args.at(i).toInt()); };
    if (setter == "vesk_0CH_SetRGBLedEffect")
        view.vesk_0CH_SetRGBLedEffect(u(0), u(1), u(2));
    else if (setter == "vesk_0CH_SetPressGun")
        view.vesk_0CH_SetPressGun(u(0), u(1), u(2), args.at(3).toBool(), args.at(4).toBool(), u(5));
    else if (setter == "vesk_02H_SetCurrentProfile")
        view.vesk_02H_SetCurrentProfile(u(0));
    else
        QVERIFY(QMetaObject::invokeMethod(&view, setter.constData(), Q_ARG(QVariantList, args)));
}

} // namespace

void TestProfileAccessors::gettersReadTheMirrorOnly()
{
    Rig rig;
    myQQuickView &view = *rig.view;
    view.curProfile = 1;
    view.other_fw[0] = numbers({3, 2, 7});
    view.other_fw[1] = profileblock::padded(numbers({5, 4, 9}), 128);

    QCOMPARE(view.vesk_82H_GetCurrentProfile(), uchar(1));
    QCOMPARE(view.vesk_GetMaxDpiStage(), uint(pattern(10).at(70).toInt()));
    QCOMPARE(view.vesk_8CH_GetRGBLedEffect(), pattern(10).mid(71, 3));
    QCOMPARE(view.vesk_8CH_GetDpi8Color(), pattern(10).mid(104, 24));
    QCOMPARE(view.vesk_8CH_GetDpi8Stage(), pattern(10).mid(84, 16));
    QCOMPARE(view.vesk_83H_GetReportRate(), uchar(4));
    QCOMPARE(view.vesk_84H_GetDPIStage(), uchar(5));
    // The global settings come from profile 0 whichever profile is current.
    QCOMPARE(view.vesk_8CH_GetDpi8Io(), pattern(0).mid(16, 8));
    QCOMPARE(view.vesk_GetLED8StageColor(), pattern(0).mid(24, 24));
    QCOMPARE(view.vesk_89H_GetRGBLedTwinkle(), uchar(7));
    QVERIFY(commands(&view).isEmpty());
}

void TestProfileAccessors::gettersOfShortOrUnknownProfiles()
{
    Rig rig;
    myQQuickView &view = *rig.view;
    view.curProfile = 2;
    view.profile_fw[2] = pattern(1).mid(0, 90); // a short line in the store
    view.other_fw[2].clear();
    QCOMPARE(view.vesk_8CH_GetDpi8Color(), QVariantList(24, 0));
    QCOMPARE(view.vesk_8CH_GetDpi8Stage(), pattern(1).mid(84, 6) + QVariantList(10, 0));
    QCOMPARE(view.vesk_83H_GetReportRate(), uchar(0));
    QCOMPARE(view.profile_fw[2].size(), 90); // reading pads nothing in place

    view.curProfile = 7;
    QVERIFY(view.vesk_8CH_GetDpi8Color().isEmpty());
    QVERIFY(view.vesk_8CH_GetRGBLedEffect().isEmpty());
    QCOMPARE(view.vesk_GetMaxDpiStage(), 0u);
    QCOMPARE(view.vesk_84H_GetDPIStage(), uchar(0));
}

void TestProfileAccessors::blockSetters_data()
{
    QTest::addColumn<QByteArray>("setter");
    QTest::addColumn<QVariantList>("src");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("offset");

    QTest::newRow("lighting effect of the current profile")
        << QByteArray("vesk_0CH_SetRGBLedEffect") << numbers({4, 182, 7}) << 1 << 1 << 71;
    QTest::newRow("DPI colours of the current profile")
        << QByteArray("vesk_0CH_SetDpi8Color") << pattern(200, 24) << 1 << 1 << 104;
    QTest::newRow("DPI stages of the current profile")
        << QByteArray("vesk_0CH_SetDpi8Stage") << pattern(3, 16) << 3 << 3 << 84;
    QTest::newRow("palette indices go to profile 0 while 1 is current")
        << QByteArray("vesk_0CH_SetDpi8Io") << numbers({7, 6, 5, 4, 3, 2, 1, 0}) << 1 << 0 << 16;
    QVariantList colours = pattern(90, 18);
    colours += colours.mid(15, 3) + colours.mid(15, 3);
    QTest::newRow("lighting colours go to profile 0 while 1 is current")
        << QByteArray("vesk_SetLED8StageColor") << colours << 1 << 0 << 24;
    QTest::newRow("a longer list sends its first entries")
        << QByteArray("vesk_0CH_SetDpi8Stage") << pattern(40, 20) << 1 << 1 << 84;
}

void TestProfileAccessors::blockSetters()
{
    QFETCH(QByteArray, setter);
    QFETCH(QVariantList, src);
    QFETCH(int, current);
    QFETCH(int, target);
    QFETCH(int, offset);
    Rig rig;
    myQQuickView &view = *rig.view;
    view.curProfile = uchar(current);
    const int used = setter == "vesk_0CH_SetRGBLedEffect" ? 3
                     : setter == "vesk_0CH_SetDpi8Io"     ? 8
                     : setter == "vesk_0CH_SetDpi8Stage"  ? 16
                                                          : 24;
    call(view, setter, src);
    const QList<Command> sent = commands(&view);

    const QVariantList expected = replaced(pattern(target * 10), offset, src.mid(0, used));
    QCOMPARE(asInts(view.profile_fw[target]), expected);
    for (int p = 0; p < 6; ++p) {
        if (p != target)
            QCOMPARE(view.profile_fw[p], pattern(p * 10));
    }
    // One block write, of the whole mirror list, to that profile alone.
    QCOMPARE(commandNames(sent), QStringLiteral("0C:%1").arg(target));
    QCOMPARE(sent.at(0).data.toHex(' '), hexOf(expected));
    QCOMPARE(hexOf(vmouse::profileBlock(target)), hexOf(expected));
    // With the mouse present the block is persisted and marked.
    QCOMPARE(storeText(view, QStringLiteral("profile_fw"), QString::number(target)), listText(expected));
    QVERIFY(view.profileDirty.at(target).toBool());
}

void TestProfileAccessors::ledColours7And8FollowColour6()
{
    Rig rig;
    myQQuickView &view = *rig.view;
    QVariantList src24;
    for (int colour = 1; colour <= 8; ++colour)
        src24 << colour * 20 << colour * 20 + 1 << colour * 20 + 2;
    view.vesk_SetLED8StageColor(src24);
    QVERIFY(settle(view));

    const QVariantList colour6 = numbers({120, 121, 122});
    const QVariantList shown = view.vesk_GetLED8StageColor();
    QCOMPARE(asInts(shown.mid(0, 18)), src24.mid(0, 18));
    QCOMPARE(asInts(shown.mid(18, 3)), colour6);
    QCOMPARE(asInts(shown.mid(21, 3)), colour6);
    const vmouse::Block sent = vmouse::profileBlock(0);
    QCOMPARE((QList<int>{sent[42], sent[43], sent[44], sent[45], sent[46], sent[47]}),
             (QList<int>{120, 121, 122, 120, 121, 122}));
}

void TestProfileAccessors::pressGunGoesToItsProfileOnly()
{
    Rig rig;
    myQQuickView &view = *rig.view;
    view.profile_fw[3][65] = 0xFF;
    view.vesk_0CH_SetPressGun(12, 34, 56, false, true, 3);

    QCOMPARE(commandNames(commands(&view)), QStringLiteral("0C:3"));
    const vmouse::Block block = vmouse::profileBlock(3);
    QCOMPARE(int(block[65]), 0xF3); // bit 2 and bit 3 clear, bit 4 set, the rest kept
    QCOMPARE((QList<int>{block[78], block[79], block[80], block[81]}), (QList<int>{0xF0, 56, 12, 34}));
    for (int p : {0, 1, 2, 4, 5})
        QCOMPARE(hexOf(vmouse::profileBlock(p)), hexOf(pattern(p * 10)));
}

void TestProfileAccessors::rateAndStage_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("rate");
    QTest::addColumn<QByteArray>("frame");

    // The mouse takes the profile before the value.
    QTest::newRow("rate with the mouse: sent, not stored")
        << true << true << QByteArray("00 03 01 08 00 00 00 00 f3");
    QTest::newRow("stage with the mouse: sent, not stored")
        << true << false << QByteArray("00 04 01 06 00 00 00 00 f4");
    QTest::newRow("rate without the mouse: stored") << false << true << QByteArray();
    QTest::newRow("stage without the mouse: stored") << false << false << QByteArray();
}

void TestProfileAccessors::rateAndStage()
{
    QFETCH(bool, connected);
    QFETCH(bool, rate);
    QFETCH(QByteArray, frame);
    Rig rig;
    myQQuickView &view = *rig.view;
    if (!connected) {
        vmouse::setPlugged(false);
        QVERIFY(checkDevice(view));
        QVERIFY(!view.deviceConnected);
        vmouse::clearWireLog();
    }
    view.curProfile = 1;
    const QString before = storeText(view, QStringLiteral("other_fw"), QStringLiteral("1"));

    if (rate)
        view.vesk_03H_SetReportRate(8);
    else
        view.vesk_04H_SetDPIStage(6);
    QCOMPARE(rate ? view.vesk_83H_GetReportRate() : view.vesk_84H_GetDPIStage(), uchar(rate ? 8 : 6));

    const QList<Command> sent = commands(&view);
    if (connected) {
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).frame.toHex(' '), frame);
        QCOMPARE(rate ? vmouse::reportRate(1) : vmouse::dpiStage(1), std::uint8_t(rate ? 8 : 6));
        QCOMPARE(storeText(view, QStringLiteral("other_fw"), QStringLiteral("1")), before);
    } else {
        // Nothing goes to a mouse the link knows is gone; the change is kept in the store instead.
        QVERIFY(sent.isEmpty());
        QVariantList stored(128, 0);
        stored[0] = rate ? 1 : 6; // the stage and rate the mouse reported when it was last read
        stored[1] = rate ? 8 : 1;
        QCOMPARE(storeText(view, QStringLiteral("other_fw"), QStringLiteral("1")), listText(stored));
        QVERIFY(view.otherDirty.at(1).toBool());
    }
}

void TestProfileAccessors::currentProfile()
{
    Rig rig;
    myQQuickView &view = *rig.view;
    view.vesk_02H_SetCurrentProfile(3);
    QCOMPARE(view.vesk_82H_GetCurrentProfile(), uchar(3));
    QCOMPARE(storeText(view, QStringLiteral("common"), QStringLiteral("curProfile")), QStringLiteral("3"));
    const QList<Command> sent = commands(&view);
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent.at(0).frame.toHex(' '), QByteArray("00 02 03 00 00 00 00 00 fa"));
    QCOMPARE(vmouse::currentProfile(), 3);
}

void TestProfileAccessors::keyMatrix_data()
{
    QTest::addColumn<QVariantList>("src64");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<int>("optionBits"); // profile 0's byte 2 as sent, -1 = no block sent
    QTest::addColumn<QByteArray>("key3Main");
    QTest::addColumn<QByteArray>("key3Loop");

    QVariantList plain = pattern(1, 64);
    for (int key = 0; key < 16; ++key)
        plain[key * 4] = key % 8 == 0 ? 1 : key % 8; // every type but the gun key's
    QTest::newRow("no gun key: one 0DH to the current profile")
        << plain << 2 << "0D:2" << -1 << QByteArray() << QByteArray();

    QVariantList twoGun = plain;
    twoGun[12] = 0x08;
    twoGun[13] = 0x00;
    twoGun[14] = 0x05;
    twoGun[15] = 0x00;
    QTest::newRow("two gun loop: profile 0's block, then profiles 1 to 4")
        << twoGun << 1 << "0C:0 0D:1 0D:2 0D:3 0D:4" << 0xEF << QByteArray("00 00 00 00")
        << QByteArray("08 00 03 00");
    QVariantList loopSwitch = twoGun;
    loopSwitch[14] = 0x04;
    QTest::newRow("loop switch sets the option bit")
        << loopSwitch << 1 << "0C:0 0D:1 0D:2 0D:3 0D:4" << 0xFF << QByteArray("08 00 01 00")
        << QByteArray("08 00 00 00");
}

void TestProfileAccessors::keyMatrix()
{
    QFETCH(QVariantList, src64);
    QFETCH(int, current);
    QFETCH(QString, sequence);
    QFETCH(int, optionBits);
    QFETCH(QByteArray, key3Main);
    QFETCH(QByteArray, key3Loop);
    Rig rig;
    myQQuickView &view = *rig.view;
    view.curProfile = uchar(current);
    view.profile_fw[0][2] = 0xFF;
    const QString storedBlock = storeText(view, QStringLiteral("profile_fw"), QStringLiteral("0"));

    view.vesk_0DH_SetKeyMatrix(src64);
    const QList<Command> sent = commands(&view);

    QCOMPARE(view.matrix_fw[0], src64);
    QCOMPARE(storeText(view, QStringLiteral("matrix_fw"), QStringLiteral("0")), listText(src64));
    QVERIFY(view.matrixDirty.at(0).toBool());
    QCOMPARE(commandNames(sent), sequence);
    const QByteArray zeros = QByteArray(64, '\0');
    if (optionBits < 0) {
        QCOMPARE(sent.at(0).data.toHex(' '), hexOf(src64));
        QCOMPARE(hexOf(vmouse::keyMatrix(current)), hexOf(src64));
        return;
    }
    // The option bit goes to the mouse with profile 0's block but stays out of the store.
    QCOMPARE(int(uchar(sent.at(0).data.at(2))), optionBits);
    QCOMPARE(storeText(view, QStringLiteral("profile_fw"), QStringLiteral("0")), storedBlock);
    const QByteArray main = sent.at(1).data;
    QCOMPARE(main.mid(0, 12).toHex(' '), hexOf(src64).left(35));
    QCOMPARE(main.mid(12, 4).toHex(' '), key3Main);
    QCOMPARE(main.mid(64), zeros);
    for (int i = 2; i <= 4; ++i) {
        const QByteArray loop = sent.at(i).data;
        QCOMPARE(loop.mid(0, 4).toHex(' '), QByteArray("0a f0 21 00"));
        QCOMPARE(loop.mid(4, 8), main.mid(4, 8));
        QCOMPARE(loop.mid(12, 4).toHex(' '), key3Loop);
        QCOMPARE(loop.mid(16, 48), main.mid(16, 48));
        QCOMPARE(loop.mid(64), zeros);
        QCOMPARE(hexOf(vmouse::keyMatrix(i)), loop.toHex(' '));
    }
}

void TestProfileAccessors::refusals_data()
{
    QTest::addColumn<QByteArray>("setter");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>(
        "state"); // "", "short block" (profile 1's), "no block 0" (profile 0's), "reading"

    QTest::newRow("DPI colours, 23 entries") << QByteArray("vesk_0CH_SetDpi8Color") << pattern(1, 23) << "";
    QTest::newRow("palette indices, 7 entries") << QByteArray("vesk_0CH_SetDpi8Io") << pattern(1, 7) << "";
    QTest::newRow("DPI stages, 15 entries") << QByteArray("vesk_0CH_SetDpi8Stage") << pattern(1, 15) << "";
    QTest::newRow("lighting colours, none") << QByteArray("vesk_SetLED8StageColor") << QVariantList() << "";
    QTest::newRow("key matrix, 63 entries") << QByteArray("vesk_0DH_SetKeyMatrix") << pattern(1, 63) << "";
    QTest::newRow("press gun on profile 6")
        << QByteArray("vesk_0CH_SetPressGun") << QVariantList{1, 2, 3, true, true, 6} << "";
    QTest::newRow("current profile 6") << QByteArray("vesk_02H_SetCurrentProfile") << numbers({6}) << "";
    // A block the mirror never held whole would reach the mouse with zeros in its gaps.
    QTest::newRow("lighting effect of a profile never read whole")
        << QByteArray("vesk_0CH_SetRGBLedEffect") << numbers({4, 182, 7}) << "short block";
    QTest::newRow("DPI colours of a profile never read whole")
        << QByteArray("vesk_0CH_SetDpi8Color") << pattern(1, 24) << "short block";
    QTest::newRow("DPI stages of a profile never read whole")
        << QByteArray("vesk_0CH_SetDpi8Stage") << pattern(1, 16) << "short block";
    QTest::newRow("press gun on a profile never read whole")
        << QByteArray("vesk_0CH_SetPressGun") << QVariantList{1, 2, 3, true, true, 1} << "short block";
    QTest::newRow("palette indices without profile 0's block")
        << QByteArray("vesk_0CH_SetDpi8Io") << pattern(1, 8) << "no block 0";
    QTest::newRow("lighting colours without profile 0's block")
        << QByteArray("vesk_SetLED8StageColor") << pattern(1, 24) << "no block 0";
    QVariantList gunKey = pattern(1, 64);
    gunKey[0] = 0x08;
    gunKey[2] = 0x05;
    // The gun key's option bit goes out with profile 0's whole block.
    QTest::newRow("key matrix with a gun key without profile 0's block")
        << QByteArray("vesk_0DH_SetKeyMatrix") << gunKey << "no block 0";
    // The reading under way would put the old value back into the mirror while the mouse takes the new one.
    QTest::newRow("DPI stages while the mouse is being read")
        << QByteArray("vesk_0CH_SetDpi8Stage") << pattern(1, 16) << "reading";
    QTest::newRow("current profile while the mouse is being read")
        << QByteArray("vesk_02H_SetCurrentProfile") << numbers({3}) << "reading";
}

void TestProfileAccessors::refusals()
{
    QFETCH(QByteArray, setter);
    QFETCH(QVariantList, args);
    QFETCH(QString, state);
    Rig rig;
    myQQuickView &view = *rig.view;
    view.curProfile = 1;
    if (state == QLatin1String("short block"))
        view.profile_fw[1] = pattern(10).mid(0, 90);
    else if (state == QLatin1String("no block 0"))
        view.profile_fw[0].clear();
    view.profileStore->sync();
    const QByteArray store = readFile(kStorePath);
    const QVariantList matrix = view.matrix_fw[0];
    QList<QVariantList> blocks;
    for (int p = 0; p < 6; ++p)
        blocks.append(view.profile_fw[p]);
    if (state == QLatin1String("reading"))
        view.checkDevice(kSupportedModel.product.deviceListEntry, wire::virtualMouseEntry());

    call(view, setter, args);

    const QList<Command> sent = commands(&view);
    // Only the check's own 01H and its reads may be on the wire.
    QVERIFY(std::none_of(sent.begin(), sent.end(),
                         [](const Command &c) { return c.opcode() > 0x01 && c.opcode() < 0x80; }));
    QCOMPARE(view.curProfile, uchar(1));
    for (int p = 0; p < 6; ++p)
        QCOMPARE(view.profile_fw[p], blocks.at(p));
    QCOMPARE(view.matrix_fw[0], matrix);
    view.profileStore->sync();
    QCOMPARE(readFile(kStorePath), store);
}

void TestProfileAccessors::sceneReadsTheLayout_data()
{
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<int>("value");
    // What the mouse expects, as the pages have always sent it.
    const std::pair<const char *, int> rows[] = {
        {"profileCount", 6},      {"blockSize", 128},
        {"keyCount", 16},         {"keyEntrySize", 4},
        {"keyMatrixSize", 64},    {"macroSlotCount", 100},
        {"dpi8Io", 0x10},         {"dpi8IoCount", 8},
        {"led8StageColor", 0x18}, {"led8StageColorCount", 24},
        {"effect", 0x47},         {"light", 0x48},
        {"speed", 0x49},          {"effectCount", 3},
        {"dpi8Stage", 0x54},      {"dpiStageCount", 8},
        {"dpi8StageCount", 16},   {"dpi8Color", 0x68},
        {"dpi8ColorCount", 24},   {"keyTypeKeyboard", 0x00},
        {"keyTypeMouse", 0x01},   {"keyTypeMedia", 0x03},
        {"keyTypeScroll", 0x04},  {"keyTypeDpi", 0x07},
        {"keyTypeGun", 0x08},     {"keyTypeMacro", 0x09},
        {"keyTypeFire", 0x0A},    {"keyTypeGunSlot", 0x0B},
        {"keyTypeLed", 0x0C},     {"keyTypeUnknown", 0x05},
        {"firstMouseCode", 0xF0}, {"gunLoopSwitch", 4},
        {"gunTwoGunLoop", 5},     {"gunThreeGunLoop", 6},
        {"otherStage", 0},        {"otherRate", 1},
        {"otherTwinkle", 2},      {"swCursorSpeed", 1},
        {"swScrollLines", 2},     {"swDoubleClick", 3},
    };
    for (const auto &[property, value] : rows)
        QTest::newRow(property) << QByteArray(property) << value;
}

void TestProfileAccessors::sceneReadsTheLayout()
{
    QFETCH(QByteArray, property);
    QFETCH(int, value);
    TestRunFolder folder;
    myQQuickView view;
    const QObject *layout =
        view.rootContext()->contextProperty(QStringLiteral("mouseLayout")).value<QObject *>();
    QVERIFY(layout);
    QCOMPARE(layout->property(property.constData()), QVariant(value));
}

QTEST_MAIN(TestProfileAccessors)
#include "tst_profileaccessors.moc"
