#pragma once

// Bytes and byte lists as the tests compare them: hexadecimal text ("0c 01 80"), which QCOMPARE shows
// readably.

#include <QByteArray>
#include <QVariantList>
#include <QtGlobal>

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <utility>

namespace support {

inline QByteArray hex(const uchar *bytes, std::size_t count)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(count)).toHex(' ');
}

// Any contiguous bytes (a block, a frame, a list of uchar); with count, only the first count.
template<typename Bytes, typename = decltype(std::data(std::declval<const Bytes &>()))>
QByteArray hex(const Bytes &bytes, std::size_t count)
{
    return hex(reinterpret_cast<const uchar *>(std::data(bytes)), count);
}
template<typename Bytes, typename = decltype(std::data(std::declval<const Bytes &>()))>
QByteArray hex(const Bytes &bytes)
{
    return hex(bytes, std::size(bytes));
}

inline QByteArray hex(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out.append(char(b));
    return out.toHex(' ');
}

// n zero bytes, as hex shows them.
inline QByteArray zeros(int n)
{
    return QByteArray(n, '\0').toHex(' ');
}

inline QVariantList numbers(std::initializer_list<int> values)
{
    QVariantList list;
    for (int v : values)
        list.append(v);
    return list;
}

} // namespace support
