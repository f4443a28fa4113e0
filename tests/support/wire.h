#pragma once

// The virtual mouse as detection describes it, and its wire log read back.

#include "bytes.h"
#include "deviceinfo.h"
#include "model/mousemodel.h"
#include "vmouse.h"
#include "wire/frame.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>

namespace wire {

using support::hex;

inline QList<vmouse::WireRecord> onPath(const char *path)
{
    QList<vmouse::WireRecord> records;
    for (const vmouse::WireRecord &r : vmouse::wireLog()) {
        if (r.path == path)
            records.append(r);
    }
    return records;
}

inline QList<vmouse::WireRecord> commandRecords()
{
    return onPath(vmouse::kCommandPath);
}

inline QString kindName(vmouse::WireKind kind)
{
    switch (kind) {
    case vmouse::WireKind::Open:
        return QStringLiteral("open");
    case vmouse::WireKind::Close:
        return QStringLiteral("close");
    case vmouse::WireKind::FeatureOut:
        return QStringLiteral("fout");
    case vmouse::WireKind::FeatureIn:
        return QStringLiteral("fin");
    case vmouse::WireKind::OutputReport:
        return QStringLiteral("out");
    case vmouse::WireKind::InputReport:
        return QStringLiteral("in");
    case vmouse::WireKind::Enumerate:
        return QStringLiteral("enum");
    }
    return QStringLiteral("?");
}

// "open fout fin close" for the records given.
inline QString kinds(const QList<vmouse::WireRecord> &records)
{
    QStringList names;
    for (const vmouse::WireRecord &r : records)
        names.append(kindName(r.kind));
    return names.join(QLatin1Char(' '));
}

inline QList<vmouse::WireRecord> ofKind(const QList<vmouse::WireRecord> &records, vmouse::WireKind kind)
{
    QList<vmouse::WireRecord> out;
    for (const vmouse::WireRecord &r : records) {
        if (r.kind == kind)
            out.append(r);
    }
    return out;
}

// The description detection hands over for the virtual mouse; no listener unless an input path is given.
inline DeviceOpenInfo virtualMouse(quint32 reportLength = 64, bool withInput = false)
{
    DeviceOpenInfo info;
    info.index = kSupportedModel.product.deviceListEntry;
    info.productName = QStringLiteral("Vesk");
    info.commandPath = QString::fromLatin1(vmouse::kCommandPath);
    if (withInput)
        info.inputPath = QString::fromLatin1(vmouse::kInputPath);
    info.reportLength = reportLength;
    info.vid = vmouse::kVendorId;
    info.pid = vmouse::kProductId;
    return info;
}

// The supported mouse's entry of the device list, as the virtual mouse presents it.
inline DeviceInfo virtualMouseEntry()
{
    DeviceInfo entry;
    entry.vid = vmouse::kVendorId;
    entry.pid = vmouse::kProductId;
    entry.usagePage = 0xff00;
    entry.usage = 0xff00;
    entry.usagePage2 = 0xff01;
    entry.usage2 = 0x0001;
    entry.productName = QStringLiteral("Vesk");
    entry.reportLength = vmouse::kReportLength;
    return entry;
}

using Block = std::array<uchar, kBlockSize>;

inline Block pattern(int seed)
{
    Block block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uchar>(i * 7 + static_cast<std::size_t>(seed));
    return block;
}

inline vmouse::Block toVmouse(const Block &b)
{
    vmouse::Block out{};
    std::copy(b.begin(), b.end(), out.begin());
    return out;
}

inline Block fromVmouse(const vmouse::Block &b)
{
    Block out{};
    std::copy(b.begin(), b.end(), out.begin());
    return out;
}

} // namespace wire
