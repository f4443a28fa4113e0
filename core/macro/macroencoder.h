#pragma once

#include "wire/frame.h"

#include <QLatin1String>
#include <QList>
#include <QMap>
#include <QStringList>

#include <array>

// The mouse plays a macro from a 128-byte block: a big-endian repeat count, events of 2 or 4 bytes, the
// terminator 00 00, zero fill. The library keeps macros as text lines: a payload (key name or milliseconds)
// followed by a 10-character tag.

constexpr int kMacroBlockSize = int(kBlockSize);
constexpr int kMacroHeaderSize = 2;
constexpr int kMacroTerminatorSize = 2;
constexpr int kMacroTagLength = 10;

constexpr QLatin1String kMacroDownTag("    [Down]");
constexpr QLatin1String kMacroUpTag("      [Up]");
constexpr QLatin1String kMacroDelayTag("   [Delay]");
static_assert(sizeof("    [Down]") - 1 == kMacroTagLength && sizeof("      [Up]") - 1 == kMacroTagLength &&
                  sizeof("   [Delay]") - 1 == kMacroTagLength,
              "every tag is exactly as long as the tag field");

using MacroBlock = std::array<uchar, kMacroBlockSize>;

// Macro lines → header 00 01, events, terminator 00 00. Key lines are looked up in keyNames; lines that name
// no key, carry another tag or a zero delay yield nothing.
QList<uchar> encodeMacroLines(const QStringList &lines, const QMap<QString, uchar> &keyNames);

// The block the mouse receives: the encoded list with the repeat count in its header, zero filled. A list
// over 128 bytes keeps the whole events that leave room for the terminator.
MacroBlock macroDeviceBlock(const QList<uchar> &encoded, uint repeat);
