#pragma once

// The mouse's command frame: a 9-byte feature report, its checksum and the opcodes.

#include <QString>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <initializer_list>

constexpr std::size_t kFrameSize = 9;
constexpr std::size_t kFrameReportIdByte = 0;
constexpr std::size_t kFrameOpcodeByte = 1;
constexpr std::size_t kFrameFirstParamByte = 2;
constexpr std::size_t kFrameParamCount = 6;
constexpr std::size_t kFrameChecksumByte = 8;
constexpr uchar kFrameReportId = 0x00;

// Opcodes with this bit set are reads: the mouse answers with a feature report and, for block
// commands, sends the block back as input reports.
constexpr uchar kReadOpcodeBit = 0x80;

constexpr std::size_t kBlockSize = 128;      // profile block, key matrix, macro
constexpr std::size_t kDataBufferSize = 512; // largest data phase one exchange can carry
constexpr uchar kBlockLengthMarker = 0x80;   // byte 3 of the block writes

static_assert(kFrameSize == 9, "the mouse takes 9-byte feature reports");
static_assert(kFrameFirstParamByte + kFrameParamCount == kFrameChecksumByte,
              "six parameters before the checksum");
static_assert(kFrameChecksumByte == kFrameSize - 1, "the checksum closes the frame");
static_assert(kBlockSize == 128 && kBlockSize <= kDataBufferSize, "a block fits the data buffer");
static_assert(kBlockLengthMarker == kBlockSize, "the block writes announce their length");

using Frame = std::array<uchar, kFrameSize>;
using DataBlock = std::array<uchar, kBlockSize>;

namespace Opcode {
constexpr uchar SetFunctionOption = 0x01;
constexpr uchar SetCurrentProfile = 0x02;
constexpr uchar SetReportRate = 0x03;
constexpr uchar SetDPIStage = 0x04;
constexpr uchar SetStopMacroSending = 0x08;
constexpr uchar SetFwProfile = 0x0C;
constexpr uchar SetKeyMatrix = 0x0D;
constexpr uchar SetMacroKey = 0x0F;
constexpr uchar GetFWVersion = 0x80;
constexpr uchar GetFunctionOption = 0x81;
constexpr uchar GetCurrentProfile = 0x82;
constexpr uchar GetReportRate = 0x83;
constexpr uchar GetDPIStage = 0x84;
constexpr uchar GetRGBLedTwinkle = 0x89;
constexpr uchar GetFwProfile = 0x8C;
constexpr uchar GetKeyMatrix = 0x8D;
constexpr uchar GetMacroKey = 0x8F;
} // namespace Opcode

// The option 01H sends each time the mouse is detected.
constexpr uchar kDetectFunctionOption = 0x0F;
// The fixed parameters of 08H.
constexpr std::array<uchar, 3> kStopMacroPattern = {0xAA, 0xCC, 0xEE};

constexpr bool isReadOpcode(uchar opcode)
{
    return (opcode & kReadOpcodeBit) != 0;
}

// Bitwise NOT of the 8-bit sum of bytes 1..7.
uchar frameChecksum(const uchar *src9);
void setFrameChecksum(uchar *src9);

// A zeroed frame with the opcode and up to six parameters in bytes 2..7; the checksum is left 0.
Frame makeFrame(uchar opcode, std::initializer_list<uchar> params = {});

// "0CH": how the log names a command.
QString opcodeText(uchar opcode);

// The firmware version from the reply's bytes 2 and 3: "1.0A", "1b.05".
QString firmwareVersionText(uchar major, uchar minor);
