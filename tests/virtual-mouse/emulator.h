#pragma once

// The virtual mouse as the hidapi functions see it: interfaces, open handles and their input queues, fault
// injection, the wire log and the state file, around the firmware. One process-wide instance; every entry
// point takes its lock.

#include "firmware.h"

#include <hidapi/hidapi.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace vmouse {

// In the order hid_enumerate lists them.
enum class Interface { Entry0Command, Entry0Input, ForeignCommand, ForeignInput, Command, Input };
constexpr int kInterfaceCount = 6;

struct InterfaceInfo
{
    const char *path;
    const char *movedPath; // where it answers while the foreign device holds `path`; null = it never moves
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::uint16_t usagePage;
    std::uint16_t usage;
    int number;
    const wchar_t *product;
};

const InterfaceInfo &interfaceInfo(Interface i);

// What hid_error reports.
inline constexpr wchar_t kErrNoDevice[] = L"vmouse: no such device or interface";
inline constexpr wchar_t kErrGone[] = L"vmouse: the device has been disconnected";
inline constexpr wchar_t kErrFault[] = L"vmouse: injected fault";
inline constexpr wchar_t kErrTimeout[] = L"vmouse: the device did not answer in time";
inline constexpr wchar_t kErrUnsupported[] = L"vmouse: not supported by this interface";
inline constexpr wchar_t kErrBadHandle[] = L"vmouse: invalid handle";
inline constexpr wchar_t kSuccess[] = L"Success";
// The error of the last call of this thread that had no valid handle.
inline thread_local const wchar_t *t_globalError = nullptr;

using Report = std::vector<std::uint8_t>;
using ReportQueue = std::deque<Report>;

struct Faults
{
    int failOpens = 0;
    std::string failOpenPath; // empty = every path
    int failFeatures = 0;
    int shortInputs = 0;
    bool silentInputs = false;
    int unplugAfter = -1; // reports still allowed before the mouse vanishes; negative = never
    int wedgedMs = 0;
    int shortReplies = 0;
    int shortReplyLength = 0;
    int lateSkip = 0;
    int lateCount = 0;
};

class Emulator
{
public:
    static Emulator &instance();

    // hidapi side; each takes the lock itself.
    hid_device_info *enumerate(std::uint16_t vendorId, std::uint16_t productId);
    hid_device *open(const char *path);
    void close(hid_device *dev);
    int sendFeature(hid_device *dev, const std::uint8_t *data, std::size_t length);
    int getFeature(hid_device *dev, std::uint8_t *data, std::size_t length);
    int write(hid_device *dev, const std::uint8_t *data, std::size_t length);
    // timeoutMs: -1 waits without limit, 0 answers at once, kHandleMode follows the handle's blocking mode.
    static constexpr int kHandleMode = -2;
    int read(hid_device *dev, std::uint8_t *data, std::size_t length, int timeoutMs);
    int setNonblocking(hid_device *dev, bool nonblocking);
    hid_device_info *deviceInfo(hid_device *dev);
    const wchar_t *error(hid_device *dev);

    // The state file watcher of the udev monitors; takes the lock itself.
    bool hasStateFile() const { return !m_statePath.empty(); }
    void pollStateFile();

    // Control side: callers hold mutex() while they use the members below.
    std::mutex &mutex() { return m_mutex; }
    void resetLocked();
    void setPluggedLocked(bool plugged);
    void setEntry0Locked(bool present);
    void setInterfacesLocked(bool command, bool input);
    void setForeignLocked(bool on);
    void setCodeLocked(const std::string &sixChars);
    void setSilentLocked(bool silent);
    void setWedgedLocked(int milliseconds);
    void queueVendorReportLocked(Report report);
    // After a change of the firmware state: write the state file, if one is configured.
    void persistLocked();
    // Wakes waiting calls after a change of what they wait for.
    void wakeReaders() { m_readable.notify_all(); }

    Firmware firmware;
    Faults faults;
    bool usbTiming = false;
    int foreignReports = 0;
    std::vector<WireRecord> log;
    std::set<hid_device *> handles;

private:
    Emulator();
    ~Emulator();

    bool present(Interface i) const;
    const char *currentPath(Interface i) const;
    bool alive(const hid_device *dev) const;
    bool known(const hid_device *dev) const;
    static bool foreign(const hid_device *dev);
    void record(WireKind kind, const std::string &path, const std::uint8_t *data, std::size_t n, bool ok);
    // Counts one report that went through towards unplugAfterReports.
    void countReport();
    // Counts a report that went through, lets the link's time pass (unlocked) and returns its length.
    int finishReport(std::unique_lock<std::mutex> &lock, std::size_t length);
    bool takeFeatureFault();
    void refreshPluggedFromFile();
    void rememberStateFile();
    // Applies a change of plugging; replugAll treats every interface as removed and added again.
    template<class F>
    void changePresence(F change, bool replugAll = false);
    hid_device_info *newInfo(Interface i, const char *path) const;
    static void destroy(hid_device *dev);

    // Transfers (transfer.cpp).
    bool wedged(const hid_device *dev) const;
    bool holdsInput(const hid_device *dev) const;
    int failWedged(std::unique_lock<std::mutex> &lock, hid_device *dev, WireKind kind,
                   const std::uint8_t *data, std::size_t length);
    int acceptForeign(hid_device *dev, WireKind kind, const std::uint8_t *data, std::size_t length);
    // A handle closed while this thread waited in it: the last waiter frees it.
    int endClosed(hid_device *dev);
    void deliver(Interface i, const Report &report);
    void pumpDataReports();
    void landLateReports();
    void deliverVendorReports();

    std::mutex m_mutex;
    std::condition_variable m_readable;
    bool m_entry0 = false;
    bool m_commandInterface = true;
    bool m_inputInterface = true;
    bool m_foreign = false;
    std::uint64_t m_epoch[kInterfaceCount] = {};
    std::uint64_t m_wedgeSerial = 0; // changes whenever blocked transfers must look again
    ReportQueue m_vendorReports;     // held at the mouse until a handle of the input interface reads
    ReportQueue m_latePipe;          // late data reports and what the mouse sent after them
    std::string m_statePath;
    std::int64_t m_stateMtimeNs = -1;
    std::int64_t m_stateSize = -1;
    std::uint64_t m_stateInode = 0;
    std::FILE *m_wireLogFile = nullptr;
};

} // namespace vmouse

// The opaque handle type of hidapi.
struct hid_device_
{
    vmouse::Interface iface = vmouse::Interface::Command;
    std::uint64_t epoch = 0;
    const char *path = nullptr; // where it was opened; the interface may answer elsewhere later
    bool nonblocking = false;
    bool closed = false; // hid_close came while another thread still waited in a call on it
    int busy = 0;        // threads waiting in a call on this handle, the lock released
    // hidraw keeps one queue per open file: what the mouse sent while this handle was open.
    vmouse::ReportQueue input;
    hid_device_info *info = nullptr;
    const wchar_t *lastError = nullptr;
};
