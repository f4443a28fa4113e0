#include "firmware.h"

#include "vmouse_log.h"

#include <algorithm>
#include <cstring>

namespace vmouse {

namespace {

constexpr std::uint8_t kDefaultRate = 1;  // 1 ms polling interval, 1000 Hz
constexpr std::uint8_t kDefaultStage = 1; // DPI stages count from 1
constexpr std::array<std::uint8_t, 3> kStopMacroParams{0xAA, 0xCC, 0xEE};
constexpr char kScrambleKey[] = "VbQmTpLs";
static_assert(sizeof(kScrambleKey) - 1 == 8, "one key byte per scrambled frame byte");

std::uint8_t nibbleSwap(std::uint8_t v)
{
    return static_cast<std::uint8_t>((v << 4) | (v >> 4));
}

} // namespace

std::uint8_t frameChecksum(const std::uint8_t *frame)
{
    unsigned sum = 0;
    for (int i = 1; i <= 7; ++i)
        sum += frame[i];
    return static_cast<std::uint8_t>(~sum & 0xFF);
}

// The host's scrambler swaps byte pairs, XORs the code into bytes 1..6, rotates the frame left by three bits
// and adds the nibble-swapped key; the mouse undoes those steps from the last to the first.
void unscrambleFrame(std::uint8_t b[8], const std::uint8_t code[7])
{
    for (int j = 0; j < 8; ++j)
        b[j] = static_cast<std::uint8_t>(b[j] - nibbleSwap(static_cast<std::uint8_t>(kScrambleKey[j])));

    std::uint64_t v = 0;
    for (int j = 0; j < 8; ++j)
        v = (v << 8) | b[j];
    v = (v >> 3) | (v << 61);
    for (int j = 7; j >= 0; --j) {
        b[j] = static_cast<std::uint8_t>(v & 0xFF);
        v >>= 8;
    }

    for (int i = 1; i <= 6; ++i)
        b[i] ^= code[i];

    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

MouseState::MouseState()
{
    rate.fill(kDefaultRate);
    stage.fill(kDefaultStage);
}

bool MouseState::operator==(const MouseState &o) const
{
    return plugged == o.plugged && version == o.version && option == o.option &&
           currentProfile == o.currentProfile && twinkle == o.twinkle && rate == o.rate && stage == o.stage &&
           profiles == o.profiles && matrices == o.matrices && macros == o.macros;
}

void Firmware::reset()
{
    state = MouseState();
    badChecksums = 0;
    protocolErrors = 0;
    stopMacros = 0;
    lastFlags = 0;
    m_reply = Frame{};
    m_reply[kChecksumIndex] = frameChecksum(m_reply.data());
    m_dataReports.clear();
    m_target = Target::None;
    m_received = 0;
}

void Firmware::setCode(const Code &code, bool enabled)
{
    m_code = code;
    m_hasCode = enabled;
}

bool Firmware::featureOut(const std::uint8_t *data, std::size_t length)
{
    if (length < static_cast<std::size_t>(kFrameLength)) {
        ++protocolErrors;
        qCWarning(lcVmouse) << "feature report of" << length << "bytes is shorter than a frame; ignored";
        return false;
    }
    Frame f{};
    std::memcpy(f.data(), data, kFrameLength);
    if (m_hasCode)
        unscrambleFrame(f.data() + 1, m_code.data());

    if (f[kChecksumIndex] != frameChecksum(f.data())) {
        ++badChecksums;
        qCWarning(lcVmouse, "frame with opcode %02x has checksum %02x, expected %02x; ignored", f[1],
                  f[kChecksumIndex], frameChecksum(f.data()));
        return false;
    }
    if (f[0] != 0)
        qCDebug(lcVmouse) << "frame carries report ID" << f[0] << "; the mouse has none and reads on";

    // A new command ends a block the host never finished, and replaces data it never fetched.
    if (m_target != Target::None) {
        ++protocolErrors;
        qCWarning(lcVmouse) << "block write broken off after" << m_received << "bytes; block not stored";
        m_target = Target::None;
    }
    m_dataReports.clear();

    if (f[1] & kReadBit) {
        handleRead(f);
        return false;
    }
    return handleWrite(f);
}

bool Firmware::validProfile(std::uint8_t profile, std::uint8_t op)
{
    if (profile < kProfileCount)
        return true;
    ++protocolErrors;
    qCWarning(lcVmouse, "opcode %02x names profile %u; the mouse has profiles 0..5; ignored", op, profile);
    return false;
}

bool Firmware::validMacro(std::uint8_t id, std::uint8_t op)
{
    if (id >= 1 && id <= kMacroCount)
        return true;
    ++protocolErrors;
    qCWarning(lcVmouse, "opcode %02x names macro %u; the mouse has macros 1..100; ignored", op, id);
    return false;
}

bool Firmware::handleWrite(const Frame &f)
{
    const std::uint8_t op = f[1];
    auto setIfChanged = [](std::uint8_t &target, std::uint8_t value) {
        const bool changed = target != value;
        target = value;
        return changed;
    };
    switch (op) {
    case opcode::SetOption:
        return setIfChanged(state.option, f[2]);
    case opcode::SetProfile:
        return validProfile(f[2], op) && setIfChanged(state.currentProfile, f[2]);
    case opcode::SetRate:
        return validProfile(f[2], op) && setIfChanged(state.rate[f[2]], f[3]);
    case opcode::SetStage:
        return validProfile(f[2], op) && setIfChanged(state.stage[f[2]], f[3]);
    case opcode::StopMacro:
        if (!std::equal(kStopMacroParams.begin(), kStopMacroParams.end(), f.begin() + 2)) {
            ++protocolErrors;
            qCWarning(lcVmouse) << "stop-macro command without its AA CC EE signature; ignored";
            return false;
        }
        ++stopMacros;
        return false;
    case opcode::SetFwProfile:
    case opcode::SetKeyMatrix:
    case opcode::SetMacro: {
        std::uint8_t index = f[2];
        if (op == opcode::SetFwProfile) {
            lastFlags = index & kProfileFlagMask;
            index &= static_cast<std::uint8_t>(~kProfileFlagMask);
        }
        if (f[3] != kBlockLengthMarker) {
            ++protocolErrors;
            qCWarning(lcVmouse, "block write %02x announces length %02x, the mouse takes 80; ignored", op,
                      f[3]);
            return false;
        }
        const bool valid = op == opcode::SetMacro ? validMacro(index, op) : validProfile(index, op);
        if (!valid)
            return false;
        m_target = op == opcode::SetFwProfile   ? Target::Profile
                   : op == opcode::SetKeyMatrix ? Target::Matrix
                                                : Target::Macro;
        m_targetIndex = index;
        m_incoming.fill(0);
        m_received = 0;
        return false;
    }
    default:
        ++protocolErrors;
        qCWarning(lcVmouse, "unknown write opcode %02x; ignored", op);
        return false;
    }
}

void Firmware::setReply(std::uint8_t op, std::uint8_t byte2, std::uint8_t byte3)
{
    m_reply.fill(0);
    m_reply[1] = op;
    m_reply[2] = byte2;
    m_reply[3] = byte3;
    m_reply[kChecksumIndex] = frameChecksum(m_reply.data());
}

void Firmware::queueBlock(const Block &block)
{
    for (int offset = 0; offset < kBlockLength; offset += kReportLength)
        m_dataReports.emplace_back(block.begin() + offset, block.begin() + offset + kReportLength);
}

Block *Firmware::blockFor(Target target, int index)
{
    switch (target) {
    case Target::Profile:
        return &state.profiles[index];
    case Target::Matrix:
        return &state.matrices[index];
    case Target::Macro:
        return &state.macros[index - 1];
    case Target::None:
        break;
    }
    return nullptr;
}

void Firmware::handleRead(const Frame &f)
{
    const std::uint8_t op = f[1];
    const std::uint8_t p = f[2];
    // An unanswerable read still gets its opcode echoed with zero values, so a host never sees stale data.
    setReply(op, 0, 0);
    switch (op) {
    case opcode::GetVersion:
        setReply(op, state.version[0], state.version[1]);
        return;
    case opcode::GetOption:
        setReply(op, state.option, 0);
        return;
    case opcode::GetProfile:
        setReply(op, state.currentProfile, 0);
        return;
    case opcode::GetRate:
        if (validProfile(p, op))
            setReply(op, p, state.rate[p]);
        return;
    case opcode::GetStage:
        if (validProfile(p, op))
            setReply(op, p, state.stage[p]);
        return;
    case opcode::GetTwinkle:
        setReply(op, state.twinkle, 0);
        return;
    case opcode::GetFwProfile:
    case opcode::GetKeyMatrix:
    case opcode::GetMacro: {
        const bool macro = op == opcode::GetMacro;
        if (!(macro ? validMacro(p, op) : validProfile(p, op)))
            return;
        setReply(op, p, f[3]);
        const Target t = macro                        ? Target::Macro
                         : op == opcode::GetFwProfile ? Target::Profile
                                                      : Target::Matrix;
        queueBlock(*blockFor(t, p));
        return;
    }
    default:
        ++protocolErrors;
        qCWarning(lcVmouse, "unknown read opcode %02x; answered with zeros", op);
        return;
    }
}

bool Firmware::outputReport(const std::uint8_t *data, std::size_t length)
{
    if (m_target == Target::None) {
        ++protocolErrors;
        qCWarning(lcVmouse) << "output report of" << length << "bytes without a block write; ignored";
        return false;
    }
    if (length < 2) {
        ++protocolErrors;
        qCWarning(lcVmouse) << "output report of" << length << "bytes carries no data; ignored";
        return false;
    }
    // Byte 0 is the report ID; the mouse takes at most one report length of data from each report.
    const int n = std::min({static_cast<int>(length) - 1, kReportLength, kBlockLength - m_received});
    std::memcpy(m_incoming.data() + m_received, data + 1, static_cast<std::size_t>(n));
    m_received += n;
    if (m_received < kBlockLength)
        return false;

    Block *target = blockFor(m_target, m_targetIndex);
    m_target = Target::None;
    const bool changed = *target != m_incoming;
    *target = m_incoming;
    return changed;
}

void Firmware::abortBlock()
{
    if (m_target == Target::None)
        return;
    ++protocolErrors;
    qCWarning(lcVmouse) << "block write broken off after" << m_received << "bytes; block not stored";
    m_target = Target::None;
}

} // namespace vmouse
