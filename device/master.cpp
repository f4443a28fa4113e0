#include "master.h"

#include "devicelog.h"

#include <hidapi.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct HidCloser
{
    void operator()(hid_device *dev) const { hid_close(dev); }
};
using HidHandle = std::unique_ptr<hid_device, HidCloser>;

void pause(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}

bool readDataPhase(hid_device *dev, UsbTask &t)
{
    const auto length = static_cast<std::size_t>(t.dataLength);
    const std::size_t report = t.reportLength;
    const std::size_t chunk = std::min(report, length);
    std::vector<uchar> buffer(report + 1);
    int failed = 0;
    int reports = 0;
    for (std::size_t moved = 0; moved < length; moved += chunk, ++reports) {
        std::fill(buffer.begin(), buffer.end(), 0);
        // hidraw hands over the report without its report-ID byte, so the data starts at byte 0.
        const int got = hid_read_timeout(dev, buffer.data(), buffer.size(), kDataReadTimeoutMs);
        const std::size_t take = std::min(chunk, length - moved);
        if (got < 0 || static_cast<std::size_t>(got) < take)
            ++failed;
        std::copy_n(buffer.begin(), take, t.data.begin() + static_cast<std::ptrdiff_t>(moved));
    }
    if (failed > 0)
        qCDebug(lcDevice).noquote() << opcodeText(t.frame[kFrameOpcodeByte]) << failed << "of" << reports
                                    << "input reports failed, came short or timed out";
    return failed == 0;
}

bool writeDataPhase(hid_device *dev, UsbTask &t)
{
    const auto length = static_cast<std::size_t>(t.dataLength);
    const std::size_t report = t.reportLength;
    const std::size_t chunk = std::min(report, length);
    std::vector<uchar> buffer(report + 1, 0);
    int failed = 0;
    int reports = 0;
    for (std::size_t moved = 0; moved < length; moved += chunk, ++reports) {
        const std::size_t take = std::min(chunk, length - moved);
        buffer[0] = kFrameReportId;
        std::copy_n(t.data.begin() + static_cast<std::ptrdiff_t>(moved), take, buffer.begin() + 1);
        // A short last chunk is padded with zeros, never with the previous chunk's bytes.
        std::fill(buffer.begin() + 1 + static_cast<std::ptrdiff_t>(take), buffer.end(), 0);
        if (hid_write(dev, buffer.data(), buffer.size()) < 0)
            ++failed;
        pause(t.chunkDelayMs);
    }
    if (failed > 0)
        qCDebug(lcDevice).noquote() << opcodeText(t.frame[kFrameOpcodeByte]) << failed << "of" << reports
                                    << "output reports failed";
    return failed == 0;
}

// Linux reuses a freed /dev/hidrawN for the next device at once: until the next check the stored path may
// lead to a keyboard or a headset. Only the device detection found may receive the mouse's frames.
bool isTheDevice(hid_device *dev, const UsbTask &t)
{
    const hid_device_info *info = hid_get_device_info(dev);
    if (info && info->vendor_id == t.vid && info->product_id == t.pid)
        return true;
    if (info)
        qCWarning(lcDevice).noquote() << opcodeText(t.frame[kFrameOpcodeByte]) << "not sent:" << t.commandPath
                                      << QStringLiteral("now belongs to %1:%2, not to the mouse")
                                             .arg(info->vendor_id, 4, 16, QLatin1Char('0'))
                                             .arg(info->product_id, 4, 16, QLatin1Char('0'));
    else
        qCWarning(lcDevice).noquote()
            << opcodeText(t.frame[kFrameOpcodeByte]) << "not sent: cannot tell what" << t.commandPath << "is";
    return false;
}

// A chunk that came after the previous read gave up would otherwise be taken as the start of this block.
void drainStaleReports(hid_device *dev, const UsbTask &t)
{
    std::vector<uchar> buffer(t.reportLength + 1);
    int stale = 0;
    while (stale < kMaxStaleReports && hid_read_timeout(dev, buffer.data(), buffer.size(), 0) > 0)
        ++stale;
    if (stale > 0)
        qCDebug(lcDevice).noquote() << opcodeText(t.frame[kFrameOpcodeByte]) << "dropped" << stale
                                    << "stale input reports before the block read";
}

} // namespace

bool exchangeFits(const UsbTask &t)
{
    if (t.featureLength <= 0 || t.featureLength > kFeatureLength) {
        qCWarning(lcDevice) << "refused: feature length" << t.featureLength << "does not fit a frame";
        return false;
    }
    if (t.dataLength < 0 || static_cast<std::size_t>(t.dataLength) > kDataBufferSize) {
        qCWarning(lcDevice) << "refused: data length" << t.dataLength << "exceeds the" << kDataBufferSize
                            << "byte buffer";
        return false;
    }
    if (t.dataLength > 0 && (t.reportLength == 0 || t.reportLength > kDataBufferSize)) {
        qCWarning(lcDevice) << "refused: report length" << t.reportLength << "cannot carry a data phase";
        return false;
    }
    return true;
}

Master::Master(QObject *parent)
    : QThread(parent)
{}

bool Master::exchange(UsbTask &t)
{
    if (blocked) {
        qCDebug(lcDevice) << "true";
        return false;
    }
    if (!exchangeFits(t))
        return false;

    const uchar opcode = t.frame[kFrameOpcodeByte];
    const bool read = isReadOpcode(opcode);
    if (t.commandPath.isEmpty()) {
        qCDebug(lcDevice).noquote() << opcodeText(opcode) << "not sent: no command interface";
        return false;
    }
    HidHandle dev(hid_open_path(t.commandPath.toUtf8().constData()));
    if (!dev) {
        qCDebug(lcDevice).noquote() << opcodeText(opcode) << "not sent: cannot open" << t.commandPath;
        return false;
    }
    if (!isTheDevice(dev.get(), t))
        return false;
    hid_set_nonblocking(dev.get(), 0);
    if (read && t.dataLength > 0)
        drainStaleReports(dev.get(), t);

    if (t.hasCode)
        scrambleFrame(t.frame.data() + kFrameOpcodeByte, t.code);

    const auto featureLength = static_cast<std::size_t>(t.featureLength);
    if (hid_send_feature_report(dev.get(), t.frame.data(), featureLength) < 0) {
        qCDebug(lcDevice).noquote() << opcodeText(opcode) << "feature report not accepted";
        return false;
    }
    if (read) {
        t.reply[kFrameReportIdByte] = kFrameReportId;
        t.replyLength = hid_get_feature_report(dev.get(), t.reply.data(), featureLength);
        if (t.replyLength < 0) {
            qCDebug(lcDevice).noquote() << opcodeText(opcode) << "no reply feature report";
            return false;
        }
    }
    pause(t.settleDelayMs);

    if (t.dataLength == 0)
        return true;
    return read ? readDataPhase(dev.get(), t) : writeDataPhase(dev.get(), t);
}
