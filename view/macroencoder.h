#pragma once

#include <QLatin1String>
#include <QList>
#include <QMap>
#include <QStringList>

#include <array>

// The mouse plays a macro from a 128-byte block: a big-endian repeat count, events of 2 or 4 bytes, the
// terminator 00 00, zero fill. The library keeps macros as text lines: a payload (key name or milliseconds)
// followed by a 10-character tag.

constexpr int MacroBlockSize = 128;
constexpr int MacroHeaderSize = 2;
constexpr int MacroTerminatorSize = 2;
constexpr int MacroTagLength = 10;

constexpr QLatin1String MacroDownTag("    [Down]");
constexpr QLatin1String MacroUpTag("      [Up]");
constexpr QLatin1String MacroDelayTag("   [Delay]");
static_assert(sizeof("    [Down]") - 1 == MacroTagLength && sizeof("      [Up]") - 1 == MacroTagLength &&
                  sizeof("   [Delay]") - 1 == MacroTagLength,
              "every tag is exactly as long as the tag field");

using MacroBlock = std::array<uchar, MacroBlockSize>;

// Macro lines → header 00 01, events, terminator 00 00. Key lines are looked up in keyNames; lines that name
// no key, carry another tag or a zero delay yield nothing.
QList<uchar> encodeMacroLines(const QStringList &lines, const QMap<QString, uchar> &keyNames);

// The block the mouse receives: the encoded list with the repeat count in its header, zero filled. A list
// over 128 bytes keeps the whole events that leave room for the terminator.
MacroBlock macroDeviceBlock(const QList<uchar> &encoded, uint repeat);
