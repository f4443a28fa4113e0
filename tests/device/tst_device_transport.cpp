// The transport and the command set against the virtual mouse: the bytes on the wire.

#include "master.h"
#include "mousefixture.h"
#include "ms_ht66fb560.h"
#include "vmouse.h"
#include "wire.h"

#include <QTest>

#include <functional>
#include <memory>

using vmouse::WireKind;

using namespace wire;

namespace {

using Command = std::function<void(MS_HT66FB560 &)>;

// Every command with fixed arguments; reads go into throw-away outputs.
Command command(const QString &name)
{
    static Block block = pattern(3);
    static uchar value = 0;
    static QString text;
    const QHash<QString, Command> commands = {
        {QStringLiteral("01H"), [](MS_HT66FB560 &m) { m.hid_01H_SetFunctionOption(0x0F); }},
        {QStringLiteral("02H"), [](MS_HT66FB560 &m) { m.hid_02H_SetCurrentProfile(3); }},
        {QStringLiteral("03H"), [](MS_HT66FB560 &m) { m.hid_03H_SetReportRate(8, 1); }},
        {QStringLiteral("04H"), [](MS_HT66FB560 &m) { m.hid_04H_SetDPIStage(5, 2); }},
        {QStringLiteral("08H"), [](MS_HT66FB560 &m) { m.hid_08H_SetStopMacroSending(); }},
        {QStringLiteral("0CH"), [](MS_HT66FB560 &m) { m.hid_0CH_SetFwProfile(4, block.data()); }},
        {QStringLiteral("0DH"), [](MS_HT66FB560 &m) { m.hid_0DH_SetKeyMatrix(2, block.data()); }},
        {QStringLiteral("0FH"), [](MS_HT66FB560 &m) { m.hid_0FH_SetMacroKey(100, block.data()); }},
        {QStringLiteral("80H"), [](MS_HT66FB560 &m) { m.hid_80H_GetFWVersion(text); }},
        {QStringLiteral("81H"), [](MS_HT66FB560 &m) { m.hid_81H_GetFunctionOption(value); }},
        {QStringLiteral("82H"), [](MS_HT66FB560 &m) { m.hid_82H_GetCurrentProfile(value); }},
        {QStringLiteral("83H"), [](MS_HT66FB560 &m) { m.hid_83H_GetReportRate(value, 5); }},
        {QStringLiteral("84H"), [](MS_HT66FB560 &m) { m.hid_84H_GetDPIStage(value, 0); }},
        {QStringLiteral("89H"), [](MS_HT66FB560 &m) { m.hid_89H_GetRGBLedTwinkle(value); }},
        {QStringLiteral("8CH"), [](MS_HT66FB560 &m) { m.hid_8CH_GetFwProfile(1, block.data()); }},
        {QStringLiteral("8DH"), [](MS_HT66FB560 &m) { m.hid_8DH_GetKeyMatrix(3, block.data()); }},
        {QStringLiteral("8FH"), [](MS_HT66FB560 &m) { m.hid_8FH_GetMacroKey(1, block.data()); }},
    };
    return commands.value(name);
}

} // namespace

class TestDeviceTransport
    : public QObject
    , public support::MouseFixture
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void commandFrames_data();
    void commandFrames();
    void scrambledFrames_data() { commandFrames_data(); }
    void scrambledFrames();
    void zeroFrameChecksum();
    void readValues_data();
    void readValues();
    void firmwareVersion_data();
    void firmwareVersion();
    void blocks_data();
    void blocks();
    void pauses();
    void bit7Decides_data();
    void bit7Decides();
    void reportLengths_data();
    void reportLengths();
    void shortDataPhaseRead();
};

void TestDeviceTransport::init()
{
    resetMouse();
}

void TestDeviceTransport::cleanup()
{
    releaseMouse();
    QCOMPARE(vmouse::openHandleCount(), 0);
}

void TestDeviceTransport::commandFrames_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("kinds");

    const QString write = QStringLiteral("open fout close");
    const QString read = QStringLiteral("open fout fin close");
    const QString blockWrite = QStringLiteral("open fout out out close");
    const QString blockRead = QStringLiteral("open fout fin in in close");
    QTest::newRow("01H option 0F") << QStringLiteral("01H") << QByteArray("00 01 0f 00 00 00 00 00 ef")
                                   << write;
    QTest::newRow("02H profile 3") << QStringLiteral("02H") << QByteArray("00 02 03 00 00 00 00 00 fa")
                                   << write;
    QTest::newRow("03H rate 8 profile 1: profile first")
        << QStringLiteral("03H") << QByteArray("00 03 01 08 00 00 00 00 f3") << write;
    QTest::newRow("04H stage 5 profile 2: profile first")
        << QStringLiteral("04H") << QByteArray("00 04 02 05 00 00 00 00 f4") << write;
    QTest::newRow("08H fixed pattern")
        << QStringLiteral("08H") << QByteArray("00 08 aa cc ee 00 00 00 93") << write;
    QTest::newRow("0CH profile 4") << QStringLiteral("0CH") << QByteArray("00 0c 04 80 00 00 00 00 6f")
                                   << blockWrite;
    QTest::newRow("0DH profile 2") << QStringLiteral("0DH") << QByteArray("00 0d 02 80 00 00 00 00 70")
                                   << blockWrite;
    QTest::newRow("0FH macro 100") << QStringLiteral("0FH") << QByteArray("00 0f 64 80 00 00 00 00 0c")
                                   << blockWrite;
    QTest::newRow("80H") << QStringLiteral("80H") << QByteArray("00 80 00 00 00 00 00 00 7f") << read;
    QTest::newRow("81H") << QStringLiteral("81H") << QByteArray("00 81 00 00 00 00 00 00 7e") << read;
    QTest::newRow("82H") << QStringLiteral("82H") << QByteArray("00 82 00 00 00 00 00 00 7d") << read;
    QTest::newRow("83H profile 5") << QStringLiteral("83H") << QByteArray("00 83 05 00 00 00 00 00 77")
                                   << read;
    QTest::newRow("84H profile 0") << QStringLiteral("84H") << QByteArray("00 84 00 00 00 00 00 00 7b")
                                   << read;
    QTest::newRow("89H") << QStringLiteral("89H") << QByteArray("00 89 00 00 00 00 00 00 76") << read;
    QTest::newRow("8CH profile 1: no length byte")
        << QStringLiteral("8CH") << QByteArray("00 8c 01 00 00 00 00 00 72") << blockRead;
    QTest::newRow("8DH profile 3") << QStringLiteral("8DH") << QByteArray("00 8d 03 00 00 00 00 00 6f")
                                   << blockRead;
    QTest::newRow("8FH macro 1") << QStringLiteral("8FH") << QByteArray("00 8f 01 00 00 00 00 00 6f")
                                 << blockRead;
}

void TestDeviceTransport::commandFrames()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, frame);
    QFETCH(QString, kinds);

    ::command(command)(*m);
    const auto records = wire::commandRecords();
    QCOMPARE(wire::kinds(records), kinds);
    QCOMPARE(wire::hex(records.at(1).bytes), frame);
    QCOMPARE(vmouse::badChecksumCount(), 0);
    QCOMPARE(vmouse::protocolErrorCount(), 0);
}

void TestDeviceTransport::scrambledFrames()
{
    QFETCH(QString, command);
    QFETCH(QByteArray, frame);
    QFETCH(QString, kinds);

    DeviceOpenInfo info = wire::virtualMouse();
    info.hasCode = true;
    info.code = deviceCodeFromSCode(QStringLiteral("A1b2C3"));
    vmouse::setCode("A1b2C3");
    open(info);

    ::command(command)(*m);
    const auto records = wire::commandRecords();
    // The firmware only answers and takes blocks for frames it could unscramble.
    QCOMPARE(wire::kinds(records), kinds);
    QCOMPARE(vmouse::badChecksumCount(), 0);

    std::vector<std::uint8_t> sent = records.at(1).bytes;
    QCOMPARE(sent.size(), kFrameSize);
    QCOMPARE(sent[0], std::uint8_t(0x00));
    QVERIFY(wire::hex(sent) != frame);
    const std::uint8_t code[7] = {0, 'A', '1', 'b', '2', 'C', '3'};
    vmouse::unscrambleFrame(sent.data() + 1, code);
    QCOMPARE(wire::hex(sent), frame);
}

void TestDeviceTransport::zeroFrameChecksum()
{
    Frame frame{};
    m->hid_SetCmd(frame.data());
    QCOMPARE(int(frame[kFrameChecksumByte]), 0xFF);
    const auto out = wire::ofKind(wire::commandRecords(), WireKind::FeatureOut);
    QCOMPARE(out.size(), 1);
    QCOMPARE(wire::hex(out.at(0).bytes), QByteArray("00 00 00 00 00 00 00 00 ff"));
}

void TestDeviceTransport::readValues_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("expected");

    QTest::newRow("81H option") << QStringLiteral("81H") << 0x0F;
    QTest::newRow("82H current profile") << QStringLiteral("82H") << 4;
    QTest::newRow("83H rate of profile 2, byte 3") << QStringLiteral("83H") << 12;
    QTest::newRow("84H stage of profile 5, byte 3") << QStringLiteral("84H") << 25;
    QTest::newRow("89H twinkle type") << QStringLiteral("89H") << 3;
}

void TestDeviceTransport::readValues()
{
    QFETCH(QString, command);
    QFETCH(int, expected);

    vmouse::setOptionByte(0x0F);
    vmouse::setCurrentProfile(4);
    vmouse::setTwinkleType(3);
    for (int p = 0; p < 6; ++p) {
        vmouse::setReportRate(p, std::uint8_t(10 + p));
        vmouse::setDpiStage(p, std::uint8_t(20 + p));
    }

    uchar value = 0;
    bool ok = false;
    if (command == QLatin1String("81H"))
        ok = m->hid_81H_GetFunctionOption(value);
    else if (command == QLatin1String("82H"))
        ok = m->hid_82H_GetCurrentProfile(value);
    else if (command == QLatin1String("83H"))
        ok = m->hid_83H_GetReportRate(value, 2);
    else if (command == QLatin1String("84H"))
        ok = m->hid_84H_GetDPIStage(value, 5);
    else
        ok = m->hid_89H_GetRGBLedTwinkle(value);
    QVERIFY(ok);
    QCOMPARE(int(value), expected);
}

void TestDeviceTransport::firmwareVersion_data()
{
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<QString>("expected");

    QTest::newRow("01 0A") << 0x01 << 0x0A << QStringLiteral("1.0A");
    QTest::newRow("1B 05") << 0x1B << 0x05 << QStringLiteral("1b.05");
}

void TestDeviceTransport::firmwareVersion()
{
    QFETCH(int, high);
    QFETCH(int, low);
    QFETCH(QString, expected);

    vmouse::setFirmwareVersion(std::uint8_t(high), std::uint8_t(low));
    QString version;
    QVERIFY(m->hid_80H_GetFWVersion(version));
    QCOMPARE(version, expected);
}

void TestDeviceTransport::blocks_data()
{
    QTest::addColumn<int>("opcode");
    QTest::addColumn<int>("id");

    QTest::newRow("0CH profile 4") << 0x0C << 4;
    QTest::newRow("0DH key matrix 2") << 0x0D << 2;
    QTest::newRow("0FH macro 100") << 0x0F << 100;
    QTest::newRow("8CH profile 1") << 0x8C << 1;
    QTest::newRow("8DH key matrix 3") << 0x8D << 3;
    QTest::newRow("8FH macro 1") << 0x8F << 1;
}

void TestDeviceTransport::blocks()
{
    QFETCH(int, opcode);
    QFETCH(int, id);
    const Block sent = pattern(id);
    const auto uid = uchar(id);

    Block got{};
    switch (opcode) {
    case 0x0C:
        m->hid_0CH_SetFwProfile(uid, const_cast<uchar *>(sent.data()));
        got = fromVmouse(vmouse::profileBlock(id));
        break;
    case 0x0D:
        m->hid_0DH_SetKeyMatrix(uid, const_cast<uchar *>(sent.data()));
        got = fromVmouse(vmouse::keyMatrix(id));
        break;
    case 0x0F:
        m->hid_0FH_SetMacroKey(uid, const_cast<uchar *>(sent.data()));
        got = fromVmouse(vmouse::macroBlock(id));
        break;
    case 0x8C:
        vmouse::setProfileBlock(id, toVmouse(sent));
        QVERIFY(m->hid_8CH_GetFwProfile(uid, got.data()));
        break;
    case 0x8D:
        vmouse::setKeyMatrix(id, toVmouse(sent));
        QVERIFY(m->hid_8DH_GetKeyMatrix(uid, got.data()));
        break;
    default:
        vmouse::setMacroBlock(id, toVmouse(sent));
        QVERIFY(m->hid_8FH_GetMacroKey(uid, got.data()));
        break;
    }
    QCOMPARE(hex(got.data(), got.size()), hex(sent.data(), sent.size()));

    // A block is exactly two reports of 64 data bytes; output reports lead with report ID 0.
    const auto records = wire::commandRecords();
    const bool write = !isReadOpcode(uchar(opcode));
    const auto reports = wire::ofKind(records, write ? WireKind::OutputReport : WireKind::InputReport);
    QCOMPARE(reports.size(), 2);
    QByteArray payload;
    for (const auto &r : reports) {
        QCOMPARE(int(r.bytes.size()), write ? 65 : 64);
        if (write)
            QCOMPARE(r.bytes[0], std::uint8_t(0));
        payload += QByteArray(reinterpret_cast<const char *>(r.bytes.data()) + (write ? 1 : 0), 64);
    }
    QCOMPARE(payload.toHex(' '), hex(sent.data(), sent.size()));
}

void TestDeviceTransport::pauses()
{
    // Sleeps never return early, so lower bounds hold on any machine.
    Block block = pattern(1);
    m->hid_0CH_SetFwProfile(0, block.data());
    auto records = wire::commandRecords();
    QCOMPARE(wire::kinds(records), QStringLiteral("open fout out out close"));
    QVERIFY2(records.at(2).timeUs - records.at(1).timeUs >= 29000, "settle pause before the data phase");
    QVERIFY2(records.at(3).timeUs - records.at(2).timeUs >= 9000, "pause after the first output report");
    QVERIFY2(records.at(4).timeUs - records.at(3).timeUs >= 9000, "pause after the last output report");

    vmouse::clearWireLog();
    QVERIFY(m->hid_8CH_GetFwProfile(0, block.data()));
    records = wire::commandRecords();
    QCOMPARE(wire::kinds(records), QStringLiteral("open fout fin in in close"));
    QVERIFY2(records.at(2).timeUs - records.at(1).timeUs < 29000, "no pause between the feature reports");
    QVERIFY2(records.at(3).timeUs - records.at(2).timeUs >= 29000, "settle pause before the data phase");
}

void TestDeviceTransport::bit7Decides_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("kinds");

    QTest::newRow("hid_SetCmd with read opcode 82H fetches a reply")
        << QStringLiteral("SetCmd") << QByteArray::fromHex("008200") << 0
        << QStringLiteral("open fout fin close");
    QTest::newRow("hid_GetCmd with write opcode 02H fetches none")
        << QStringLiteral("GetCmd") << QByteArray::fromHex("000201") << 0
        << QStringLiteral("open fout close");
    QTest::newRow("hid_SetDataCmd with read opcode 8CH reads the block")
        << QStringLiteral("SetDataCmd") << QByteArray::fromHex("008c01") << 128
        << QStringLiteral("open fout fin in in close");
    QTest::newRow("hid_GetDataCmd with write opcode 0CH writes the block")
        << QStringLiteral("GetDataCmd") << QByteArray::fromHex("000c0180") << 128
        << QStringLiteral("open fout out out close");
    QTest::newRow("hid_GetDataCmd with length 0: feature reports only")
        << QStringLiteral("GetDataCmd") << QByteArray::fromHex("008c01") << 0
        << QStringLiteral("open fout fin close");
    QTest::newRow("hid_SetDataCmd with length 0: feature report only")
        << QStringLiteral("SetDataCmd") << QByteArray::fromHex("000c0180") << 0
        << QStringLiteral("open fout close");
}

void TestDeviceTransport::bit7Decides()
{
    QFETCH(QString, slot);
    QFETCH(QByteArray, frame);
    QFETCH(int, length);
    QFETCH(QString, kinds);

    Frame src9{};
    std::copy(frame.begin(), frame.end(), src9.begin());
    Block data = pattern(9);
    bool ok = true;
    if (slot == QLatin1String("SetCmd"))
        m->hid_SetCmd(src9.data());
    else if (slot == QLatin1String("GetCmd"))
        ok = m->hid_GetCmd(src9.data());
    else if (slot == QLatin1String("SetDataCmd"))
        m->hid_SetDataCmd(src9.data(), data.data(), length);
    else
        ok = m->hid_GetDataCmd(src9.data(), data.data(), length);
    QVERIFY(ok);
    QCOMPARE(wire::kinds(wire::commandRecords()), kinds);
}

void TestDeviceTransport::reportLengths_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("reports");

    QTest::newRow("64: two reports") << 64 << 2;
    QTest::newRow("200, above the data length: one report") << 200 << 1;
    QTest::newRow("48: a short last report padded with zeros") << 48 << 3;
    QTest::newRow("512: the largest report") << 512 << 1;
}

void TestDeviceTransport::reportLengths()
{
    QFETCH(int, reportLength);
    QFETCH(int, reports);

    open(wire::virtualMouse(quint32(reportLength)));
    Block block = pattern(5);
    m->hid_0CH_SetFwProfile(2, block.data());

    const auto out = wire::ofKind(wire::commandRecords(), WireKind::OutputReport);
    QCOMPARE(out.size(), reports);
    QByteArray payload;
    for (const auto &r : out) {
        QCOMPARE(int(r.bytes.size()), reportLength + 1);
        QCOMPARE(r.bytes[0], std::uint8_t(0));
        payload += QByteArray(reinterpret_cast<const char *>(r.bytes.data()) + 1, reportLength);
    }
    QByteArray expected(reinterpret_cast<const char *>(block.data()), qsizetype(block.size()));
    expected.append(QByteArray(payload.size() - expected.size(), '\0'));
    QCOMPARE(payload.toHex(' '), expected.toHex(' '));
}

void TestDeviceTransport::shortDataPhaseRead()
{
    // A data phase shorter than one report takes what it needs from the first report.
    vmouse::setProfileBlock(3, toVmouse(pattern(11)));
    Frame src9 = makeFrame(Opcode::GetFwProfile, {3});
    Block data{};
    QVERIFY(m->hid_GetDataCmd(src9.data(), data.data(), 32));
    QCOMPARE(wire::ofKind(wire::commandRecords(), WireKind::InputReport).size(), 1);
    const Block expected = pattern(11);
    QCOMPARE(hex(data.data(), 32), hex(expected.data(), 32));
    QCOMPARE(hex(data.data() + 32, 96), QByteArray(96, '\0').toHex(' '));
}

QTEST_GUILESS_MAIN(TestDeviceTransport)
#include "tst_device_transport.moc"
