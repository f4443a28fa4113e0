#include "ms_ht66fb560.h"

#include "devicelog.h"
#include "master.h"
#include "slave.h"

#include <hidapi.h>

#include <algorithm>
#include <mutex>

namespace {

// hid_init is not thread-safe; the first protocol object calls it on the GUI thread,
// before any listener exists.
void initHidOnce()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (hid_init() != 0)
            qCWarning(lcDevice) << "hid_init failed; every exchange will fail to open the mouse";
    });
}

} // namespace

MS_HT66FB560::MS_HT66FB560(QObject *parent)
    : QObject(parent)
    , m_master(new Master)
    , m_slave(new Slave)
{
    initHidOnce();
    connect(m_slave, &Slave::onVendor, this, &MS_HT66FB560::onVendor);
}

MS_HT66FB560::~MS_HT66FB560()
{
    m_slave->stopListener();
    m_master->deleteLater();
    m_slave->deleteLater();
}

bool MS_HT66FB560::hid_FindDevice(int index, const DeviceInfo &entry, bool *answered)
{
    DeviceOpenInfo info;
    info.index = index;
    info.vid = entry.vid;
    info.pid = entry.pid;
    info.productName = entry.productName;
    info.reportLength = entry.reportLength;
    info.hasCode = !entry.sCode.isEmpty();
    info.code = deviceCodeFromSCode(entry.sCode);
    m_master->setBlocked(entry.sCode == blockedDeviceCode());

    bool found = false;
    // hid_enumerate(0, 0) lists every HID device on the system: an entry without its USB ids
    // must not pick some other device's interfaces.
    if (entry.vid == 0 || entry.pid == 0) {
        qCWarning(lcDevice) << "device entry" << index << "has no USB vendor or product id; not looking";
    } else {
        QString commandPath;
        QString inputPath;
        hid_device_info *devices = hid_enumerate(entry.vid, entry.pid);
        for (const hid_device_info *d = devices; d; d = d->next) {
            const QString path = QString::fromUtf8(d->path);
            if (d->usage_page == entry.usagePage && d->usage == entry.usage)
                commandPath = path;
            if (d->usage_page == entry.usagePage2 && d->usage == entry.usage2)
                inputPath = path;
            if (!commandPath.isEmpty() && !inputPath.isEmpty()) {
                info.commandPath = commandPath;
                info.inputPath = inputPath;
                found = true;
            }
        }
        hid_free_enumeration(devices);
        if (!found)
            qCDebug(lcDevice) << "device entry" << index << "not attached (command interface"
                              << !commandPath.isEmpty() << ", input interface" << !inputPath.isEmpty() << ")";
    }

    const bool took = hid_OpenDevice(info);
    if (answered)
        *answered = found && took;
    return found;
}

bool MS_HT66FB560::hid_OpenDevice(const DeviceOpenInfo &info)
{
    static_cast<DeviceOpenInfo &>(requestTemplate) = info;
    requestTemplate.featureLength = kFeatureLength;
    requestTemplate.dataLength = 0;
    requestTemplate.settleDelayMs = kSettleDelayMs;
    requestTemplate.chunkDelayMs = kChunkDelayMs;
    if (!info.commandPath.isEmpty() && (info.reportLength == 0 || info.reportLength > kDataBufferSize))
        qCWarning(lcDevice) << "report length" << info.reportLength
                            << "is unusable: block commands will be refused";

    const bool took = hid_01H_SetFunctionOption(kDetectFunctionOption);
    m_slave->startListener(info, kVendorReportLength);
    return took;
}

void MS_HT66FB560::onVendor(QList<uchar> vCmd)
{
    // The mouse's own input reports carry nothing the program acts on.
    Q_UNUSED(vCmd)
}

void MS_HT66FB560::hid_Cs(uchar *src9)
{
    if (src9)
        setFrameChecksum(src9);
}

bool MS_HT66FB560::prepare(uchar *src9, const uchar *data, int length)
{
    if (!src9) {
        qCWarning(lcDevice) << "refused: no frame";
        return false;
    }
    if (length < 0 || static_cast<std::size_t>(length) > kDataBufferSize || (length > 0 && !data)) {
        qCWarning(lcDevice) << "refused: data phase of" << length << "bytes does not fit the"
                            << kDataBufferSize << "byte buffer";
        return false;
    }
    hid_Cs(src9);
    std::copy_n(src9, kFrameSize, requestTemplate.frame.begin());
    requestTemplate.dataLength = length;
    if (length > 0)
        std::copy_n(data, length, requestTemplate.data.begin());
    return true;
}

bool MS_HT66FB560::hid_SetCmd(uchar *src9)
{
    if (!prepare(src9, nullptr, 0))
        return false;
    UsbTask t = requestTemplate;
    return m_master->exchange(t);
}

bool MS_HT66FB560::hid_SetDataCmd(uchar *src9, uchar *data, int length)
{
    if (!prepare(src9, data, length))
        return false;
    UsbTask t = requestTemplate;
    return m_master->exchange(t);
}

bool MS_HT66FB560::hid_GetCmd(uchar *src9)
{
    return getCmd(src9, 0);
}

bool MS_HT66FB560::getCmd(uchar *src9, int replyBytes)
{
    if (!prepare(src9, nullptr, 0))
        return false;
    UsbTask t = requestTemplate;
    t.reply.fill(0);
    bool ok = m_master->exchange(t);
    // A reply that stops before the value byte would hand the caller a zero the mouse never sent.
    if (ok && t.replyLength < replyBytes) {
        qCDebug(lcDevice).noquote() << opcodeText(src9[kFrameOpcodeByte]) << "reply of" << t.replyLength
                                    << "bytes carries no value";
        ok = false;
    }
    std::copy(t.reply.begin(), t.reply.end(), src9);
    return ok;
}

bool MS_HT66FB560::hid_GetDataCmd(uchar *src9, uchar *data, int length)
{
    if (!prepare(src9, data, length))
        return false;
    UsbTask t = requestTemplate;
    t.reply.fill(0);
    const bool ok = m_master->exchange(t);
    std::copy(t.reply.begin(), t.reply.end(), src9);
    // A failed read leaves the caller's buffer as it was rather than half a block.
    if (ok && length > 0)
        std::copy_n(t.data.begin(), length, data);
    return ok;
}
