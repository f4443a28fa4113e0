#include "frame.h"

#include <QString>

#include <algorithm>

uchar frameChecksum(const uchar *src9)
{
    unsigned sum = 0;
    for (std::size_t i = kFrameOpcodeByte; i < kFrameChecksumByte; ++i)
        sum += src9[i];
    return static_cast<uchar>(0xFF - (sum & 0xFF));
}

void setFrameChecksum(uchar *src9)
{
    src9[kFrameChecksumByte] = frameChecksum(src9);
}

Frame makeFrame(uchar opcode, std::initializer_list<uchar> params)
{
    Frame frame{};
    frame[kFrameReportIdByte] = kFrameReportId;
    frame[kFrameOpcodeByte] = opcode;
    const std::size_t count = std::min(params.size(), kFrameParamCount);
    std::copy_n(params.begin(), count, frame.begin() + kFrameFirstParamByte);
    return frame;
}

QString firmwareVersionText(uchar major, uchar minor)
{
    return QString::number(major, 16) + QLatin1Char('.') +
           QStringLiteral("%1").arg(minor, 2, 16, QLatin1Char('0')).toUpper();
}

QString opcodeText(uchar opcode)
{
    return QStringLiteral("%1H").arg(opcode, 2, 16, QLatin1Char('0')).toUpper();
}
