#pragma once

// The emulated firmware: what the mouse keeps and how it answers frames and data reports. No threads, no I/O;
// the hidapi layer feeds it bytes under its lock.

#include "vmouse.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace vmouse {

using Frame = std::array<std::uint8_t, kFrameLength>;
using Code = std::array<std::uint8_t, 7>; // byte 0 unused, bytes 1..6 the code characters

constexpr int kChecksumIndex = 8;
constexpr std::uint8_t kReadBit = 0x80;
constexpr std::uint8_t kBlockLengthMarker = 0x80; // byte 3 of a block write
constexpr std::uint8_t kProfileFlagMask = 0xF0;   // 0CH carries flags above the profile number in byte 2
static_assert(kChecksumIndex == kFrameLength - 1, "the checksum closes the frame");

namespace opcode {
constexpr std::uint8_t SetOption = 0x01;
constexpr std::uint8_t SetProfile = 0x02;
constexpr std::uint8_t SetRate = 0x03;
constexpr std::uint8_t SetStage = 0x04;
constexpr std::uint8_t StopMacro = 0x08;
constexpr std::uint8_t SetFwProfile = 0x0C;
constexpr std::uint8_t SetKeyMatrix = 0x0D;
constexpr std::uint8_t SetMacro = 0x0F;
constexpr std::uint8_t GetVersion = 0x80;
constexpr std::uint8_t GetOption = 0x81;
constexpr std::uint8_t GetProfile = 0x82;
constexpr std::uint8_t GetRate = 0x83;
constexpr std::uint8_t GetStage = 0x84;
constexpr std::uint8_t GetTwinkle = 0x89;
constexpr std::uint8_t GetFwProfile = 0x8C;
constexpr std::uint8_t GetKeyMatrix = 0x8D;
constexpr std::uint8_t GetMacro = 0x8F;
} // namespace opcode

// Bitwise NOT of the 8-bit sum of frame bytes 1..7.
std::uint8_t frameChecksum(const std::uint8_t *frame);

// Everything the mouse keeps, plus whether it is plugged in.
struct MouseState
{
    bool plugged = true;
    std::array<std::uint8_t, 2> version{0x01, 0x0A};
    std::uint8_t option = 0;
    std::uint8_t currentProfile = 0;
    std::uint8_t twinkle = 0;
    std::array<std::uint8_t, kProfileCount> rate{};
    std::array<std::uint8_t, kProfileCount> stage{};
    std::array<Block, kProfileCount> profiles{};
    std::array<Block, kProfileCount> matrices{};
    std::array<Block, kMacroCount> macros{};

    MouseState();
    bool operator==(const MouseState &other) const;
    bool operator!=(const MouseState &other) const { return !(*this == other); }
};

class Firmware
{
public:
    MouseState state;
    int badChecksums = 0;
    int protocolErrors = 0;
    int stopMacros = 0;
    std::uint8_t lastFlags = 0;

    // Factory state; the code stays.
    void reset();
    // Empty = frames are taken as they come.
    void setCode(const Code &code, bool enabled);
    bool hasCode() const { return m_hasCode; }

    // A feature report from the host, report ID first. Returns true when the kept state changed.
    bool featureOut(const std::uint8_t *data, std::size_t length);
    // The feature report the host fetches next, report ID first.
    const Frame &reply() const { return m_reply; }
    // An output report on the command interface, report ID first. Returns true when a block was stored.
    bool outputReport(const std::uint8_t *data, std::size_t length);
    // Data reports on their way to the host on the command interface, without report ID.
    std::deque<std::vector<std::uint8_t>> &dataReports() { return m_dataReports; }
    // The host stopped listening in the middle of a block (handle closed, mouse gone).
    void abortBlock();

private:
    enum class Target { None, Profile, Matrix, Macro };

    bool handleWrite(const Frame &f);
    void handleRead(const Frame &f);
    void setReply(std::uint8_t op, std::uint8_t byte2, std::uint8_t byte3);
    void queueBlock(const Block &block);
    Block *blockFor(Target target, int index);
    bool validProfile(std::uint8_t profile, std::uint8_t op);
    bool validMacro(std::uint8_t id, std::uint8_t op);

    bool m_hasCode = false;
    Code m_code{};
    Frame m_reply{};
    std::deque<std::vector<std::uint8_t>> m_dataReports;
    Target m_target = Target::None;
    int m_targetIndex = 0;
    Block m_incoming{};
    int m_received = 0;
};

} // namespace vmouse
