#include "copydata.h"

std::optional<QString> copyDataText(const CopyDataRecord &record)
{
    if (record.dwData != CopyDataTextTag || record.cbData > CopyDataMaxBytes)
        return std::nullopt;
    if (record.cbData > 0 && !record.lpData)
        return std::nullopt;

    const char *bytes = static_cast<const char *>(record.lpData);
    qsizetype length = 0;
    while (length < qsizetype(record.cbData) && bytes[length] != '\0')
        ++length;

    const QString text = QString::fromUtf8(bytes, length);
    if (text.toUtf8().size() != qsizetype(record.cbData))
        return std::nullopt;
    return text;
}
