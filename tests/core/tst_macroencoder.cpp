// Macro lines → device bytes, and the 128-byte block the mouse receives.
#include "bytes.h"
#include "keys/keynamemap.h"
#include "macro/macroencoder.h"

#include <QTest>

class TestMacroEncoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { buildKeyNameMap(); }
    void encodes_data();
    void encodes();
    void blockTakesTheRepeatCount_data();
    void blockTakesTheRepeatCount();
    void longMacrosAreCutAtAWholeEvent_data();
    void longMacrosAreCutAtAWholeEvent();
};

using namespace support;

namespace {

QString down(const QString &key)
{
    return key + kMacroDownTag;
}
QString up(const QString &key)
{
    return key + kMacroUpTag;
}
QString delay(const QString &ms)
{
    return ms + kMacroDelayTag;
}
QString delay(qint64 ms)
{
    return delay(QString::number(ms));
}

// n key events (down, up, down, …) of the key A.
QStringList keyEvents(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines << (i % 2 ? up(QStringLiteral("A")) : down(QStringLiteral("A")));
    return lines;
}

} // namespace

void TestMacroEncoder::encodes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");
    const QString a = QStringLiteral("A");
    const QString unknown = QStringLiteral("Nope");

    QTest::newRow("empty macro") << QStringList{} << QByteArray("00 01 00 00");
    QTest::newRow("A down, 100 ms, A up")
        << QStringList{down(a), delay(100), up(a)} << QByteArray("00 01 0a 04 81 04 00 00");
    QTest::newRow("1270 ms merges as 7f")
        << QStringList{down(a), delay(1270)} << QByteArray("00 01 7f 04 00 00");
    QTest::newRow("1271 ms is the short pause 40")
        << QStringList{down(a), delay(1271)} << QByteArray("00 01 01 04 40 01 00 00");
    QTest::newRow("5100 ms is the short pause ff")
        << QStringList{down(a), delay(5100)} << QByteArray("00 01 01 04 ff 01 00 00");
    QTest::newRow("5101 ms is a long pause")
        << QStringList{down(a), delay(5101)} << QByteArray("00 01 01 04 00 01 00 ff 00 00");
    QTest::newRow("3000 ms after a key is not merged")
        << QStringList{down(a), delay(3000)} << QByteArray("00 01 01 04 96 01 00 00");
    QTest::newRow("1000 ms as the first line")
        << QStringList{delay(1000)} << QByteArray("00 01 00 01 00 32 00 00");
    QTest::newRow("65535 ms") << QStringList{delay(65535)} << QByteArray("00 01 00 01 0c cd 00 00");
    QTest::newRow("5 ms as the first line") << QStringList{delay(5)} << QByteArray("00 01 00 01 00 01 00 00");
    QTest::newRow("50 then 60 ms after a key")
        << QStringList{down(a), delay(50), delay(60)} << QByteArray("00 01 05 04 00 01 00 03 00 00");
    QTest::newRow("delay after a zero delay line is a pause")
        << QStringList{down(a), delay(0), delay(100)} << QByteArray("00 01 01 04 00 01 00 05 00 00");
    QTest::newRow("merge keeps the up bit")
        << QStringList{up(a), delay(100)} << QByteArray("00 01 8a 04 00 00");
    QTest::newRow("merge of 5 ms is one unit")
        << QStringList{down(a), delay(5)} << QByteArray("00 01 01 04 00 00");
    QTest::newRow("merge rounds halves up")
        << QStringList{down(a), delay(15), up(a), delay(14)} << QByteArray("00 01 02 04 81 04 00 00");
    // A short delay merges only into a key event; the header or a pause before it would take it as theirs.
    QTest::newRow("delay after unknown key first is a pause")
        << QStringList{down(unknown), delay(100)} << QByteArray("00 01 00 01 00 05 00 00");
    QTest::newRow("delay after unknown key merges into the key before")
        << QStringList{down(a), up(unknown), delay(100)} << QByteArray("00 01 0a 04 00 00");
    QTest::newRow("delay after unknown key after a short pause is a pause")
        << QStringList{down(a), delay(3000), down(unknown), delay(100)}
        << QByteArray("00 01 01 04 96 01 00 01 00 05 00 00");
    QTest::newRow("delay after unknown key keeps a 1 s pause 1 s")
        << QStringList{delay(1000), down(unknown), delay(50)}
        << QByteArray("00 01 00 01 00 32 00 01 00 03 00 00");
    QTest::newRow("zero delay") << QStringList{down(a), delay(0)} << QByteArray("00 01 01 04 00 00");
    QTest::newRow("delay that is no number")
        << QStringList{down(a), delay(QStringLiteral("abc"))} << QByteArray("00 01 01 04 00 00");
    QTest::newRow("delay beyond 32 bits reads as zero")
        << QStringList{delay(QStringLiteral("99999999999"))} << QByteArray("00 01 00 00");
    QTest::newRow("delay with white space")
        << QStringList{down(a), delay(QStringLiteral(" 100 "))} << QByteArray("00 01 0a 04 00 00");
    QTest::newRow("negative delay after a key")
        << QStringList{down(a), delay(-50)} << QByteArray("00 01 01 04 00 00");
    QTest::newRow("negative delay first") << QStringList{delay(-50)} << QByteArray("00 01 00 01 00 01 00 00");
    QTest::newRow("longest delay keeps the longest pause")
        << QStringList{delay(2147483647)} << QByteArray("00 01 00 01 ff ff 00 00");
    QTest::newRow("KP 7 with its space")
        << QStringList{down(QStringLiteral("KP 7 "))} << QByteArray("00 01 01 5f 00 00");
    QTest::newRow("KP 7 without its space")
        << QStringList{down(QStringLiteral("KP 7"))} << QByteArray("00 01 00 00");
    QTest::newRow("arrow") << QStringList{up(QString(QChar(0x25BA)))} << QByteArray("00 01 81 4f 00 00");
    QTest::newRow("mouse button") << QStringList{down(QStringLiteral("MS-B5"))}
                                  << QByteArray("00 01 01 f4 00 00");
    QTest::newRow("tag case counts") << QStringList{QStringLiteral("A    [down]")}
                                     << QByteArray("00 01 00 00");
    QTest::newRow("another tag") << QStringList{QStringLiteral("A   [Press]")} << QByteArray("00 01 00 00");
    QTest::newRow("line shorter than a tag")
        << QStringList{QStringLiteral("[Down]"), QString()} << QByteArray("00 01 00 00");
    QTest::newRow("tag without a name") << QStringList{kMacroDownTag} << QByteArray("00 01 00 00");
}

void TestMacroEncoder::encodes()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    QCOMPARE(hex(encodeMacroLines(lines, keyNameMap)), bytes);
}

void TestMacroEncoder::blockTakesTheRepeatCount_data()
{
    QTest::addColumn<uint>("repeat");
    QTest::addColumn<QByteArray>("head");
    QTest::newRow("once") << 1u << QByteArray("00 01 01 04");
    QTest::newRow("300 times, big-endian") << 300u << QByteArray("01 2c 01 04");
    QTest::newRow("never") << 0u << QByteArray("00 00 01 04");
    QTest::newRow("beyond 16 bits keeps the low ones") << 0x12345u << QByteArray("23 45 01 04");
}

void TestMacroEncoder::blockTakesTheRepeatCount()
{
    QFETCH(uint, repeat);
    QFETCH(QByteArray, head);
    const MacroBlock block =
        macroDeviceBlock(encodeMacroLines({down(QStringLiteral("A"))}, keyNameMap), repeat);
    QCOMPARE(hex(block), head + " 00 00 " + zeros(kMacroBlockSize - 6));
}

void TestMacroEncoder::longMacrosAreCutAtAWholeEvent_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("encodedSize");
    QTest::addColumn<int>("kept"); // bytes of header and events in the block; zeros follow

    QTest::newRow("exactly 128 bytes go whole") << keyEvents(62) << 128 << 126;
    QTest::newRow("130 bytes lose the last event") << keyEvents(63) << 130 << 126;
    QTest::newRow("long pause across the end is dropped whole")
        << keyEvents(61) + QStringList{delay(100), delay(6000)} << 130 << 124;
    QTest::newRow("long pause past a full block") << keyEvents(62) + QStringList{delay(6000)} << 132 << 126;
    QTest::newRow("far too long") << keyEvents(300) << 604 << 126;
}

void TestMacroEncoder::longMacrosAreCutAtAWholeEvent()
{
    QFETCH(QStringList, lines);
    QFETCH(int, encodedSize);
    QFETCH(int, kept);
    const QList<uchar> encoded = encodeMacroLines(lines, keyNameMap);
    QCOMPARE(encoded.size(), encodedSize);
    const MacroBlock block = macroDeviceBlock(encoded, 1);
    QCOMPARE(hex(block).left(kept * 3 - 1), hex(encoded.mid(0, kept)));
    QCOMPARE(hex(block).mid(kept * 3), zeros(kMacroBlockSize - kept));
}

QTEST_GUILESS_MAIN(TestMacroEncoder)
#include "tst_macroencoder.moc"
