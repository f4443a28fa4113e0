// How close the device link comes to the protocol's own floor, against the virtual mouse with USB timing on.
// The floor of an exchange is its fixed pauses (settle after the command, pause after each output report)
// plus 1 ms per report on the wire, feature reports included.

#include "ms_ht66fb560.h"
#include "vmouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTextStream>

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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vesk.*.debug=false"));

    vmouse::reset();
    vmouse::setUsbTiming(true);

    MS_HT66FB560 protocol;
    DeviceOpenInfo info;
    info.index = 1;
    info.commandPath = QString::fromLatin1(vmouse::kCommandPath);
    info.reportLength = 64;
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
    return 0;
}
