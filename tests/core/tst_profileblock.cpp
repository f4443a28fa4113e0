// The profile block's rules as pure code: bytes in, bytes out.

#include "bytes.h"
#include "profile/profileblock.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace profileblock;
using namespace support;

Q_DECLARE_METATYPE(std::optional<uchar>)

class TestProfileBlock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void byteOfKeepsTheLowByte_data();
    void byteOfKeepsTheLowByte();
    void shortListsReadAsZeros();
    void toBlockTakesTheFirst128Entries();
    void ledColours7And8RepeatColour6();
    void pressGun_data();
    void pressGun();
    void keyMatrixPlan_data();
    void keyMatrixPlan();
    void optionBits_data();
    void optionBits();
    void currentProfileFromTheMouse_data();
    void currentProfileFromTheMouse();
};

namespace {

// Key k = four bytes, others zero.
QVariantList matrixWith(std::initializer_list<std::pair<int, std::array<int, 4>>> keys)
{
    QVariantList list;
    for (int i = 0; i < kKeyMatrixSize; ++i)
        list.append(0);
    for (const auto &[key, bytes] : keys) {
        for (int b = 0; b < 4; ++b)
            list[key * 4 + b] = bytes[std::size_t(b)];
    }
    return list;
}

} // namespace

void TestProfileBlock::byteOfKeepsTheLowByte_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("byte");
    QTest::newRow("int in range") << QVariant(200) << 200;
    QTest::newRow("int above 255") << QVariant(300) << 44;
    QTest::newRow("negative int") << QVariant(-1) << 255;
    QTest::newRow("text from the store") << QVariant(QStringLiteral("17")) << 17;
    QTest::newRow("text that is no number") << QVariant(QStringLiteral("x")) << 0;
    QTest::newRow("whole double from the scene") << QVariant(255.0) << 255;
    QTest::newRow("fractional double") << QVariant(7.9) << 7;
    QTest::newRow("negative double") << QVariant(-1.0) << 255;
    QTest::newRow("huge double") << QVariant(1e300) << int(std::fmod(1e300, 256.0));
    QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN()) << 0;
    QTest::newRow("invalid") << QVariant() << 0;
}

void TestProfileBlock::byteOfKeepsTheLowByte()
{
    QFETCH(QVariant, value);
    QFETCH(int, byte);
    QCOMPARE(int(byteOf(value)), byte);
}

void TestProfileBlock::shortListsReadAsZeros()
{
    const QVariantList three = numbers({1, 2, 3});
    QCOMPARE(slice(three, 1, 4), numbers({2, 3, 0, 0}));
    QCOMPARE(padded(three, 5), numbers({1, 2, 3, 0, 0}));
    QCOMPARE(padded(three, 2), three); // a longer list keeps its tail

    QVariantList block = three;
    assign(block, kDpi8Io, numbers({9, 9}), 2);
    QCOMPARE(block.size(), kSize);
    QCOMPARE(slice(block, 0, 4), numbers({1, 2, 3, 0}));
    QCOMPARE(slice(block, kDpi8Io, 3), numbers({9, 9, 0}));
}

void TestProfileBlock::toBlockTakesTheFirst128Entries()
{
    QVariantList list;
    for (int i = 0; i < 130; ++i)
        list.append(i + 1);
    const Block block = toBlock(list);
    QCOMPARE(int(block[0]), 1);
    QCOMPARE(int(block[127]), 128);
    QCOMPARE(hex(toBlock(numbers({5, 6}))), hex(Block{5, 6}));
}

void TestProfileBlock::ledColours7And8RepeatColour6()
{
    QVariantList src24;
    for (int colour = 1; colour <= 8; ++colour)
        src24 << colour * 10 << colour * 10 + 1 << colour * 10 + 2;
    QVariantList block = numbers({0xAA});
    applyLed8StageColor(block, src24);
    QCOMPARE(block.size(), kSize);
    QCOMPARE(block.at(0).toInt(), 0xAA);
    QCOMPARE(slice(block, kLed8StageColor, 18), src24.mid(0, 18));
    QCOMPARE(slice(block, kLedColour7, 3), numbers({60, 61, 62}));
    QCOMPARE(slice(block, kLedColour8, 3), numbers({60, 61, 62}));
    QCOMPARE(block.at(kLedColour8 + 3).toInt(), 0);
}

void TestProfileBlock::pressGun_data()
{
    QTest::addColumn<int>("flagsBefore");
    QTest::addColumn<bool>("enable");
    QTest::addColumn<bool>("cursorReturn");
    QTest::addColumn<int>("flagsAfter");
    QTest::newRow("off with cursor return, other bits kept") << 0xFF << false << true << 0xF3;
    QTest::newRow("on without cursor return") << 0x00 << true << false << 0x08;
    QTest::newRow("both on, bit 2 cleared") << 0x04 << true << true << 0x18;
    QTest::newRow("both off") << 0x1C << false << false << 0x00;
}

void TestProfileBlock::pressGun()
{
    QFETCH(int, flagsBefore);
    QFETCH(bool, enable);
    QFETCH(bool, cursorReturn);
    QFETCH(int, flagsAfter);
    QVariantList block = padded({}, kSize);
    block[kGunFlags] = flagsBefore;
    block[kGunMarker - 1] = 0x33;
    applyPressGun(block, PressGun{12, 34, 56, enable, cursorReturn});
    QCOMPARE(block.at(kGunFlags).toInt(), flagsAfter);
    QCOMPARE(slice(block, kGunMarker - 1, 5), numbers({0x33, 0xF0, 56, 12, 34}));
}

void TestProfileBlock::keyMatrixPlan_data()
{
    QTest::addColumn<QVariantList>("src64");
    QTest::addColumn<bool>("hasGunKeys");
    QTest::addColumn<bool>("hasTwoGunLoop");
    QTest::addColumn<QByteArray>("main");    // first three keys
    QTest::addColumn<QByteArray>("gunLoop"); // first three keys of G2 (G3 and G4 equal it)

    const std::array<int, 4> left{0x01, 0x00, 0xF0, 0x00};
    QTest::newRow("no gun key: sent as it is")
        << matrixWith({{0, left}, {2, {0x0B, 0, 5, 0}}}) << false << false
        << hex({1, 0, 0xF0, 0, 0, 0, 0, 0, 0x0B, 0, 5, 0}) << QByteArray();
    QTest::newRow("loop switch") << matrixWith({{0, left}, {1, {0x08, 0, 4, 0}}}) << true << false
                                 << hex({1, 0, 0xF0, 0, 8, 0, 1, 0, 0, 0, 0, 0})
                                 << hex({0x0A, 0xF0, 0x21, 0, 8, 0, 0, 0, 0, 0, 0, 0});
    QTest::newRow("two gun loop") << matrixWith({{0, left}, {2, {0x08, 7, 5, 9}}}) << true << true
                                  << hex({1, 0, 0xF0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
                                  << hex({0x0A, 0xF0, 0x21, 0, 0, 0, 0, 0, 8, 7, 3, 9});
    QTest::newRow("three gun loop") << matrixWith({{1, {0x08, 0, 6, 0}}}) << true << false
                                    << hex({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
                                    << hex({0x0A, 0xF0, 0x21, 0, 8, 0, 3, 0, 0, 0, 0, 0});
    QTest::newRow("unknown variant left alone")
        << matrixWith({{1, {0x08, 0, 9, 0}}}) << true << false << hex({0, 0, 0, 0, 8, 0, 9, 0, 0, 0, 0, 0})
        << hex({0x0A, 0xF0, 0x21, 0, 8, 0, 9, 0, 0, 0, 0, 0});
    QTest::newRow("gun key on key 0 is overwritten in the loop")
        << matrixWith({{0, {0x08, 0, 5, 0}}}) << true << true << hex({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})
        << hex({0x0A, 0xF0, 0x21, 0, 0, 0, 0, 0, 0, 0, 0, 0});
}

void TestProfileBlock::keyMatrixPlan()
{
    QFETCH(QVariantList, src64);
    QFETCH(bool, hasGunKeys);
    QFETCH(bool, hasTwoGunLoop);
    QFETCH(QByteArray, main);
    QFETCH(QByteArray, gunLoop);

    const KeyMatrixPlan plan = planKeyMatrix(src64);
    QCOMPARE(plan.hasGunKeys, hasGunKeys);
    QCOMPARE(plan.hasTwoGunLoop, hasTwoGunLoop);
    QCOMPARE(hex(plan.main, 12), main);
    // The matrix is padded to a whole block with zeros.
    QCOMPARE(hex(plan.main).right(64 * 3 - 1), QByteArray(64, '\0').toHex(' '));
    if (hasGunKeys) {
        for (const Block &g : plan.gunLoop)
            QCOMPARE(hex(g, 12), gunLoop);
    }
}

void TestProfileBlock::optionBits_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("twoGunLoop");
    QTest::addColumn<int>("after");
    QTest::newRow("two gun loop clears bit 4") << 0xFF << true << 0xEF;
    QTest::newRow("other gun keys set bit 4") << 0x01 << false << 0x11;
}

void TestProfileBlock::optionBits()
{
    QFETCH(int, before);
    QFETCH(bool, twoGunLoop);
    QFETCH(int, after);
    QCOMPARE(int(keyMatrixOptionBits(uchar(before), twoGunLoop)), after);
}

void TestProfileBlock::currentProfileFromTheMouse_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<std::optional<uchar>>("reported");
    QTest::addColumn<int>("result");
    QTest::newRow("failed read keeps the current profile") << 2 << std::optional<uchar>() << 2;
    QTest::newRow("mouse names another profile") << 0 << std::optional<uchar>(1) << 1;
    QTest::newRow("mouse names profile 5") << 0 << std::optional<uchar>(5) << 5;
    QTest::newRow("6 is not a profile") << 1 << std::optional<uchar>(6) << 1;
    QTest::newRow("255 is not a profile") << 1 << std::optional<uchar>(255) << 1;
}

void TestProfileBlock::currentProfileFromTheMouse()
{
    QFETCH(int, current);
    QFETCH(std::optional<uchar>, reported);
    QFETCH(int, result);
    QCOMPARE(int(syncedCurrentProfile(uchar(current), reported)), result);
}

QTEST_APPLESS_MAIN(TestProfileBlock)
#include "tst_profileblock.moc"
