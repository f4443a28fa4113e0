#pragma once

// The optional frame scrambler of devices whose list entry carries a six-character code.

#include <QtGlobal>

#include <array>
#include <cstddef>

constexpr std::size_t kCodeSize = 7;      // byte 0 unused, bytes 1..6 the code characters
constexpr std::size_t kScrambledSize = 8; // frame bytes 1..8: opcode, parameters, checksum
constexpr char kScrambleKey[] = "VbQmTpLs";

static_assert(sizeof(kScrambleKey) - 1 == kScrambledSize, "one key byte per scrambled byte");

using DeviceCode = std::array<uchar, kCodeSize>;

// Scrambles the eight bytes in place; only code bytes 1..6 are used.
void scrambleFrame(uchar *bytes, const DeviceCode &code);
