// How close the device link comes to the protocol's own floor, against the virtual mouse with USB timing on.
// The floor of an exchange is its fixed pauses (settle after the command, pause after each output report)
// plus 1 ms per report on the wire, feature reports included. Then how long the GUI thread stalls while the
// program reads the whole mouse and while a setter writes a block: a 1 ms heartbeat on the GUI thread, its
// longest gap, beside the same heartbeat's longest gap while nothing happens.

#include "devicelink.h"
#include "ms_ht66fb560.h"
#include "myqquickview.h"
#include "vmouse.h"
#include "wire.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLoggingCategory>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <optional>
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
// How long the heartbeat goes on after an operation has ended: the work it left posted on the GUI thread (the
// store's write to disk) is part of its cost.
constexpr int kTailMs = 20;

struct Stall
{
    double longestMs = 0; // the longest gap between two ticks
    double lengthMs = 0;  // how long the heartbeat ran
    bool ended = true;    // false when the operation did not end within 30 s
};

// The longest gap between the ticks of a 1 ms heartbeat on the GUI thread from `start` (which runs on the GUI
// thread, so what it costs counts too) until kTailMs after `finished` first says so.
Stall longestStall(const std::function<void()> &start, const std::function<bool()> &finished)
{
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QElapsedTimer clock;
    QEventLoop loop;
    qint64 last = 0;
    qint64 longest = 0;
    qint64 endedAt = -1;
    Stall stall;
    QObject::connect(&heartbeat, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        if (endedAt < 0 && finished())
            endedAt = now;
        if (endedAt >= 0 && now - endedAt >= kTailMs * 1'000'000LL) {
            loop.quit();
        } else if (endedAt < 0 && now > 30'000'000'000LL) {
            stall.ended = false;
            loop.quit();
        }
    });
    clock.start();
    heartbeat.start();
    start();
    loop.exec();
    stall.longestMs = double(longest) / 1e6;
    stall.lengthMs = double(last) / 1e6;
    return stall;
}

// The same heartbeat while nothing happens, for as long as `lengthMs`.
Stall idleStall(double lengthMs)
{
    QElapsedTimer idle;
    const qint64 length = qint64(lengthMs * 1e6);
    return longestStall([&idle] { idle.start(); }, [&idle, length] { return idle.nsecsElapsed() >= length; });
}

// A run folder with the shipped settings (the profile store, its defaults, the application configuration),
// made current while it lives.
struct RunFolder
{
    QTemporaryDir dir;
    QString previous = QDir::currentPath();

    RunFolder()
    {
        QDir(dir.path()).mkpath(QStringLiteral("modules/setting"));
        const QDir shipped(QStringLiteral(VESK_SHIPPED_MODULES "/setting"));
        for (const QString &name : shipped.entryList(QDir::Files))
            QFile::copy(shipped.filePath(name), dir.filePath(QStringLiteral("modules/setting/") + name));
        QDir::setCurrent(dir.path());
    }
    ~RunFolder() { QDir::setCurrent(previous); }
};

vmouse::Block toVmouse(const QVariantList &list)
{
    vmouse::Block block{};
    for (int i = 0; i < int(block.size()) && i < list.size(); ++i)
        block[std::size_t(i)] = std::uint8_t(list.at(i).toInt());
    return block;
}

double medianOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vesk.*.debug=false"));

    vmouse::reset();
    vmouse::setUsbTiming(true);

    QTextStream out(stdout);
    QTextStream err(stderr);
    MS_HT66FB560 protocol;
    if (!protocol.hid_OpenDevice(wire::virtualMouse())) {
        err << "cannot open the virtual mouse\n";
        return 1;
    }

    std::array<uchar, kBlockSize> block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = uchar(i);

    // 0CH: one feature report out, then the block as output reports.
    const int writeFloor =
        kSettleDelayMs + kReportsPerBlock * kChunkDelayMs + (1 + kReportsPerBlock) * kUsbMsPerReport;
    bool allWritten = true;
    const double writeMs =
        medianMs([&] { allWritten = protocol.hid_0CH_SetFwProfile(1, block.data()) && allWritten; });

    // 8CH: one feature report out, one back, then the block as input reports; six profiles.
    const int readFloor = 6 * (kSettleDelayMs + (2 + kReportsPerBlock) * kUsbMsPerReport);
    bool allRead = true;
    const double readMs = medianMs([&] {
        for (uchar p = 0; p < 6; ++p)
            allRead = protocol.hid_8CH_GetFwProfile(p, block.data()) && allRead;
    });

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
    if (!allWritten)
        out << "\nwarning: a block write failed during the measurement\n";
    if (!allRead)
        out << "\nwarning: a block read failed during the measurement\n";
    out.flush();

    // The GUI thread while the program talks to the mouse through its device link. The mouse holds the
    // shipped profiles, as the store does: what a start with the mouse attached meets.
    RunFolder folder;
    MS_HT66FB560 mouse;
    DeviceLink link(mouse);
    myQQuickView view;
    view.setDeviceLink(&link);
    view.reloadProfiles();
    vmouse::reset();
    vmouse::setUsbTiming(true);
    for (int p = 0; p < myQQuickView::ProfileCount; ++p)
        vmouse::setProfileBlock(p, toVmouse(view.profile_fw[p]));

    std::vector<double> syncStalls, syncIdle, writeStalls, writeIdle;
    std::vector<double> syncLength, writeLength;
    QStringList faults;
    std::optional<DeviceCheck> check;
    QObject::connect(&view, &myQQuickView::deviceCheckEnded,
                     [&check](const DeviceCheck &result) { check = result; });
    for (int i = 0; i < kRepeats; ++i) {
        // The check with its reading of the whole mouse, until the view has applied it to its mirror and
        // store.
        check.reset();
        const Stall sync = longestStall(
            [&] { view.checkDevice(kSupportedModel.product.deviceListEntry, wire::virtualMouseEntry()); },
            [&] { return check.has_value(); });
        if (!sync.ended || !check || !check->connected() || !check->reading ||
            int(check->reading->profiles.size()) != myQQuickView::ProfileCount || !view.deviceConnected)
            faults.append(QStringLiteral("round %1: the mouse was not found or not read whole").arg(i + 1));
        else if (toVmouse(view.profile_fw[view.curProfile]) != vmouse::profileBlock(view.curProfile))
            faults.append(
                QStringLiteral("round %1: the mirror does not hold what the mouse does").arg(i + 1));
        syncStalls.push_back(sync.longestMs);
        syncLength.push_back(sync.lengthMs);
        syncIdle.push_back(idleStall(sync.lengthMs).longestMs);

        // A setter's block write. A command that went through reports nothing: its end is the link at rest.
        // The stages differ from round to round, so every write changes the block.
        QVariantList stages;
        for (int s = 0; s < 16; ++s)
            stages.append(8 * ((s + i) % 8 + 1));
        const Stall write =
            longestStall([&] { view.vesk_0CH_SetDpi8Stage(stages); }, [&link] { return link.isIdle(); });
        const QVariantList sent = view.profile_fw[view.curProfile];
        if (!write.ended || view.vesk_8CH_GetDpi8Stage() != stages ||
            toVmouse(sent) != vmouse::profileBlock(view.curProfile))
            faults.append(QStringLiteral("round %1: the setter's block did not reach the mouse").arg(i + 1));
        writeStalls.push_back(write.longestMs);
        writeLength.push_back(write.lengthMs);
        writeIdle.push_back(idleStall(write.lengthMs).longestMs);
    }

    const auto verdict = [](double ms) {
        return ms <= kStallTargetMs ? QStringLiteral("ok") : QStringLiteral("ABOVE TARGET");
    };
    out << "\nGUI thread's longest stall (a 1 ms heartbeat's longest gap), median of " << kRepeats
        << " runs;\nbeside it the same heartbeat's longest gap while nothing happens, for as long\n\n";
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("while"), -36)
               .arg(QStringLiteral("length ms"), 10)
               .arg(QStringLiteral("stall ms"), 9)
               .arg(QStringLiteral("idle ms"), 8)
               .arg(QStringLiteral("target"), 9)
               .arg(QStringLiteral("result"));
    const auto stallRow = [&](const QString &name, const std::vector<double> &length,
                              const std::vector<double> &stalls, const std::vector<double> &idle) {
        const double ms = medianOf(stalls);
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(name, -36)
                   .arg(medianOf(length), 10, 'f', 1)
                   .arg(ms, 9, 'f', 2)
                   .arg(medianOf(idle), 8, 'f', 2)
                   .arg(QStringLiteral("<= %1 ms").arg(kStallTargetMs), 9)
                   .arg(verdict(ms));
    };
    stallRow(QStringLiteral("the mouse is checked and read whole"), syncLength, syncStalls, syncIdle);
    stallRow(QStringLiteral("a setter writes a profile block"), writeLength, writeStalls, writeIdle);
    if (!faults.isEmpty()) {
        out << "\n";
        for (const QString &fault : faults)
            out << "warning: " << fault << "\n";
    }
    return allWritten && allRead && faults.isEmpty() ? 0 : 1;
}
