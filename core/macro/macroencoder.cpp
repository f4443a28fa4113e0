#include "macroencoder.h"

#include <algorithm>

namespace {

constexpr uchar KeyDown = 0x01;
constexpr uchar KeyUp = 0x81;
constexpr uchar UpBit = 0x80;
constexpr uchar PauseMask = 0x7F;
constexpr uchar PauseMarker = 0x01; // second byte of both pause events

constexpr qint64 MaxMergedMs = 1270;     // fits the 7-bit pause of a key event, in 10 ms units
constexpr qint64 MaxShortPauseMs = 5100; // fits one byte of 20 ms units
constexpr qint64 PauseUnitMs = 20;
constexpr qint64 KeyPauseUnitMs = 10;
constexpr qint64 MaxLongPauseCount = 0xFFFF;

constexpr int LongPauseSize = 4;
constexpr int ShortEventSize = 2;

void appendLongPause(QList<uchar> &out, qint64 ms)
{
    // Longer than the 16-bit count can hold: the longest pause the mouse knows, not a wrapped short one.
    const qint64 count =
        std::min((std::max<qint64>(ms, PauseUnitMs) + PauseUnitMs / 2) / PauseUnitMs, MaxLongPauseCount);
    out << 0x00 << PauseMarker << uchar(count >> 8) << uchar(count & 0xFF);
}

} // namespace

QList<uchar> encodeMacroLines(const QStringList &lines, const QMap<QString, uchar> &keyNames)
{
    QList<uchar> out{0x00, 0x01};
    // Whether the last bytes written are a key event, the only event a short delay may be merged into.
    bool lastIsKeyEvent = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.size() < kMacroTagLength)
            continue;
        const QStringView tag = QStringView(line).right(kMacroTagLength);
        const QString payload = line.left(line.size() - kMacroTagLength);

        if (tag == kMacroDownTag || tag == kMacroUpTag) {
            const uchar code = keyNames.value(payload, 0);
            if (code != 0) {
                out << (tag == kMacroDownTag ? KeyDown : KeyUp) << code;
                lastIsKeyEvent = true;
            }
            continue;
        }
        if (tag != kMacroDelayTag)
            continue;

        const qint64 ms = payload.toInt(nullptr, 10);
        if (ms == 0)
            continue;
        const bool afterDelay = i > 0 && lines.at(i - 1).size() >= kMacroTagLength &&
                                QStringView(lines.at(i - 1)).right(kMacroTagLength) == kMacroDelayTag;
        if (ms > MaxShortPauseMs) {
            appendLongPause(out, ms);
            lastIsKeyEvent = false;
        } else if (ms > MaxMergedMs) {
            out << uchar((ms + PauseUnitMs / 2) / PauseUnitMs) << PauseMarker;
            lastIsKeyEvent = false;
        } else if (afterDelay || !lastIsKeyEvent) {
            // Also first, after a delay line, and after key lines that wrote nothing. There the bytes before
            // are the header or a pause, whose first byte is no key's pause: merged into it the delay would
            // be lost, or turn a 1 s pause (00 01 00 32) into a 26.6 s one.
            appendLongPause(out, ms);
            lastIsKeyEvent = false;
        } else {
            // A short delay after a key line is the pause of the key event emitted last.
            uchar &first = out[out.size() - 2];
            const auto units =
                uchar((std::max<qint64>(ms, KeyPauseUnitMs) + KeyPauseUnitMs / 2) / KeyPauseUnitMs);
            first = uchar((first & UpBit) | (units & PauseMask));
        }
    }
    out << 0x00 << 0x00;
    return out;
}

MacroBlock macroDeviceBlock(const QList<uchar> &encoded, uint repeat)
{
    MacroBlock block{};
    qsizetype keep = encoded.size();
    if (keep > kMacroBlockSize) {
        // Cut after the last whole event that leaves room for the terminator: half an event, or none at the
        // end, would make the mouse play whatever the bytes happen to say.
        keep = kMacroHeaderSize;
        for (qsizetype at = kMacroHeaderSize; at + 1 < encoded.size();) {
            if (encoded[at] == 0x00 && encoded[at + 1] == 0x00)
                break;
            const int size =
                encoded[at] == 0x00 && encoded[at + 1] == PauseMarker ? LongPauseSize : ShortEventSize;
            if (at + size > kMacroBlockSize - kMacroTerminatorSize || at + size > encoded.size())
                break;
            at += size;
            keep = at;
        }
    }
    std::copy_n(encoded.cbegin(), std::min<qsizetype>(keep, kMacroBlockSize), block.begin());
    block[0] = uchar((repeat >> 8) & 0xFF);
    block[1] = uchar(repeat & 0xFF);
    return block;
}
