// How close the device link comes to the protocol's own floor, against the virtual mouse with USB timing on.
// The floor of an exchange is its fixed pauses (settle after the command, pause after each output report)
// plus 1 ms per report on the wire, feature reports included. Then how long the GUI thread stalls while the
// program reads the whole mouse and while a setter writes a block: a 1 ms heartbeat on the GUI thread, its
// longest gap, beside the same heartbeat's longest gap while nothing happens.

#include "devicelink.h"
#include "ms_ht66fb560.h"
#include "myqquickview.h"
#include "vmouse.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr int kRepeats = 7;
constexpr double kTarget = 1.05;
constexpr int kUsbMsPerReport = 1;
constexpr int kReportsPerBlock = 2;

double medianMs(const std::function<void()> &run)
{
    std::vector<double> samples;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        samples.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

constexpr double kStallTargetMs = 50;

// The longest gap between the ticks of a 1 ms heartbeat on the GUI thread from `start` (which runs on the GUI
// thread, so what it costs counts too) until `finished` says so.
double longestStallMs(const std::function<void()> &start, const std::function<bool()> &finished)
{
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QElapsedTimer clock;
    QEventLoop loop;
    qint64 last = 0;
    qint64 longest = 0;
    QObject::connect(&heartbeat, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        if (finished() || now > 30'000'000'000)
            loop.quit();
    });
    clock.start();
    heartbeat.start();
    start();
    loop.exec();
    return double(longest) / 1e6;
}

// A run folder with the shipped profile store and defaults, made current while it lives.
struct RunFolder
{
    QTemporaryDir dir;
    QString previous = QDir::currentPath();

    RunFolder()
    {
        QDir(dir.path()).mkpath(QStringLiteral("modules/setting"));
        for (const char *name : {"p_Vesk.bin", "pD_Vesk.bin"})
            QFile::copy(QStringLiteral(VESK_SHIPPED_MODULES "/setting/") + QLatin1String(name),
                        dir.filePath(QStringLiteral("modules/setting/")) + QLatin1String(name));
        QDir::setCurrent(dir.path());
    }
    ~RunFolder() { QDir::setCurrent(previous); }
};

DeviceInfo virtualMouseEntry()
{
    DeviceInfo entry;
    entry.vid = vmouse::kVendorId;
    entry.pid = vmouse::kProductId;
    entry.usagePage = 0xff00;
    entry.usage = 0xff00;
    entry.usagePage2 = 0xff01;
    entry.usage2 = 0x0001;
    entry.reportLength = vmouse::kReportLength;
    return entry;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vesk.*.debug=false"));

    vmouse::reset();
    vmouse::setUsbTiming(true);

    MS_HT66FB560 protocol;
    DeviceOpenInfo info;
    info.index = 1;
    info.commandPath = QString::fromLatin1(vmouse::kCommandPath);
    info.reportLength = 64;
    info.vid = vmouse::kVendorId;
    info.pid = vmouse::kProductId;
    protocol.hid_OpenDevice(info);

    std::array<uchar, kBlockSize> block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = uchar(i);

    // 0CH: one feature report out, then the block as output reports.
    const int writeFloor =
        kSettleDelayMs + kReportsPerBlock * kChunkDelayMs + (1 + kReportsPerBlock) * kUsbMsPerReport;
    const double writeMs = medianMs([&] { protocol.hid_0CH_SetFwProfile(1, block.data()); });

    // 8CH: one feature report out, one back, then the block as input reports; six profiles.
    const int readFloor = 6 * (kSettleDelayMs + (2 + kReportsPerBlock) * kUsbMsPerReport);
    bool allRead = true;
    const double readMs = medianMs([&] {
        for (uchar p = 0; p < 6; ++p)
            allRead = protocol.hid_8CH_GetFwProfile(p, block.data()) && allRead;
    });

    QTextStream out(stdout);
    out << "Device link against the virtual mouse (1 ms per report), median of " << kRepeats << " runs\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("operation"), -28)
               .arg(QStringLiteral("floor ms"), 9)
               .arg(QStringLiteral("median ms"), 10)
               .arg(QStringLiteral("ratio"), 7)
               .arg(QStringLiteral("target"), 8)
               .arg(QStringLiteral("result"));
    const auto row = [&out](const QString &name, int floor, double ms) {
        const double ratio = ms / floor;
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(name, -28)
                   .arg(floor, 9)
                   .arg(ms, 10, 'f', 2)
                   .arg(ratio, 7, 'f', 3)
                   .arg(QStringLiteral("<= %1").arg(kTarget, 0, 'f', 2), 8)
                   .arg(ratio <= kTarget ? QStringLiteral("ok") : QStringLiteral("ABOVE TARGET"));
    };
    row(QStringLiteral("0CH block write (128 bytes)"), writeFloor, writeMs);
    row(QStringLiteral("6 x 8CH profile block reads"), readFloor, readMs);
    if (!allRead)
        out << "\nwarning: a block read failed during the measurement\n";

    // The GUI thread while the program talks to the mouse through its device link.
    RunFolder folder;
    MS_HT66FB560 mouse;
    DeviceLink link(mouse);
    myQQuickView view;
    view.setDeviceLink(&link);
    std::vector<double> syncStalls, writeStalls, idleStalls;
    bool connected = true;
    bool checkEnded = false;
    QObject::connect(&view, &myQQuickView::deviceCheckEnded, [&checkEnded] { checkEnded = true; });
    QVariantList stages;
    for (int i = 0; i < 16; ++i)
        stages.append(8 * (i % 8 + 1));
    for (int i = 0; i < kRepeats; ++i) {
        checkEnded = false;
        syncStalls.push_back(
            longestStallMs([&] { view.checkDevice(1, virtualMouseEntry()); }, [&] { return checkEnded; }));
        connected = connected && view.deviceConnected;
        // A command that went through reports nothing: its end is the link at rest.
        writeStalls.push_back(
            longestStallMs([&] { view.vesk_0CH_SetDpi8Stage(stages); }, [&link] { return link.isIdle(); }));
        QElapsedTimer idle;
        idleStalls.push_back(
            longestStallMs([&idle] { idle.start(); }, [&idle] { return idle.elapsed() >= 100; }));
    }
    const auto stallRow = [&out](const QString &name, std::vector<double> samples) {
        std::sort(samples.begin(), samples.end());
        const double ms = samples[samples.size() / 2];
        out << QStringLiteral("%1 %2 %3\n")
                   .arg(name, -40)
                   .arg(ms, 10, 'f', 2)
                   .arg(ms <= kStallTargetMs ? QStringLiteral("ok") : QStringLiteral("ABOVE TARGET"));
    };
    out << "\nGUI thread's longest stall, median of " << kRepeats << " runs (target <= " << kStallTargetMs
        << " ms)\n\n";
    out << QStringLiteral("%1 %2 %3\n")
               .arg(QStringLiteral("while"), -40)
               .arg(QStringLiteral("ms"), 10)
               .arg(QStringLiteral("result"));
    stallRow(QStringLiteral("nothing happens (100 ms, baseline)"), idleStalls);
    stallRow(QStringLiteral("the mouse is checked and read whole"), syncStalls);
    stallRow(QStringLiteral("a setter writes a profile block"), writeStalls);
    if (!connected)
        out << "\nwarning: the virtual mouse was not read or a block did not go out\n";
    return 0;
}
