// The control API of vmouse.h over the one emulator instance.

#include "emulator.h"
#include "statefile.h"
#include "vmouse_log.h"

#include <algorithm>

namespace vmouse {

namespace {

// Runs f with the emulator locked.
template<class F>
auto locked(F f)
{
    Emulator &e = Emulator::instance();
    std::lock_guard lock(e.mutex());
    return f(e);
}

bool validProfile(int profile, const char *what)
{
    if (profile >= 0 && profile < kProfileCount)
        return true;
    qCWarning(lcVmouse, "%s: profile %d out of range 0..5", what, profile);
    return false;
}

bool validMacro(int id, const char *what)
{
    if (id >= 1 && id <= kMacroCount)
        return true;
    qCWarning(lcVmouse, "%s: macro %d out of range 1..100", what, id);
    return false;
}

// Changes one value of the kept state and writes the state file when it changed.
template<class T>
void store(Emulator &e, T &target, const T &value)
{
    if (target == value)
        return;
    target = value;
    e.persistLocked();
}

} // namespace

void reset()
{
    locked([](Emulator &e) { e.resetLocked(); });
}

void setPlugged(bool on)
{
    locked([&](Emulator &e) { e.setPluggedLocked(on); });
}

bool plugged()
{
    return locked([](Emulator &e) { return e.firmware.state.plugged; });
}

void setEntry0Present(bool present)
{
    locked([&](Emulator &e) { e.setEntry0Locked(present); });
}

void setInterfaces(bool command, bool input)
{
    locked([&](Emulator &e) { e.setInterfacesLocked(command, input); });
}

void setForeignDeviceOnMousePaths(bool on)
{
    locked([&](Emulator &e) { e.setForeignLocked(on); });
}

void setCode(const std::string &sixChars)
{
    locked([&](Emulator &e) { e.setCodeLocked(sixChars); });
}

void failOpens(int n, const std::string &path)
{
    locked([&](Emulator &e) {
        e.faults.failOpens = n;
        e.faults.failOpenPath = path;
    });
}

void failFeatureReports(int n)
{
    locked([&](Emulator &e) { e.faults.failFeatures = n; });
}

void shortInputReports(int n)
{
    locked([&](Emulator &e) { e.faults.shortInputs = n; });
}

void silentInputReports(bool silent)
{
    locked([&](Emulator &e) { e.setSilentLocked(silent); });
}

void unplugAfterReports(int n)
{
    locked([&](Emulator &e) {
        e.faults.unplugAfter = n > 0 ? n : -1;
        if (n == 0)
            e.setPluggedLocked(false);
    });
}

void setWedged(int milliseconds)
{
    locked([&](Emulator &e) { e.setWedgedLocked(milliseconds); });
}

void lateInputReports(int skip, int count)
{
    if (skip < 0 || count < 0)
        qCWarning(lcVmouse, "lateInputReports(%d, %d): negative values count as 0", skip, count);
    locked([&](Emulator &e) {
        e.faults.lateSkip = std::max(skip, 0);
        e.faults.lateCount = std::max(count, 0);
    });
}

void shortFeatureReplies(int n, int length)
{
    if (length < 0 || length > kFrameLength) {
        qCWarning(lcVmouse, "shortFeatureReplies: length %d outside 0..%d; taken as %d", length, kFrameLength,
                  std::clamp(length, 0, kFrameLength));
        length = std::clamp(length, 0, kFrameLength);
    }
    locked([&](Emulator &e) {
        e.faults.shortReplies = n;
        e.faults.shortReplyLength = length;
    });
}

void setUsbTiming(bool on)
{
    locked([&](Emulator &e) { e.usbTiming = on; });
}

void queueVendorReport(std::vector<std::uint8_t> report)
{
    locked([&](Emulator &e) { e.queueVendorReportLocked(std::move(report)); });
}

std::vector<WireRecord> wireLog()
{
    return locked([](Emulator &e) { return e.log; });
}

void clearWireLog()
{
    locked([](Emulator &e) { e.log.clear(); });
}

int badChecksumCount()
{
    return locked([](Emulator &e) { return e.firmware.badChecksums; });
}

int protocolErrorCount()
{
    return locked([](Emulator &e) { return e.firmware.protocolErrors; });
}

int openHandleCount()
{
    return locked([](Emulator &e) { return static_cast<int>(e.handles.size()); });
}

int foreignReportCount()
{
    return locked([](Emulator &e) { return e.foreignReports; });
}

Block profileBlock(int profile)
{
    return locked([&](Emulator &e) {
        return validProfile(profile, "profileBlock") ? e.firmware.state.profiles[profile] : Block{};
    });
}

void setProfileBlock(int profile, const Block &block)
{
    locked([&](Emulator &e) {
        if (validProfile(profile, "setProfileBlock"))
            store(e, e.firmware.state.profiles[profile], block);
    });
}

Block keyMatrix(int profile)
{
    return locked([&](Emulator &e) {
        return validProfile(profile, "keyMatrix") ? e.firmware.state.matrices[profile] : Block{};
    });
}

void setKeyMatrix(int profile, const Block &block)
{
    locked([&](Emulator &e) {
        if (validProfile(profile, "setKeyMatrix"))
            store(e, e.firmware.state.matrices[profile], block);
    });
}

Block macroBlock(int macroId)
{
    return locked([&](Emulator &e) {
        return validMacro(macroId, "macroBlock") ? e.firmware.state.macros[macroId - 1] : Block{};
    });
}

void setMacroBlock(int macroId, const Block &block)
{
    locked([&](Emulator &e) {
        if (validMacro(macroId, "setMacroBlock"))
            store(e, e.firmware.state.macros[macroId - 1], block);
    });
}

int currentProfile()
{
    return locked([](Emulator &e) { return int(e.firmware.state.currentProfile); });
}

void setCurrentProfile(int profile)
{
    locked([&](Emulator &e) {
        if (validProfile(profile, "setCurrentProfile"))
            store(e, e.firmware.state.currentProfile, static_cast<std::uint8_t>(profile));
    });
}

std::uint8_t reportRate(int profile)
{
    return locked([&](Emulator &e) {
        return validProfile(profile, "reportRate") ? e.firmware.state.rate[profile] : std::uint8_t(0);
    });
}

void setReportRate(int profile, std::uint8_t rate)
{
    locked([&](Emulator &e) {
        if (validProfile(profile, "setReportRate"))
            store(e, e.firmware.state.rate[profile], rate);
    });
}

std::uint8_t dpiStage(int profile)
{
    return locked([&](Emulator &e) {
        return validProfile(profile, "dpiStage") ? e.firmware.state.stage[profile] : std::uint8_t(0);
    });
}

void setDpiStage(int profile, std::uint8_t stage)
{
    locked([&](Emulator &e) {
        if (validProfile(profile, "setDpiStage"))
            store(e, e.firmware.state.stage[profile], stage);
    });
}

std::uint8_t twinkleType()
{
    return locked([](Emulator &e) { return e.firmware.state.twinkle; });
}

void setTwinkleType(std::uint8_t type)
{
    locked([&](Emulator &e) { store(e, e.firmware.state.twinkle, type); });
}

std::uint8_t optionByte()
{
    return locked([](Emulator &e) { return e.firmware.state.option; });
}

void setOptionByte(std::uint8_t option)
{
    locked([&](Emulator &e) { store(e, e.firmware.state.option, option); });
}

std::array<std::uint8_t, 2> firmwareVersion()
{
    return locked([](Emulator &e) { return e.firmware.state.version; });
}

void setFirmwareVersion(std::uint8_t high, std::uint8_t low)
{
    locked([&](Emulator &e) { store(e, e.firmware.state.version, std::array<std::uint8_t, 2>{high, low}); });
}

int stopMacroCount()
{
    return locked([](Emulator &e) { return e.firmware.stopMacros; });
}

std::uint8_t lastFlags()
{
    return locked([](Emulator &e) { return e.firmware.lastFlags; });
}

bool loadState(const std::string &path)
{
    const auto text = readTextFile(path);
    if (!text) {
        qCWarning(lcVmouse, "cannot read state file %s; state unchanged", path.c_str());
        return false;
    }
    return locked([&](Emulator &e) {
        MouseState s = e.firmware.state;
        parseState(*text, s);
        const bool pluggedChanged = s.plugged != e.firmware.state.plugged;
        const bool plug = s.plugged;
        s.plugged = e.firmware.state.plugged;
        e.firmware.state = s;
        // Plugging goes through its own path, which also invalidates handles and wakes readers.
        if (pluggedChanged)
            e.setPluggedLocked(plug);
        e.persistLocked();
        return true;
    });
}

bool saveState(const std::string &path)
{
    const std::string text = locked([](Emulator &e) { return formatState(e.firmware.state); });
    return writeTextFileAtomically(path, text);
}

} // namespace vmouse
