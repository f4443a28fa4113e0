#pragma once

// Control API of the virtual mouse: the tests seed, drive and inspect the emulated mouse behind the hidapi
// functions of libvesk-vmouse. Every function is thread-safe and may be called while the program under test
// talks to the mouse from other threads.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32)
#define VMOUSE_EXPORT __declspec(dllexport)
#else
#define VMOUSE_EXPORT __attribute__((visibility("default")))
#endif

namespace vmouse {

// What the wire fixes.
constexpr int kFrameLength = 9;   // report ID, opcode, six parameters, checksum
constexpr int kBlockLength = 128; // profile block, key matrix block, macro block
constexpr int kReportLength = 64; // data report of the command interface, without report ID
constexpr int kProfileCount = 6;  // profiles 0..5
constexpr int kMacroCount = 100;  // macro ids 1..100
static_assert(kBlockLength == 2 * kReportLength, "a block travels as exactly two data reports");

constexpr std::uint16_t kVendorId = 0x04d9;
constexpr std::uint16_t kProductId = 0xa1e8;       // the supported mouse (device list entry 1)
constexpr std::uint16_t kEntry0ProductId = 0x8008; // the other device of the list (entry 0)

// hidapi paths; stable for the whole run.
inline constexpr char kCommandPath[] = "vmouse:04d9:a1e8:cmd";       // usage page 0xff00, usage 0xff00
inline constexpr char kInputPath[] = "vmouse:04d9:a1e8:input";       // usage page 0xff01, usage 0x0001
inline constexpr char kEntry0CommandPath[] = "vmouse:04d9:8008:cmd"; // usage page 0xff01, usage 0x0001
inline constexpr char kEntry0InputPath[] = "vmouse:04d9:8008:input"; // usage page 0xff02, usage 0x0001
// Where the mouse's interfaces are found while another device holds the usual paths (see
// setForeignDeviceOnMousePaths); same usages as on the usual paths.
inline constexpr char kMovedCommandPath[] = "vmouse:04d9:a1e8:cmd#2";
inline constexpr char kMovedInputPath[] = "vmouse:04d9:a1e8:input#2";

// The other device that takes over the mouse's usual paths: a keyboard, usage page 0x0001, usage 0x0006.
constexpr std::uint16_t kForeignVendorId = 0x046d;
constexpr std::uint16_t kForeignProductId = 0xc31c;

using Block = std::array<std::uint8_t, kBlockLength>;

enum class WireKind {
    Open,         // hid_open_path / hid_open; bytes empty
    Close,        // hid_close; bytes empty
    FeatureOut,   // hid_send_feature_report; bytes as passed (report ID first)
    FeatureIn,    // hid_get_feature_report; bytes as returned to the program
    OutputReport, // hid_write; bytes as passed (report ID first)
    InputReport,  // hid_read / hid_read_timeout; bytes as delivered (no report ID)
    Enumerate,    // hid_enumerate; bytes = vendor id, product id, each big-endian; path empty
};

struct WireRecord
{
    WireKind kind = WireKind::Open;
    std::string path;
    std::vector<std::uint8_t> bytes;
    std::int64_t timeUs = 0; // steady clock, microseconds
    bool ok = true;          // false when the call failed (fault, unplugged, closed interface)
};

// Factory state: plugged, both interfaces of entry 1 present on their usual paths, entry 0 and the foreign
// device absent, no faults (no wedge, no late or short reports), empty wire log, timing off, no code,
// version 0x01 0x0A, option 0, current profile 0, rate 1 and stage 1 in every profile, zero blocks, twinkle
// type 0, all counters 0. Open handles become invalid; udev monitors see every interface removed and added.
VMOUSE_EXPORT void reset();

// Plugging.
VMOUSE_EXPORT void setPlugged(bool plugged);
VMOUSE_EXPORT bool plugged();
VMOUSE_EXPORT void setEntry0Present(bool present);
VMOUSE_EXPORT void setInterfaces(bool command, bool input);
// Another HID device (a keyboard, kForeignVendorId:kForeignProductId) on the mouse's usual paths, as when the
// kernel hands a freed hidraw node to the next device at once. Its handles accept feature and output reports
// (counted, logged, never seen by the mouse), refuse feature report fetches and never deliver input. The
// mouse, when plugged, answers on kMovedCommandPath and kMovedInputPath meanwhile. Handles opened before the
// switch, in either direction, are dead.
VMOUSE_EXPORT void setForeignDeviceOnMousePaths(bool on);

// Scrambling. sixChars empty = frames are taken as they come; otherwise exactly six characters.
VMOUSE_EXPORT void setCode(const std::string &sixChars);
// Undoes the frame scrambler in place on frame bytes 1..8 (b[0] = opcode ... b[7] = checksum); code[1..6]
// are the six code characters, code[0] is not used.
VMOUSE_EXPORT void unscrambleFrame(std::uint8_t b[8], const std::uint8_t code[7]);

// Fault injection. n = -1 means always, 0 clears the fault.
// failOpens: the next n hid_open_path calls fail; with a path, only opens of that path count and fail.
VMOUSE_EXPORT void failOpens(int n, const std::string &path = std::string());
VMOUSE_EXPORT void failFeatureReports(int n); // next n feature reports (out or in) return -1
VMOUSE_EXPORT void shortInputReports(int n);  // next n data-phase input reports carry only half their bytes
VMOUSE_EXPORT void silentInputReports(bool silent); // data-phase input reports are held back while set
// n more reports in any direction go through, then the mouse vanishes (0 = at once, negative = cancel).
VMOUSE_EXPORT void unplugAfterReports(int n);
// The mouse stops answering on its command interface (0 = answers again). Enumeration and opens still work,
// but every feature report in either direction and every output report there blocks for that many
// milliseconds and then fails with -1, like a control transfer that times out; data-phase reads there
// deliver nothing. setWedged, an unplug or reset() ends a blocked call at once (an unplug as "gone").
VMOUSE_EXPORT void setWedged(int milliseconds);
// Of the next data-phase reports the mouse sends on the command interface, the first `skip` arrive as usual
// and the following `count` miss the host's read limit: they, and whatever the mouse sends after them, stay
// in the pipe until the command interface is next opened, and then land first in the new handle's queue. A
// new frame does not drop them. Negative values count as 0.
VMOUSE_EXPORT void lateInputReports(int skip, int count);
// The next n feature report fetches on the command interface return only `length` bytes (0..9) and copy only
// those (n = -1 always, 0 clears).
VMOUSE_EXPORT void shortFeatureReplies(int n, int length);

// Each report in or out costs 1 ms, like a full-speed USB link.
VMOUSE_EXPORT void setUsbTiming(bool on);

// A report on the input interface (any length). The mouse holds its reports and sends the next one when a
// handle of that interface reads with an empty queue; every handle open at that moment receives it.
VMOUSE_EXPORT void queueVendorReport(std::vector<std::uint8_t> report);

// Inspection.
VMOUSE_EXPORT std::vector<WireRecord> wireLog();
VMOUSE_EXPORT void clearWireLog();
VMOUSE_EXPORT int badChecksumCount();
VMOUSE_EXPORT int protocolErrorCount(); // bad index, unknown opcode, stray or incomplete data reports
VMOUSE_EXPORT int openHandleCount();    // handles opened and not yet closed (also those of a vanished mouse)
// Feature reports, feature report fetches and output reports that reached the foreign device.
VMOUSE_EXPORT int foreignReportCount();

// Firmware state. Out-of-range indices read as zero and are ignored by the setters.
VMOUSE_EXPORT Block profileBlock(int profile);
VMOUSE_EXPORT void setProfileBlock(int profile, const Block &block);
VMOUSE_EXPORT Block keyMatrix(int profile);
VMOUSE_EXPORT void setKeyMatrix(int profile, const Block &block);
VMOUSE_EXPORT Block macroBlock(int macroId); // 1..100
VMOUSE_EXPORT void setMacroBlock(int macroId, const Block &block);
VMOUSE_EXPORT int currentProfile();
VMOUSE_EXPORT void setCurrentProfile(int profile);
VMOUSE_EXPORT std::uint8_t reportRate(int profile);
VMOUSE_EXPORT void setReportRate(int profile, std::uint8_t rate);
VMOUSE_EXPORT std::uint8_t dpiStage(int profile);
VMOUSE_EXPORT void setDpiStage(int profile, std::uint8_t stage);
VMOUSE_EXPORT std::uint8_t twinkleType();
VMOUSE_EXPORT void setTwinkleType(std::uint8_t type);
VMOUSE_EXPORT std::uint8_t optionByte();
VMOUSE_EXPORT void setOptionByte(std::uint8_t option);
VMOUSE_EXPORT std::array<std::uint8_t, 2> firmwareVersion();
VMOUSE_EXPORT void setFirmwareVersion(std::uint8_t high, std::uint8_t low);
VMOUSE_EXPORT int stopMacroCount();     // 08H commands received
VMOUSE_EXPORT std::uint8_t lastFlags(); // upper nibble of byte 2 of the last 0CH frame (bit 4 = 0x10)

// State file (text, see README.md). loadState overlays the keys it finds on the current state; missing or
// malformed keys leave their value alone. Both return false when the file cannot be read or written.
VMOUSE_EXPORT bool loadState(const std::string &path);
VMOUSE_EXPORT bool saveState(const std::string &path);

} // namespace vmouse
