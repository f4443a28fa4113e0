// Tests of the virtual mouse as the host sees it: the input queue of every open handle, a mouse that stops
// answering, another device on the mouse's paths, and the udev events of plugging.

#include "vmousetest.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>
#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <poll.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>
#include <utility>

// The part of libudev the program uses; the virtual mouse stands in for it.
extern "C" {
struct udev;
struct udev_monitor;
struct udev_device;
udev *udev_new(void);
udev *udev_unref(udev *u);
udev_monitor *udev_monitor_new_from_netlink(udev *u, const char *name);
udev_monitor *udev_monitor_unref(udev_monitor *mon);
int udev_monitor_filter_add_match_subsystem_devtype(udev_monitor *mon, const char *subsystem,
                                                    const char *devtype);
int udev_monitor_enable_receiving(udev_monitor *mon);
int udev_monitor_get_fd(udev_monitor *mon);
udev_device *udev_monitor_receive_device(udev_monitor *mon);
udev_device *udev_device_unref(udev_device *dev);
udev *udev_device_get_udev(udev_device *dev);
const char *udev_device_get_action(udev_device *dev);
const char *udev_device_get_devnode(udev_device *dev);
const char *udev_device_get_subsystem(udev_device *dev);
}

using namespace vmousetest;

namespace {

constexpr int kMissedReadMs = 20; // the read limit of a read that is to come back empty

// What one read got: "1a" / "1b" = first / second half of profile 1's block, "v7" = vendor report 7,
// "-" = nothing within the limit, "fail" = the handle is dead.
QString readOne(hid_device *dev)
{
    std::uint8_t buf[65] = {};
    const int n = hid_read_timeout(dev, buf, sizeof buf, kMissedReadMs);
    if (n <= 0)
        return n < 0 ? QStringLiteral("fail") : QStringLiteral("-");
    if (n == 4)
        return QStringLiteral("v%1").arg(buf[0]);
    for (int profile = 0; profile < vmouse::kProfileCount; ++profile) {
        const vmouse::Block block = vmouse::profileBlock(profile);
        for (int half = 0; half < 2; ++half) {
            if (n == 64 && std::memcmp(buf, block.data() + 64 * half, 64) == 0)
                return QString::number(profile) + QLatin1Char(half ? 'b' : 'a');
        }
    }
    return QStringLiteral("?");
}

// Runs the steps on named handles and returns what the reads got, as "A:1a B:-".
QString runSteps(const QStringList &steps)
{
    std::map<QString, hid_device *> handles;
    QStringList got;
    for (const QString &step : steps) {
        const QStringList w = step.split(QLatin1Char(' '));
        const auto is = [&w](const char *verb) { return w[0] == QLatin1String(verb); };
        hid_device *dev = w.size() > 1 && handles.count(w[1]) ? handles[w[1]] : nullptr;
        if (is("open") || is("openin")) {
            handles[w[1]] = hid_open_path(is("open") ? vmouse::kCommandPath : vmouse::kInputPath);
        } else if (is("close")) {
            hid_close(dev);
            handles.erase(w[1]);
        } else if (is("8C")) { // a block read frame and its reply, as the program sends them
            const auto f = frame(0x8C, std::uint8_t(w[2].toInt()));
            std::uint8_t reply[9] = {0};
            hid_send_feature_report(dev, f.data(), f.size());
            hid_get_feature_report(dev, reply, sizeof reply);
        } else if (is("read")) {
            got << w[1] + QLatin1Char(':') + readOne(dev);
        } else if (is("drain")) {
            std::uint8_t buf[65];
            while (hid_read_timeout(dev, buf, sizeof buf, 0) > 0) {
            }
        } else if (is("vendor")) {
            vmouse::queueVendorReport(std::vector<std::uint8_t>(4, std::uint8_t(w[1].toInt())));
        } else if (is("silent")) {
            vmouse::silentInputReports(w[1] == QLatin1String("on"));
        } else if (is("late")) {
            vmouse::lateInputReports(w[1].toInt(), w[2].toInt());
        } else {
            qWarning() << "unknown step" << step;
        }
    }
    for (auto &entry : handles)
        hid_close(entry.second);
    return got.join(QLatin1Char(' '));
}

// "a, b, c" as a list; readable rows without a literal per item.
QStringList items(const char *text)
{
    return QString::fromLatin1(text).split(QStringLiteral(", "), Qt::SkipEmptyParts);
}

bool readable(int fd, int timeoutMs)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 1 && (p.revents & POLLIN);
}

} // namespace

class TestVmouseHost : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_statePath;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Read at the first call into the library, which follows.
        m_statePath = m_dir.filePath(QStringLiteral("mouse.state"));
        qputenv("VESK_VMOUSE_STATE", m_statePath.toLocal8Bit());
    }

    void init() { vmouse::reset(); }

    void cleanup() { QCOMPARE(vmouse::openHandleCount(), 0); }

    void inputQueues_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("reads");

        QTest::newRow("every open handle receives the block")
            << items("open A, open B, 8C A 1, read B, read A, read B, read A, read A")
            << QStringLiteral("B:1a A:1a B:1b A:1b A:-");
        QTest::newRow("a handle opened later sees none of it")
            << items("open A, 8C A 1, open B, read B, read A") << QStringLiteral("B:- A:1a");
        QTest::newRow("closing one handle leaves the other's queue")
            << items("open A, open B, 8C A 1, close A, read B, read B") << QStringLiteral("B:1a B:1b");
        QTest::newRow("a new frame leaves what the handle already holds")
            << items("open A, 8C A 1, read A, 8C A 2, read A, read A, read A")
            << QStringLiteral("A:1a A:1b A:2a A:2b");
        QTest::newRow("a new frame drops what a silent mouse still holds")
            << items("open A, silent on, 8C A 1, read A, 8C A 2, silent off, read A, read A, read A")
            << QStringLiteral("A:- A:2a A:2b A:-");
        QTest::newRow("a late half arrives at the next open, before the next block")
            << items("late 1 1, open A, 8C A 1, read A, read A, close A, open B, 8C B 2, read B, read B, "
                     "read B")
            << QStringLiteral("A:1a A:- B:1b B:2a B:2b");
        QTest::newRow("nothing overtakes a late report")
            << items("late 0 1, open A, 8C A 1, read A, read A, close A, open B, read B, read B")
            << QStringLiteral("A:- A:- B:1a B:1b");
        QTest::newRow("a host that drains first reads the right block")
            << items("late 1 1, open A, 8C A 1, read A, read A, close A, open B, drain B, 8C B 2, read B, "
                     "read B")
            << QStringLiteral("A:1a A:- B:2a B:2b");
        QTest::newRow("a vendor report waits at the mouse for a reader, then reaches every handle")
            << items("vendor 7, openin C, openin D, read D, read C, read C")
            << QStringLiteral("D:v7 C:v7 C:-");
        QTest::newRow("one vendor report per read, so a listener that reopens loses none")
            << items("openin C, vendor 7, vendor 8, read C, close C, openin D, read D, read D")
            << QStringLiteral("C:v7 D:v8 D:-");
        QTest::newRow("a vendor report outlasts a handle that never read")
            << items("openin C, vendor 7, close C, openin D, read D") << QStringLiteral("D:v7");
    }
    void inputQueues()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, reads);
        vmouse::setProfileBlock(1, pattern(1));
        vmouse::setProfileBlock(2, pattern(2));
        QCOMPARE(runSteps(steps), reads);
        QCOMPARE(vmouse::protocolErrorCount(), 0);
    }

    void wedgedTransfers_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("end"); // what ends the blocked call
        QTest::addColumn<bool>("gone");

        QTest::newRow("feature report out runs into its time-out")
            << QStringLiteral("feature-out") << QStringLiteral("time-out") << false;
        QTest::newRow("feature report fetch runs into its time-out")
            << QStringLiteral("feature-in") << QStringLiteral("time-out") << false;
        QTest::newRow("output report runs into its time-out")
            << QStringLiteral("output") << QStringLiteral("time-out") << false;
        QTest::newRow("setWedged(0) ends a blocked call")
            << QStringLiteral("feature-out") << QStringLiteral("unwedged") << false;
        QTest::newRow("an unplug ends a blocked call as gone")
            << QStringLiteral("feature-in") << QStringLiteral("unplugged") << true;
        QTest::newRow("reset ends a blocked call")
            << QStringLiteral("output") << QStringLiteral("reset") << true;
        QTest::newRow("closing the handle ends a blocked call")
            << QStringLiteral("feature-out") << QStringLiteral("closed") << true;
    }
    void wedgedTransfers()
    {
        QFETCH(QString, call);
        QFETCH(QString, end);
        QFETCH(bool, gone);
        vmouse::setProfileBlock(1, pattern(1));
        Handle h;
        // A block the mouse sent before it hung: a wedged mouse delivers nothing.
        const auto read8C = frame(0x8C, 1);
        QCOMPARE(hid_send_feature_report(h.dev, read8C.data(), read8C.size()), 9);
        const bool timesOut = end == QLatin1String("time-out");
        vmouse::setWedged(timesOut ? 150 : 20000);
        QVERIFY(Handle().dev);
        std::uint8_t report[65];
        QCOMPARE(hid_read_timeout(h.dev, report, sizeof report, kMissedReadMs), 0);

        vmouse::clearWireLog();
        std::atomic<int> result{-2};
        hid_device *dev = h.dev;
        QElapsedTimer timer;
        timer.start();
        std::thread caller([&result, &call, dev] {
            std::uint8_t buf[65] = {0};
            const auto f = frame(0x02, 4);
            if (call == QLatin1String("feature-out"))
                result = hid_send_feature_report(dev, f.data(), f.size());
            else if (call == QLatin1String("feature-in"))
                result = hid_get_feature_report(dev, buf, 9);
            else
                result = hid_write(dev, buf, sizeof buf);
        });
        if (!timesOut) {
            QTest::qWait(50);
            QCOMPARE(result.load(), -2);
            // The blocked call holds nobody up.
            QElapsedTimer control;
            control.start();
            QCOMPARE(vmouse::currentProfile(), 0);
            QVERIFY(control.elapsed() < 1000);
            if (end == QLatin1String("unwedged"))
                vmouse::setWedged(0);
            else if (end == QLatin1String("unplugged"))
                vmouse::setPlugged(false);
            else if (end == QLatin1String("reset"))
                vmouse::reset();
            else
                hid_close(std::exchange(h.dev, nullptr));
        }
        caller.join();
        QCOMPARE(result.load(), -1);
        QVERIFY(timesOut ? timer.elapsed() >= 140 : timer.elapsed() < 5000);
        QCOMPARE(vmouse::currentProfile(), 0);
        if (end == QLatin1String("reset") || end == QLatin1String("closed"))
            return;
        QCOMPARE(QString::fromWCharArray(hid_error(h.dev)).contains(QLatin1String("disconnected")), gone);
        const auto log = vmouse::wireLog();
        QVERIFY(!log.empty());
        QVERIFY(!log.back().ok);
        if (end == QLatin1String("unwedged")) // what the mouse had sent is there again
            QCOMPARE(hid_read_timeout(h.dev, report, sizeof report, 100), 64);
    }

    void foreignDeviceOnMousePaths()
    {
        Handle before;
        vmouse::setForeignDeviceOnMousePaths(true);
        const auto f = frame(0x02, 3);
        QCOMPARE(hid_send_feature_report(before.dev, f.data(), f.size()), -1);

        Handle keyboard(vmouse::kCommandPath);
        Handle keyboardInput(vmouse::kInputPath);
        Handle moved(vmouse::kMovedCommandPath);
        Handle movedInput(vmouse::kMovedInputPath);
        vmouse::clearWireLog();
        std::uint8_t out[65] = {0};
        std::uint8_t reply[9] = {0};
        QCOMPARE(hid_send_feature_report(keyboard.dev, f.data(), f.size()), 9);
        QCOMPARE(hid_write(keyboard.dev, out, sizeof out), 65);
        QCOMPARE(hid_get_feature_report(keyboard.dev, reply, sizeof reply), -1);
        QCOMPARE(vmouse::foreignReportCount(), 3);
        QCOMPARE(vmouse::currentProfile(), 0);
        QCOMPARE(vmouse::protocolErrorCount(), 0);
        const auto log = vmouse::wireLog();
        QCOMPARE(log.size(), std::size_t(3));
        for (const auto &r : log)
            QCOMPARE(QLatin1String(r.path.c_str()), QLatin1String(vmouse::kCommandPath));
        QVERIFY(log[0].ok && log[1].ok && !log[2].ok);

        // The mouse answers on its new paths; the keyboard hears none of its reports.
        QCOMPARE(hid_send_feature_report(moved.dev, f.data(), f.size()), 9);
        QCOMPARE(vmouse::currentProfile(), 3);
        vmouse::queueVendorReport({1, 2, 3, 4});
        QCOMPARE(hid_read_timeout(movedInput.dev, out, sizeof out, 100), 4);
        QCOMPARE(hid_read_timeout(keyboardInput.dev, out, sizeof out, 0), 0);
        QCOMPARE(hid_read_timeout(keyboard.dev, out, sizeof out, 0), 0);

        // The switch back kills the handles of both sides.
        vmouse::setForeignDeviceOnMousePaths(false);
        QCOMPARE(hid_send_feature_report(keyboard.dev, f.data(), f.size()), -1);
        QCOMPARE(hid_send_feature_report(moved.dev, f.data(), f.size()), -1);
        QCOMPARE(vmouse::foreignReportCount(), 3);
        QVERIFY(sendFrame(frame(0x02, 5)));
        QCOMPARE(vmouse::currentProfile(), 5);
    }

    void udevEvents_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("subsystem"); // the monitor's filter
        QTest::addColumn<QStringList>("events");

        const QString hidraw = QStringLiteral("hidraw");
        const QStringList unplug = items("remove vmouse:04d9:a1e8:cmd, remove vmouse:04d9:a1e8:input");
        const QStringList plug = items("add vmouse:04d9:a1e8:cmd, add vmouse:04d9:a1e8:input");
        QTest::newRow("unplug") << QStringLiteral("unplug") << hidraw << unplug;
        QTest::newRow("plug") << QStringLiteral("plug") << hidraw << plug;
        QTest::newRow("vanishing after reports")
            << QStringLiteral("unplug after reports") << hidraw << unplug;
        QTest::newRow("command interface vanishes")
            << QStringLiteral("interfaces") << hidraw << items("remove vmouse:04d9:a1e8:cmd");
        QTest::newRow("a keyboard takes the mouse's nodes")
            << QStringLiteral("foreign") << hidraw
            << unplug + plug + items("add vmouse:04d9:a1e8:cmd#2, add vmouse:04d9:a1e8:input#2");
        QTest::newRow("state file rewritten by a script") << QStringLiteral("state file") << hidraw << unplug;
        QTest::newRow("reset replugs the mouse") << QStringLiteral("reset") << hidraw << unplug + plug;
        QTest::newRow("a monitor of input devices hears nothing")
            << QStringLiteral("unplug") << QStringLiteral("input") << QStringList{};
    }
    void udevEvents()
    {
        QFETCH(QString, change);
        QFETCH(QString, subsystem);
        QFETCH(QStringList, events);
        if (change == QLatin1String("plug"))
            vmouse::setPlugged(false);

        udev *context = udev_new();
        QVERIFY(context);
        udev_monitor *monitor = udev_monitor_new_from_netlink(context, "udev");
        QVERIFY(monitor);
        QCOMPARE(udev_monitor_filter_add_match_subsystem_devtype(monitor, subsystem.toLatin1().constData(),
                                                                 nullptr),
                 0);
        QCOMPARE(udev_monitor_enable_receiving(monitor), 0);
        const int fd = udev_monitor_get_fd(monitor);
        QVERIFY(fd >= 0);
        QVERIFY(::fcntl(fd, F_GETFL) & O_NONBLOCK);
        QVERIFY(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
        QVERIFY(!readable(fd, 0));

        if (change == QLatin1String("unplug")) {
            vmouse::setPlugged(false);
        } else if (change == QLatin1String("plug")) {
            vmouse::setPlugged(true);
        } else if (change == QLatin1String("unplug after reports")) {
            vmouse::unplugAfterReports(1);
            QVERIFY(sendFrame(frame(0x82)));
        } else if (change == QLatin1String("interfaces")) {
            vmouse::setInterfaces(false, true);
        } else if (change == QLatin1String("foreign")) {
            vmouse::setForeignDeviceOnMousePaths(true);
        } else if (change == QLatin1String("reset")) {
            vmouse::reset();
        } else {
            // Nobody calls hidapi: the library notices the new file by itself.
            QFile f(m_statePath);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QByteArray text = f.readAll();
            f.close();
            QVERIFY(text.contains("plugged=1"));
            QFile t(m_statePath + QStringLiteral(".new"));
            QVERIFY(t.open(QIODevice::WriteOnly));
            t.write(text.replace("plugged=1", "plugged=0"));
            t.close();
            QCOMPARE(
                std::rename(t.fileName().toLocal8Bit().constData(), m_statePath.toLocal8Bit().constData()),
                0);
        }

        // Within a second for the state file; at once otherwise.
        QCOMPARE(readable(fd, events.isEmpty() ? 300 : 1000), !events.isEmpty());
        QStringList got;
        while (udev_device *device = udev_monitor_receive_device(monitor)) {
            got << QLatin1String(udev_device_get_action(device)) + QLatin1Char(' ') +
                       QLatin1String(udev_device_get_devnode(device));
            QCOMPARE(QLatin1String(udev_device_get_subsystem(device)), QLatin1String("hidraw"));
            udev_device_unref(device);
        }
        QCOMPARE(got, events);
        QVERIFY(!readable(fd, 0));
        udev_monitor_unref(monitor);
        udev_unref(context);
    }

    void udevWithoutLibudev()
    {
        if (::dlsym(RTLD_DEFAULT, "udev_enumerate_new"))
            QSKIP("libudev is loaded in this process");
        // Nothing real is needed for the monitor; what is not ours fails instead of crashing.
        udev *context = udev_new();
        QVERIFY(context);
        QCOMPARE(udev_monitor_new_from_netlink(context, "kernel"), nullptr);
        int notOurs = 0;
        QVERIFY(udev_monitor_get_fd(reinterpret_cast<udev_monitor *>(&notOurs)) < 0);
        QCOMPARE(udev_monitor_receive_device(reinterpret_cast<udev_monitor *>(&notOurs)), nullptr);
        QCOMPARE(udev_device_get_action(reinterpret_cast<udev_device *>(&notOurs)), nullptr);
        QCOMPARE(udev_device_get_udev(reinterpret_cast<udev_device *>(&notOurs)), nullptr);
        QCOMPARE(udev_unref(context), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestVmouseHost)
#include "tst_vmouse_host.moc"
