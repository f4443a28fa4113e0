#pragma once

// The supported-device list and what detection hands to the transport and the listener.

#include "wire/scrambler.h"

#include <QList>
#include <QString>
#include <QStringList>

// One entry of the supported-device list.
struct DeviceInfo
{
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0; // command interface
    quint16 usage = 0;
    quint16 usagePage2 = 0; // vendor-input interface
    quint16 usage2 = 0;
    QString productName;
    quint32 reportLength = 0;
    QString sCode;
};

// The opened mouse as detection found it.
struct DeviceOpenInfo
{
    int index = 0;
    QString productName;
    QString commandPath;
    QString inputPath;
    quint32 reportLength = 0;
    bool hasCode = false;
    DeviceCode code{};
    // The USB identity the interfaces were found under. Linux hands a freed /dev/hidrawN to the next device
    // at once, so every exchange checks the device it opened against these before it sends anything.
    quint16 vid = 0;
    quint16 pid = 0;
};

// The reserved device code of a device the program must not talk to.
inline QString blockedDeviceCode()
{
    return QStringLiteral("k-vantor");
}

// The compiled-in list; the product value names the entry of each model in it (Product::deviceListEntry).
inline QString deviceListPath()
{
    return QStringLiteral(":/DevInfo.ini");
}

constexpr int kDeviceCodeLength = 6;
// The list never names more devices than this; a larger count is taken as a damaged file.
constexpr int kMaxDeviceListEntries = 256;

// Code bytes 1..6 from a six-character sCode; all zero for any other length.
DeviceCode deviceCodeFromSCode(const QString &sCode);

// Reads the INI device list at iniPath; entry i takes its name from productNames[i] when present.
QList<DeviceInfo> readDeviceList(const QString &iniPath, const QStringList &productNames);

// A hexadecimal list value: parsed in base 16, kept in 16 bits, 0 when it does not parse.
quint16 parseHexValue(const QString &text);
