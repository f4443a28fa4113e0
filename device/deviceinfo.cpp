#include "deviceinfo.h"

#include "devicelog.h"

#include <QFileInfo>
#include <QSettings>

DeviceCode deviceCodeFromSCode(const QString &sCode)
{
    DeviceCode code{};
    if (sCode.size() != kDeviceCodeLength)
        return code;
    const QByteArray bytes = sCode.toLatin1();
    for (int i = 0; i < kDeviceCodeLength; ++i)
        code[static_cast<std::size_t>(i) + 1] = static_cast<uchar>(bytes.at(i));
    return code;
}

quint16 parseHexValue(const QString &text)
{
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok, 16);
    return ok ? static_cast<quint16>(value) : quint16(0);
}

QList<DeviceInfo> readDeviceList(const QString &iniPath, const QStringList &productNames)
{
    QList<DeviceInfo> list;
    if (!QFileInfo::exists(iniPath)) {
        qCWarning(lcDevice) << "device list" << iniPath << "does not exist";
        return list;
    }
    QSettings ini(iniPath, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        qCWarning(lcDevice) << "device list" << iniPath << "is malformed; reading what it holds";

    int total = ini.value(QStringLiteral("common/total"), 0).toInt();
    if (total < 0)
        total = 0;
    if (total > kMaxDeviceListEntries) {
        qCWarning(lcDevice) << "device list claims" << total << "entries; reading the first"
                            << kMaxDeviceListEntries;
        total = kMaxDeviceListEntries;
    }

    auto hex = [&ini](const QString &key) { return parseHexValue(ini.value(key).toString()); };
    for (int i = 0; i < total; ++i) {
        ini.beginGroup(QString::number(i));
        DeviceInfo entry;
        entry.vid = hex(QStringLiteral("vid"));
        entry.pid = hex(QStringLiteral("pid"));
        entry.usagePage = hex(QStringLiteral("usagePage"));
        entry.usage = hex(QStringLiteral("usage"));
        entry.usagePage2 = hex(QStringLiteral("usagePage2"));
        entry.usage2 = hex(QStringLiteral("usage2"));
        entry.productName = productNames.value(i);
        entry.reportLength = ini.value(QStringLiteral("reportLength"), 0).toUInt();
        entry.sCode = ini.value(QStringLiteral("sCode")).toString();
        ini.endGroup();
        list.append(entry);
    }
    return list;
}
