// Pure protocol code: checksum, scrambler, device code and the supported-device list.

#include "bytes.h"
#include "deviceinfo.h"
#include "wire/frame.h"
#include "wire/scrambler.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using support::hex;

namespace {

DeviceCode codeOf(const char *sixChars)
{
    DeviceCode code{};
    for (std::size_t i = 0; i < 6 && sixChars[i]; ++i)
        code[i + 1] = static_cast<uchar>(sixChars[i]);
    return code;
}

} // namespace

class TestDeviceProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checksum_data();
    void checksum();
    void scramble_data();
    void scramble();
    void deviceCode_data();
    void deviceCode();
    void hexValue_data();
    void hexValue();
    void shippedList();
    void deviceList_data();
    void deviceList();
    void firmwareVersion_data();
    void firmwareVersion();
};

void TestDeviceProtocol::checksum_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("expected");

    QTest::newRow("all-zero frame") << QByteArray::fromHex("000000000000000000") << 0xFF;
    QTest::newRow("02H profile 1") << QByteArray::fromHex("000201000000000000") << 0xFC;
    QTest::newRow("08H stop macro") << QByteArray::fromHex("0008aaccee00000000") << 0x93;
    QTest::newRow("03H rate 8 profile 1") << QByteArray::fromHex("000301080000000000") << 0xF3;
    QTest::newRow("sum wraps past 255") << QByteArray::fromHex("00ffffffffffffff00") << 0x06;
    QTest::newRow("report ID and old checksum ignored") << QByteArray::fromHex("550201000000000077") << 0xFC;
}

void TestDeviceProtocol::checksum()
{
    QFETCH(QByteArray, frame);
    QFETCH(int, expected);
    auto *bytes = reinterpret_cast<uchar *>(frame.data());
    setFrameChecksum(bytes);
    QCOMPARE(int(bytes[kFrameChecksumByte]), expected);
}

void TestDeviceProtocol::scramble_data()
{
    QTest::addColumn<QByteArray>("input"); // frame bytes 1..8
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("expected");

    // Worked by hand from the four steps; nibble-swapped key "VbQmTpLs" = 65 26 15 D6 45 07 C4 37.
    //   in       03 01 08 00 00 00 00 F3
    //   swapped  00 00 F3 00 01 03 00 08   (b0<->b5, b1<->b4, b2<->b7, b3<->b6)
    //   xored    00 41 C2 62 33 40 33 08   (bytes 1..6 ^ "A1b2C3" = 41 31 62 32 43 33)
    //   rotated  02 0E 13 11 9A 01 98 40   (64 bits left by 3)
    //   added    67 34 28 E7 DF 08 5C 77
    QTest::newRow("03H rate 8 profile 1, code A1b2C3")
        << QByteArray::fromHex("03010800000000f3") << QByteArray("A1b2C3")
        << QByteArray::fromHex("673428e7df085c77");
    //   in       08 AA CC EE 00 00 00 93
    //   swapped  00 00 93 00 AA 08 EE CC
    //   xored    00 76 F6 73 C1 38 DF CC   ("vesk01" = 76 65 73 6B 30 31)
    //   rotated  03 B7 B3 9E 09 C6 FE 60
    //   added    68 DD C8 74 4E CD C2 97
    QTest::newRow("08H stop macro, code vesk01")
        << QByteArray::fromHex("08aaccee00000093") << QByteArray("vesk01")
        << QByteArray::fromHex("68ddc8744ecdc297");
    //   in       00 00 00 00 00 00 00 FF
    //   swapped  00 00 FF 00 00 00 00 00, xor with a zero code changes nothing
    //   rotated  00 07 F8 00 00 00 00 00
    //   added    65 2D 0D D6 45 07 C4 37
    QTest::newRow("all-zero frame, zero code")
        << QByteArray::fromHex("00000000000000ff") << QByteArray() << QByteArray::fromHex("652d0dd64507c437");
}

void TestDeviceProtocol::scramble()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, code);
    QFETCH(QByteArray, expected);
    auto *bytes = reinterpret_cast<uchar *>(input.data());
    scrambleFrame(bytes, codeOf(code.constData()));
    QCOMPARE(input.toHex(' '), expected.toHex(' '));
}

void TestDeviceProtocol::deviceCode_data()
{
    QTest::addColumn<QString>("sCode");
    QTest::addColumn<QByteArray>("expected"); // bytes 0..6

    QTest::newRow("empty") << QString() << QByteArray(7, '\0');
    QTest::newRow("six characters") << QStringLiteral("A1b2C3") << QByteArray("\0A1b2C3", 7);
    QTest::newRow("five characters") << QStringLiteral("A1b2C") << QByteArray(7, '\0');
    QTest::newRow("seven characters") << QStringLiteral("A1b2C3d") << QByteArray(7, '\0');
    QTest::newRow("reserved word") << QStringLiteral("k-vantor") << QByteArray(7, '\0');
}

void TestDeviceProtocol::deviceCode()
{
    QFETCH(QString, sCode);
    QFETCH(QByteArray, expected);
    const DeviceCode code = deviceCodeFromSCode(sCode);
    QCOMPARE(hex(code.data(), int(code.size())), expected.toHex(' '));
}

void TestDeviceProtocol::hexValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("lower case") << QStringLiteral("a1e8") << 0xa1e8;
    QTest::newRow("upper case") << QStringLiteral("FF00") << 0xff00;
    QTest::newRow("leading zeros") << QStringLiteral("0001") << 1;
    QTest::newRow("kept in 16 bits") << QStringLiteral("1ff01") << 0xff01;
    QTest::newRow("not hexadecimal") << QStringLiteral("zz") << 0;
    QTest::newRow("empty") << QString() << 0;
}

void TestDeviceProtocol::hexValue()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(int(parseHexValue(text)), expected);
}

void TestDeviceProtocol::shippedList()
{
    QFile file(QStringLiteral(":/DevInfo.ini"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));

    const QList<DeviceInfo> list =
        readDeviceList(QStringLiteral(":/DevInfo.ini"), {QStringLiteral("first"), QStringLiteral("second")});
    QCOMPARE(list.size(), 2);
    const quint16 expected[2][6] = {{0x04d9, 0x8008, 0xff01, 0x0001, 0xff02, 0x0001},
                                    {0x04d9, 0xa1e8, 0xff00, 0xff00, 0xff01, 0x0001}};
    for (int i = 0; i < 2; ++i) {
        const DeviceInfo &e = list.at(i);
        const quint16 got[6] = {e.vid, e.pid, e.usagePage, e.usage, e.usagePage2, e.usage2};
        for (int k = 0; k < 6; ++k)
            QCOMPARE(got[k], expected[i][k]);
        QCOMPARE(e.reportLength, 64u);
        QVERIFY(e.sCode.isEmpty());
    }
    QCOMPARE(list.at(1).productName, QStringLiteral("second"));
}

void TestDeviceProtocol::deviceList_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("lastEntry"); // vid pid up up2 u2 reportLength sCode | name

    QTest::newRow("missing keys read as 0") << QByteArray("[common]\r\ntotal=1\r\n[0]\r\npid=a1e8\r\n")
                                            << QStringList() << 1 << QStringLiteral("0 a1e8 0 0 0 0 0 '' ''");
    QTest::newRow("unparsable values read as 0")
        << QByteArray("[common]\r\ntotal=1\r\n[0]\r\nvid=xyz\r\npid=a1e8\r\nreportLength=lots\r\n")
        << QStringList() << 1 << QStringLiteral("0 a1e8 0 0 0 0 0 '' ''");
    QTest::newRow("name from the product list, code kept as text")
        << QByteArray("[common]\r\ntotal=1\r\n[0]\r\nvid=04d9\r\nsCode=A1b2C3\r\nreportLength=32\r\n")
        << QStringList{QStringLiteral("Vesk")} << 1 << QStringLiteral("4d9 0 0 0 0 0 32 'A1b2C3' 'Vesk'");
    QTest::newRow("short product list leaves the name empty")
        << QByteArray("[common]\r\ntotal=2\r\n[1]\r\nsCode=\"\"\r\n") << QStringList{QStringLiteral("only")}
        << 2 << QStringLiteral("0 0 0 0 0 0 0 '' ''");
    QTest::newRow("no total") << QByteArray("[0]\r\nvid=04d9\r\n") << QStringList() << 0 << QString();
    QTest::newRow("negative total") << QByteArray("[common]\r\ntotal=-3\r\n") << QStringList() << 0
                                    << QString();
    QTest::newRow("absurd total is capped") << QByteArray("[common]\r\ntotal=2000000000\r\n") << QStringList()
                                            << kMaxDeviceListEntries << QStringLiteral("0 0 0 0 0 0 0 '' ''");
    QTest::newRow("not an INI file") << QByteArray("\x01\x02garbage\x00\xff", 12) << QStringList() << 0
                                     << QString();
}

void TestDeviceProtocol::deviceList()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, names);
    QFETCH(int, count);
    QFETCH(QString, lastEntry);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("DevInfo.ini"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ini);
    file.close();

    const QList<DeviceInfo> list = readDeviceList(path, names);
    QCOMPARE(list.size(), count);
    if (count == 0)
        return;
    const DeviceInfo &e = list.last();
    const QString got = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 '%8' '%9'")
                            .arg(e.vid, 0, 16)
                            .arg(e.pid, 0, 16)
                            .arg(e.usagePage, 0, 16)
                            .arg(e.usage, 0, 16)
                            .arg(e.usagePage2, 0, 16)
                            .arg(e.usage2, 0, 16)
                            .arg(e.reportLength)
                            .arg(e.sCode, e.productName);
    QCOMPARE(got, lastEntry);
}

void TestDeviceProtocol::firmwareVersion_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<QString>("expected");

    QTest::newRow("01 0A") << 0x01 << 0x0A << QStringLiteral("1.0A");
    QTest::newRow("1B 05") << 0x1B << 0x05 << QStringLiteral("1b.05");
    QTest::newRow("00 00") << 0x00 << 0x00 << QStringLiteral("0.00");
    QTest::newRow("FF FF") << 0xFF << 0xFF << QStringLiteral("ff.FF");
}

void TestDeviceProtocol::firmwareVersion()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(QString, expected);
    QCOMPARE(firmwareVersionText(uchar(major), uchar(minor)), expected);
}

QTEST_GUILESS_MAIN(TestDeviceProtocol)
#include "tst_device_protocol.moc"
