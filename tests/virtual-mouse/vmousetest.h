#pragma once

// What the tests of the virtual mouse share: frames as the mouse expects them, handles that close
// themselves, one exchange at a time.

#include "vmouse.h"

#include <QByteArray>
#include <QStringList>
#include <QTest>

#include <hidapi/hidapi.h>

#include <algorithm>
#include <array>

namespace vmousetest {

using Bytes = QByteArray;

inline Bytes bytes(const vmouse::Block &b)
{
    return Bytes(reinterpret_cast<const char *>(b.data()), int(b.size()));
}

inline vmouse::Block pattern(int seed)
{
    vmouse::Block b{};
    for (int i = 0; i < vmouse::kBlockLength; ++i)
        b[i] = static_cast<std::uint8_t>(seed * 31 + i * 7);
    return b;
}

// A frame as the mouse expects it: report ID 0, bytes 1..7, checksum.
inline std::array<std::uint8_t, 9> frame(std::uint8_t op, std::uint8_t p2 = 0, std::uint8_t p3 = 0,
                                         std::uint8_t p4 = 0, std::uint8_t p5 = 0, std::uint8_t p6 = 0,
                                         std::uint8_t p7 = 0)
{
    std::array<std::uint8_t, 9> f{0, op, p2, p3, p4, p5, p6, p7, 0};
    unsigned sum = 0;
    for (int i = 1; i <= 7; ++i)
        sum += f[i];
    f[8] = static_cast<std::uint8_t>(~sum);
    return f;
}

struct Handle
{
    hid_device *dev;
    explicit Handle(const char *path = vmouse::kCommandPath)
        : dev(hid_open_path(path))
    {}
    ~Handle() { hid_close(dev); }
};

inline bool sendFrame(const std::array<std::uint8_t, 9> &f)
{
    Handle h;
    return h.dev && hid_send_feature_report(h.dev, f.data(), f.size()) == 9;
}

// One write exchange: the frame, then the block as two 65-byte output reports.
inline void writeBlock(std::uint8_t op, std::uint8_t index, const vmouse::Block &block, int reports = 2)
{
    Handle h;
    const auto f = frame(op, index, 0x80);
    QCOMPARE(hid_send_feature_report(h.dev, f.data(), f.size()), 9);
    for (int r = 0; r < reports; ++r) {
        std::uint8_t report[65] = {0};
        std::copy_n(block.begin() + r * 64, 64, report + 1);
        QCOMPARE(hid_write(h.dev, report, sizeof report), 65);
    }
}

// One read exchange: the frame, its reply, then the block from two input reports.
inline Bytes readBlock(std::uint8_t op, std::uint8_t index)
{
    Handle h;
    const auto f = frame(op, index);
    if (hid_send_feature_report(h.dev, f.data(), f.size()) != 9)
        return Bytes();
    std::uint8_t reply[9] = {0};
    if (hid_get_feature_report(h.dev, reply, sizeof reply) != 9)
        return Bytes();
    Bytes out;
    for (int r = 0; r < 2; ++r) {
        std::uint8_t report[65] = {0};
        const int n = hid_read_timeout(h.dev, report, sizeof report, 100);
        out.append(reinterpret_cast<const char *>(report), qMax(n, 0));
    }
    return out;
}

// The 9-byte reply to a read command.
inline std::array<std::uint8_t, 9> query(std::uint8_t op, std::uint8_t p2 = 0)
{
    std::array<std::uint8_t, 9> reply{};
    Handle h;
    const auto f = frame(op, p2);
    hid_send_feature_report(h.dev, f.data(), f.size());
    hid_get_feature_report(h.dev, reply.data(), reply.size());
    return reply;
}

inline QStringList enumeratedPaths(unsigned short vid = 0, unsigned short pid = 0)
{
    QStringList paths;
    hid_device_info *devs = hid_enumerate(vid, pid);
    for (auto *d = devs; d; d = d->next)
        paths << QStringLiteral("%1 %2/%3")
                     .arg(QLatin1String(d->path))
                     .arg(d->usage_page, 4, 16, QLatin1Char('0'))
                     .arg(d->usage, 4, 16, QLatin1Char('0'));
    hid_free_enumeration(devs);
    return paths;
}

} // namespace vmousetest
