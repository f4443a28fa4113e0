// Tests of the virtual mouse itself, through the hidapi functions the program calls and the control API.

#include "vmousetest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <hidapi/hidapi.h>

#include <atomic>
#include <cstdlib>
#include <thread>

using namespace vmousetest;

namespace {

// The host's scrambler, written here from its steps so the mouse's inverse is checked against it.
void scramble(std::uint8_t b[8], const std::uint8_t code[7])
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];
    std::uint64_t v = 0;
    for (int j = 0; j < 8; ++j)
        v = v << 8 | b[j];
    v = v << 3 | v >> 61;
    for (int j = 0; j < 8; ++j)
        b[j] = static_cast<std::uint8_t>(v >> (56 - 8 * j));
    const char key[] = "VbQmTpLs";
    for (int j = 0; j < 8; ++j) {
        const auto k = static_cast<std::uint8_t>(key[j]);
        b[j] = static_cast<std::uint8_t>(b[j] + static_cast<std::uint8_t>(k << 4 | k >> 4));
    }
}

} // namespace

class TestVmouse : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_statePath;
    QString m_wireLogPath;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The library reads its environment at first use, which has not happened yet in this process.
        m_statePath = m_dir.filePath(QStringLiteral("mouse.state"));
        m_wireLogPath = m_dir.filePath(QStringLiteral("wire.log"));
        QFile seed(m_statePath);
        QVERIFY(seed.open(QIODevice::WriteOnly));
        seed.write("[device]\ncurrent_profile=4\n[profile2]\nrate=8\nblock=" + bytes(pattern(2)).toHex() +
                   "\n");
        seed.close();
        qputenv("VESK_VMOUSE_STATE", m_statePath.toLocal8Bit());
        qputenv("VESK_VMOUSE_WIRELOG", m_wireLogPath.toLocal8Bit());
        qputenv("VESK_VMOUSE_ENTRY0", "1");
        qputenv("VESK_VMOUSE_WEDGED_MS", "30");

        QCOMPARE(vmouse::currentProfile(), 4);
        QCOMPARE(int(vmouse::reportRate(2)), 8);
        QCOMPARE(bytes(vmouse::profileBlock(2)), bytes(pattern(2)));
        QCOMPARE(enumeratedPaths(0x04d9, 0x8008).size(), 2);
        {
            // Started wedged: the mouse is there, but a command runs into its time-out.
            Handle h;
            QVERIFY(h.dev);
            QElapsedTimer timer;
            timer.start();
            QCOMPARE(hid_send_feature_report(h.dev, frame(0x02, 1).data(), 9), -1);
            QVERIFY(timer.elapsed() >= 25);
        }
        vmouse::setWedged(0);
        QVERIFY(sendFrame(frame(0x02, 1)));
        QFile log(m_wireLogPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("feature-out vmouse:04d9:a1e8:cmd ok [00 02 01 00 00 00 00 00 fc]"));
    }

    void init() { vmouse::reset(); }

    void cleanup() { QCOMPARE(vmouse::openHandleCount(), 0); }

    void blocksKeptPerTarget_data()
    {
        QTest::addColumn<int>("writeOp");
        QTest::addColumn<int>("index");
        QTest::newRow("profile block of profile 0") << 0x0C << 0;
        QTest::newRow("profile block of profile 5") << 0x0C << 5;
        QTest::newRow("key matrix of profile 3") << 0x0D << 3;
        QTest::newRow("first macro") << 0x0F << 1;
        QTest::newRow("last macro") << 0x0F << 100;
    }
    void blocksKeptPerTarget()
    {
        QFETCH(int, writeOp);
        QFETCH(int, index);
        writeBlock(std::uint8_t(writeOp), std::uint8_t(index), pattern(index));
        const Bytes expected = bytes(pattern(index));
        QCOMPARE(readBlock(std::uint8_t(writeOp | 0x80), std::uint8_t(index)), expected);

        const Bytes zero(vmouse::kBlockLength, '\0');
        for (int i = 0; i <= 100; ++i) {
            const bool self = i == index;
            if (i < vmouse::kProfileCount) {
                QCOMPARE(bytes(vmouse::profileBlock(i)), writeOp == 0x0C && self ? expected : zero);
                QCOMPARE(bytes(vmouse::keyMatrix(i)), writeOp == 0x0D && self ? expected : zero);
            }
            if (i >= 1)
                QCOMPARE(bytes(vmouse::macroBlock(i)), writeOp == 0x0F && self ? expected : zero);
        }
        QCOMPARE(vmouse::protocolErrorCount(), 0);
    }

    void valuesKeptAndReported_data()
    {
        QTest::addColumn<Bytes>(
            "write"); // bytes 1..3 of a write frame, empty = seeded through the control API
        QTest::addColumn<Bytes>("read");    // bytes 1..2 of the read frame
        QTest::addColumn<int>("valueByte"); // where the reply carries the value
        QTest::addColumn<int>("value");
        QTest::newRow("option byte") << Bytes("\x01\x0f\x00", 3) << Bytes("\x81\x00", 2) << 2 << 0x0F;
        QTest::newRow("current profile") << Bytes("\x02\x05\x00", 3) << Bytes("\x82\x00", 2) << 2 << 5;
        QTest::newRow("report rate, profile before rate")
            << Bytes("\x03\x04\x08", 3) << Bytes("\x83\x04", 2) << 3 << 8;
        QTest::newRow("dpi stage, profile before stage")
            << Bytes("\x04\x02\x07", 3) << Bytes("\x84\x02", 2) << 3 << 7;
        QTest::newRow("twinkle type") << Bytes() << Bytes("\x89\x00", 2) << 2 << 0x33;
        QTest::newRow("firmware version high") << Bytes() << Bytes("\x80\x00", 2) << 2 << 0x1B;
        QTest::newRow("firmware version low") << Bytes() << Bytes("\x80\x00", 2) << 3 << 0x05;
    }
    void valuesKeptAndReported()
    {
        QFETCH(Bytes, write);
        QFETCH(Bytes, read);
        QFETCH(int, valueByte);
        QFETCH(int, value);
        vmouse::setTwinkleType(0x33);
        vmouse::setFirmwareVersion(0x1B, 0x05);
        if (!write.isEmpty())
            QVERIFY(sendFrame(frame(std::uint8_t(write[0]), std::uint8_t(write[1]), std::uint8_t(write[2]))));
        const auto reply = query(std::uint8_t(read[0]), std::uint8_t(read[1]));
        QCOMPARE(int(reply[1]), int(std::uint8_t(read[0])));
        QCOMPARE(int(reply[valueByte]), value);
        QCOMPARE(reply[8], frame(reply[1], reply[2], reply[3])[8]);
    }

    void badFramesIgnored_data()
    {
        QTest::addColumn<Bytes>("frameBytes"); // bytes 1..3; the checksum is right unless corrupt
        QTest::addColumn<bool>("corrupt");
        QTest::addColumn<int>("badChecksums");
        QTest::addColumn<int>("protocolErrors");
        QTest::newRow("wrong checksum") << Bytes("\x02\x03\x00", 3) << true << 1 << 0;
        QTest::newRow("profile index 6") << Bytes("\x02\x06\x00", 3) << false << 0 << 1;
        QTest::newRow("rate for profile 255") << Bytes("\x03\xff\x01", 3) << false << 0 << 1;
        QTest::newRow("block write to profile 6") << Bytes("\x0c\x06\x80", 3) << false << 0 << 1;
        QTest::newRow("macro id 0") << Bytes("\x0f\x00\x80", 3) << false << 0 << 1;
        QTest::newRow("macro id 101") << Bytes("\x0f\x65\x80", 3) << false << 0 << 1;
        QTest::newRow("block read of macro 101") << Bytes("\x8f\x65\x00", 3) << false << 0 << 1;
        QTest::newRow("unknown opcode") << Bytes("\x55\x00\x00", 3) << false << 0 << 1;
    }
    void badFramesIgnored()
    {
        QFETCH(Bytes, frameBytes);
        QFETCH(bool, corrupt);
        QFETCH(int, badChecksums);
        QFETCH(int, protocolErrors);
        vmouse::setProfileBlock(5, pattern(5));
        auto f = frame(std::uint8_t(frameBytes[0]), std::uint8_t(frameBytes[1]), std::uint8_t(frameBytes[2]));
        if (corrupt)
            f[8] ^= 0x01;
        QVERIFY(sendFrame(f));
        {
            // Data reports that follow an ignored block write land nowhere.
            Handle h;
            std::uint8_t report[65] = {0};
            std::fill(report + 1, report + 65, 0xEE);
            hid_write(h.dev, report, sizeof report);
            std::uint8_t in[64];
            QCOMPARE(hid_read_timeout(h.dev, in, sizeof in, 0), 0);
        }
        QCOMPARE(vmouse::badChecksumCount(), badChecksums);
        QCOMPARE(vmouse::protocolErrorCount(), protocolErrors + 1); // + the stray data report
        QCOMPARE(vmouse::currentProfile(), 0);
        QCOMPARE(int(vmouse::reportRate(0)), 1);
        QCOMPARE(bytes(vmouse::profileBlock(5)), bytes(pattern(5)));
        QCOMPARE(bytes(vmouse::macroBlock(100)), Bytes(vmouse::kBlockLength, '\0'));
    }

    void profileFlagsKeptApartFromProfile()
    {
        writeBlock(0x0C, 0x11, pattern(7));
        QCOMPARE(int(vmouse::lastFlags()), 0x10);
        QCOMPARE(bytes(vmouse::profileBlock(1)), bytes(pattern(7)));
        writeBlock(0x0C, 0x01, pattern(8));
        QCOMPARE(int(vmouse::lastFlags()), 0);
    }

    void brokenBlockKeepsStoredBlock()
    {
        vmouse::setKeyMatrix(2, pattern(2));
        writeBlock(0x0D, 2, pattern(9), 1); // the handle closes after half the block
        QCOMPARE(bytes(vmouse::keyMatrix(2)), bytes(pattern(2)));
        QCOMPARE(vmouse::protocolErrorCount(), 1);
    }

    void stopMacroCounted()
    {
        QVERIFY(sendFrame(frame(0x08, 0xAA, 0xCC, 0xEE)));
        QVERIFY(sendFrame(frame(0x08, 0xAA, 0xCC, 0x00)));
        QCOMPARE(vmouse::stopMacroCount(), 1);
    }

    void scrambledFramesUnscrambled_data()
    {
        QTest::addColumn<Bytes>("plain"); // frame bytes 1..7
        QTest::newRow("set current profile") << Bytes("\x02\x03\0\0\0\0\0", 7);
        QTest::newRow("all bits set") << Bytes("\xff\xff\xff\xff\xff\xff\xff", 7);
        QTest::newRow("all zero") << Bytes(7, '\0');
        QTest::newRow("stop macro") << Bytes("\x08\xaa\xcc\xee\0\0\0", 7);
    }
    void scrambledFramesUnscrambled()
    {
        QFETCH(Bytes, plain);
        const std::uint8_t code[7] = {0, 'Q', 'x', '7', '#', 'p', 'K'};
        const auto p = reinterpret_cast<const std::uint8_t *>(plain.constData());
        auto f = frame(p[0], p[1], p[2], p[3], p[4], p[5], p[6]);
        const auto original = f;
        scramble(f.data() + 1, code);
        QVERIFY(f != original);
        vmouse::unscrambleFrame(f.data() + 1, code);
        QCOMPARE(Bytes(reinterpret_cast<const char *>(f.data()), 9),
                 Bytes(reinterpret_cast<const char *>(original.data()), 9));
    }

    void scrambledFrameAccepted()
    {
        vmouse::setCode("Qx7#pK");
        // 02 03 00 00 00 00 00 fa scrambled with that code, worked out by hand from the scrambler's steps.
        const std::uint8_t wire[9] = {0x00, 0x67, 0xb2, 0x26, 0x8f, 0x48, 0x99, 0x1c, 0x37};
        {
            Handle h;
            QCOMPARE(hid_send_feature_report(h.dev, wire, sizeof wire), 9);
        }
        QCOMPARE(vmouse::currentProfile(), 3);
        QCOMPARE(vmouse::badChecksumCount(), 0);
        QVERIFY(sendFrame(frame(0x02, 0x04))); // unscrambled: garbage to a mouse with a code
        QCOMPARE(vmouse::currentProfile(), 3);
        QCOMPARE(vmouse::badChecksumCount(), 1);
    }

    void stateFileRoundTrip()
    {
        vmouse::setProfileBlock(3, pattern(3));
        vmouse::setKeyMatrix(0, pattern(4));
        vmouse::setMacroBlock(42, pattern(42));
        vmouse::setCurrentProfile(2);
        vmouse::setReportRate(5, 4);
        vmouse::setDpiStage(1, 6);
        vmouse::setOptionByte(0x0F);
        vmouse::setTwinkleType(1);
        vmouse::setFirmwareVersion(0x02, 0x10);
        const QString path = m_dir.filePath(QStringLiteral("roundtrip.state"));
        QVERIFY(vmouse::saveState(path.toStdString()));
        vmouse::reset();
        QVERIFY(vmouse::loadState(path.toStdString()));
        QCOMPARE(bytes(vmouse::profileBlock(3)), bytes(pattern(3)));
        QCOMPARE(bytes(vmouse::keyMatrix(0)), bytes(pattern(4)));
        QCOMPARE(bytes(vmouse::macroBlock(42)), bytes(pattern(42)));
        QCOMPARE(vmouse::currentProfile(), 2);
        QCOMPARE(int(vmouse::reportRate(5)), 4);
        QCOMPARE(int(vmouse::dpiStage(1)), 6);
        QCOMPARE(int(vmouse::optionByte()), 0x0F);
        QCOMPARE(int(vmouse::twinkleType()), 1);
        QCOMPARE(int(vmouse::firmwareVersion()[1]), 0x10);
    }

    void malformedStateFileKeepsState_data()
    {
        QTest::addColumn<Bytes>("text");
        QTest::newRow("block one byte short") << Bytes("[profile1]\nblock=" + Bytes(254, 'a') + "\nrate=2\n");
        QTest::newRow("block with a stray character")
            << Bytes("[profile1]\nblock=" + Bytes(253, 'a') + "xx\nrate=2\n");
        QTest::newRow("profile out of range") << Bytes("[profile6]\nrate=9\n[profile1]\nrate=2\n");
        QTest::newRow("current profile out of range")
            << Bytes("[device]\ncurrent_profile=6\n[profile1]\nrate=2\n");
        QTest::newRow("line without equals sign") << Bytes("[profile1]\nblock\nrate=2\n");
        QTest::newRow("rate too large") << Bytes("[profile1]\nrate=256\nrate=2\n");
    }
    void malformedStateFileKeepsState()
    {
        QFETCH(Bytes, text);
        vmouse::setProfileBlock(1, pattern(1));
        const QString path = m_dir.filePath(QStringLiteral("malformed.state"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        QVERIFY(vmouse::loadState(path.toStdString()));
        QCOMPARE(bytes(vmouse::profileBlock(1)), bytes(pattern(1)));
        QCOMPARE(vmouse::currentProfile(), 0);
        QCOMPARE(int(vmouse::reportRate(1)), 2); // the good lines still count
        QVERIFY(!vmouse::loadState(m_dir.filePath(QStringLiteral("missing.state")).toStdString()));
    }

    void stateFileFollowsChanges()
    {
        writeBlock(0x0F, 7, pattern(70));
        QFile f(m_statePath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("[macro7]\nblock=" + bytes(pattern(70)).toHex()));
    }

    void unplugByEditingStateFile()
    {
        QFile f(m_statePath);
        QVERIFY(f.open(QIODevice::ReadOnly));
        Bytes text = f.readAll();
        f.close();
        QVERIFY(text.contains("plugged=1"));
        text.replace("plugged=1", "plugged=0");
        // A script writes beside the file and renames it over the old one.
        const QString temp = m_statePath + QStringLiteral(".new");
        QFile t(temp);
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write(text);
        t.close();
        QVERIFY(std::rename(temp.toLocal8Bit().constData(), m_statePath.toLocal8Bit().constData()) == 0);
        QVERIFY(enumeratedPaths(0x04d9, 0xa1e8).isEmpty());
        QVERIFY(!vmouse::plugged());
        QCOMPARE(Handle().dev, nullptr);
    }

    void enumeration_data()
    {
        QTest::addColumn<bool>("entry0");
        QTest::addColumn<bool>("command");
        QTest::addColumn<bool>("input");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<bool>("foreign");
        QTest::addColumn<QStringList>("expected");
        const QString cmd = QStringLiteral("vmouse:04d9:a1e8:cmd ff00/ff00");
        const QString in = QStringLiteral("vmouse:04d9:a1e8:input ff01/0001");
        const QStringList entry0{QStringLiteral("vmouse:04d9:8008:cmd ff01/0001"),
                                 QStringLiteral("vmouse:04d9:8008:input ff02/0001")};
        const QStringList keyboard{QStringLiteral("vmouse:04d9:a1e8:cmd 0001/0006"),
                                   QStringLiteral("vmouse:04d9:a1e8:input 0001/0006")};
        const QStringList moved{QStringLiteral("vmouse:04d9:a1e8:cmd#2 ff00/ff00"),
                                QStringLiteral("vmouse:04d9:a1e8:input#2 ff01/0001")};
        QTest::newRow("factory") << false << true << true << true << false << QStringList{cmd, in};
        QTest::newRow("other device beside the mouse")
            << true << true << true << true << false << entry0 + QStringList{cmd, in};
        QTest::newRow("other device alone") << true << true << true << false << false << entry0;
        QTest::newRow("input interface missing")
            << false << true << false << true << false << QStringList{cmd};
        QTest::newRow("command interface missing")
            << false << false << true << true << false << QStringList{in};
        QTest::newRow("unplugged") << false << true << true << false << false << QStringList{};
        QTest::newRow("keyboard on the mouse's paths, mouse moved")
            << false << true << true << true << true << keyboard + moved;
        QTest::newRow("keyboard on the mouse's paths, mouse unplugged")
            << false << true << true << false << true << keyboard;
    }
    void enumeration()
    {
        QFETCH(bool, entry0);
        QFETCH(bool, command);
        QFETCH(bool, input);
        QFETCH(bool, plugged);
        QFETCH(bool, foreign);
        QFETCH(QStringList, expected);
        vmouse::setEntry0Present(entry0);
        vmouse::setInterfaces(command, input);
        vmouse::setPlugged(plugged);
        vmouse::setForeignDeviceOnMousePaths(foreign);
        QCOMPARE(enumeratedPaths(), expected);
        QCOMPARE(enumeratedPaths(0x04d9, 0xa1e8).size(), int(plugged) * (int(command) + int(input)));
        const char *commandPath = foreign ? vmouse::kMovedCommandPath : vmouse::kCommandPath;
        const char *inputPath = foreign ? vmouse::kMovedInputPath : vmouse::kInputPath;
        QCOMPARE(Handle(commandPath).dev != nullptr, plugged && command);
        QCOMPARE(Handle(inputPath).dev != nullptr, plugged && input);

        // Every handle describes the device that answers on its path, as the enumeration does.
        hid_device_info *devs = hid_enumerate(0, 0);
        for (const hid_device_info *d = devs; d; d = d->next) {
            Handle h(d->path);
            const hid_device_info *info = hid_get_device_info(h.dev);
            QVERIFY(info);
            const QByteArray path(d->path);
            const bool keyboard = foreign && (path == vmouse::kCommandPath || path == vmouse::kInputPath);
            QCOMPARE(info->vendor_id, keyboard ? vmouse::kForeignVendorId : vmouse::kVendorId);
            QCOMPARE(QByteArray(info->path), path);
            QCOMPARE(info->product_id, d->product_id);
            QCOMPARE(info->usage_page, d->usage_page);
            QCOMPARE(info->usage, d->usage);
            QCOMPARE(info->interface_number, d->interface_number);
        }
        hid_free_enumeration(devs);
    }

    void openFaults()
    {
        vmouse::failOpens(2);
        QCOMPARE(Handle().dev, nullptr);
        QCOMPARE(Handle(vmouse::kInputPath).dev, nullptr);
        QVERIFY(Handle().dev);
        vmouse::failOpens(-1, vmouse::kCommandPath);
        QVERIFY(Handle(vmouse::kInputPath).dev);
        QCOMPARE(Handle().dev, nullptr);
        QCOMPARE(Handle().dev, nullptr);
    }

    void featureReportFaults()
    {
        vmouse::failFeatureReports(1);
        QVERIFY(!sendFrame(frame(0x02, 2)));
        QCOMPARE(vmouse::currentProfile(), 0);
        QVERIFY(sendFrame(frame(0x02, 2)));
        QCOMPARE(vmouse::currentProfile(), 2);
    }

    void shortFeatureReplies_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("length");
        QTest::addColumn<QList<int>>("lengths"); // of three fetches in a row
        QTest::newRow("one reply stops before the value byte") << 1 << 2 << QList<int>{2, 9, 9};
        QTest::newRow("every reply short") << -1 << 3 << QList<int>{3, 3, 3};
        QTest::newRow("empty replies") << 2 << 0 << QList<int>{0, 0, 9};
        QTest::newRow("length above a frame is a whole frame") << 1 << 20 << QList<int>{9, 9, 9};
        QTest::newRow("0 clears") << 0 << 2 << QList<int>{9, 9, 9};
    }
    void shortFeatureReplies()
    {
        QFETCH(int, n);
        QFETCH(int, length);
        QFETCH(QList<int>, lengths);
        vmouse::setCurrentProfile(3);
        vmouse::shortFeatureReplies(n, length);
        Handle h;
        const auto f = frame(0x82);
        QCOMPARE(hid_send_feature_report(h.dev, f.data(), f.size()), 9);
        const auto full = frame(0x82, 3);
        for (int expected : lengths) {
            std::uint8_t reply[9];
            std::fill(std::begin(reply), std::end(reply), 0xA5);
            reply[0] = 0;
            QCOMPARE(hid_get_feature_report(h.dev, reply, sizeof reply), expected);
            // Bytes past the reply keep what the caller had there.
            for (int i = 1; i < 9; ++i)
                QCOMPARE(int(reply[i]), i < expected ? int(full[std::size_t(i)]) : 0xA5);
        }
    }

    void shortInputReports()
    {
        vmouse::setProfileBlock(0, pattern(1));
        vmouse::shortInputReports(1);
        const Bytes got = readBlock(0x8C, 0);
        QCOMPARE(got.size(), vmouse::kBlockLength - vmouse::kReportLength / 2);
        QCOMPARE(got.right(64), bytes(pattern(1)).right(64));
    }

    void silentInputReports()
    {
        vmouse::silentInputReports(true);
        Handle h;
        const auto f = frame(0x8C, 0);
        QCOMPARE(hid_send_feature_report(h.dev, f.data(), f.size()), 9);
        std::uint8_t report[65];
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(hid_read_timeout(h.dev, report, sizeof report, 50), 0);
        QVERIFY(timer.elapsed() >= 45);
        QCOMPARE(hid_set_nonblocking(h.dev, 1), 0);
        QCOMPARE(hid_read(h.dev, report, sizeof report), 0);
        QCOMPARE(hid_set_nonblocking(h.dev, 0), 0);

        // A blocking read waits until the reports flow again, and fails once the mouse is gone.
        std::atomic<int> first{-2};
        std::thread reader([&] { first = hid_read(h.dev, report, sizeof report); });
        QTest::qWait(30);
        QCOMPARE(first.load(), -2);
        vmouse::silentInputReports(false);
        reader.join();
        QCOMPARE(first.load(), 64);
        vmouse::silentInputReports(true);
        std::thread waiter([&] { first = hid_read(h.dev, report, sizeof report); });
        QTest::qWait(30);
        vmouse::setPlugged(false);
        waiter.join();
        QCOMPARE(first.load(), -1);
    }

    void unplugAfterReports()
    {
        vmouse::unplugAfterReports(2);
        Handle h;
        const auto f = frame(0x82);
        QCOMPARE(hid_send_feature_report(h.dev, f.data(), f.size()), 9);
        QVERIFY(vmouse::plugged());
        std::uint8_t reply[9] = {0};
        QCOMPARE(hid_get_feature_report(h.dev, reply, sizeof reply), 9);
        QVERIFY(!vmouse::plugged());
        QCOMPARE(hid_send_feature_report(h.dev, f.data(), f.size()), -1);
        QCOMPARE(Handle().dev, nullptr);
        // The old handle stays dead after the mouse comes back, like a stale device node.
        vmouse::setPlugged(true);
        QCOMPARE(hid_send_feature_report(h.dev, f.data(), f.size()), -1);
        QVERIFY(sendFrame(f));
    }

    void wireLogAndTiming()
    {
        vmouse::setUsbTiming(true);
        vmouse::clearWireLog();
        writeBlock(0x0C, 2, pattern(2));
        const auto log = vmouse::wireLog();
        QCOMPARE(log.size(), std::size_t(5));
        const vmouse::WireKind kinds[] = {vmouse::WireKind::Open, vmouse::WireKind::FeatureOut,
                                          vmouse::WireKind::OutputReport, vmouse::WireKind::OutputReport,
                                          vmouse::WireKind::Close};
        for (std::size_t i = 0; i < log.size(); ++i) {
            QVERIFY(log[i].kind == kinds[i]);
            QCOMPARE(QLatin1String(log[i].path.c_str()), QLatin1String(vmouse::kCommandPath));
        }
        QCOMPARE(log[1].bytes.size(), std::size_t(9));
        QCOMPARE(log[2].bytes.size(), std::size_t(65));
        QCOMPARE(int(log[3].bytes[0]), 0);
        QCOMPARE(int(log[3].bytes[64]), int(pattern(2)[127]));
        // Three reports between the first and the last record, a millisecond each.
        QVERIFY(log[4].timeUs - log[1].timeUs >= 2000);
    }

    void listenerReadsWhileCommandsRun()
    {
        constexpr int kVendorReports = 20;
        std::atomic<bool> stop{false};
        std::atomic<int> count{0};
        std::vector<std::vector<std::uint8_t>> received; // written by the listener until it is joined
        std::thread listener([&] {
            std::uint8_t buf[5];
            while (!stop) {
                Handle h(vmouse::kInputPath);
                const int n = hid_read_timeout(h.dev, buf, 4, 500);
                if (n > 0) {
                    received.emplace_back(buf, buf + n);
                    ++count;
                }
            }
        });
        for (int i = 0; i < kVendorReports; ++i) {
            vmouse::queueVendorReport({std::uint8_t(i), 1, 2, 3});
            const auto op = std::uint8_t(i % 2 ? 0x0C : 0x0D);
            writeBlock(op, std::uint8_t(i % 6), pattern(i));
            QCOMPARE(readBlock(op | 0x80, std::uint8_t(i % 6)), bytes(pattern(i)));
        }
        vmouse::queueVendorReport({9, 9, 9, 9, 9, 9}); // longer than the read: its beginning arrives
        QTRY_COMPARE_WITH_TIMEOUT(count.load(), kVendorReports + 1, 2000);
        stop = true;
        listener.join();
        QCOMPARE(received.back(), std::vector<std::uint8_t>(4, 9));
        for (int i = 0; i < kVendorReports; ++i)
            QCOMPARE(int(received[std::size_t(i)][0]), i);
        QCOMPARE(vmouse::protocolErrorCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestVmouse)
#include "tst_vmouse.moc"
