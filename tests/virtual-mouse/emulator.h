#pragma once

// The virtual mouse as the hidapi functions see it: interfaces, open handles, fault injection, the wire log
// and the state file, around the firmware. One process-wide instance; every entry point takes its lock.

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

enum class Interface { Command, Input, Entry0Command, Entry0Input };
constexpr int kInterfaceCount = 4;

struct InterfaceInfo
{
    const char *path;
    std::uint16_t productId;
    std::uint16_t usagePage;
    std::uint16_t usage;
    int number;
};

const InterfaceInfo &interfaceInfo(Interface i);

struct Faults
{
    int failOpens = 0;
    std::string failOpenPath; // empty = every path
    int failFeatures = 0;
    int shortInputs = 0;
    bool silentInputs = false;
    int unplugAfter = -1; // reports still allowed before the mouse vanishes; negative = never
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

    // Control side: callers hold mutex() while they use the members below.
    std::mutex &mutex() { return m_mutex; }
    void resetLocked();
    void setPluggedLocked(bool plugged);
    void setEntry0Locked(bool present);
    void setInterfacesLocked(bool command, bool input);
    void setCodeLocked(const std::string &sixChars);
    // After a change of the firmware state: write the state file, if one is configured.
    void persistLocked();
    // Wakes readers after a change of what they wait for.
    void wakeReaders() { m_readable.notify_all(); }

    Firmware firmware;
    Faults faults;
    bool usbTiming = false;
    std::deque<std::vector<std::uint8_t>> vendorReports;
    std::vector<WireRecord> log;
    std::set<hid_device *> handles;

private:
    Emulator();
    ~Emulator();

    bool present(Interface i) const;
    bool alive(const hid_device *dev) const;
    bool known(const hid_device *dev) const;
    void record(WireKind kind, const std::string &path, const std::uint8_t *data, std::size_t n, bool ok);
    // Counts one report that went through towards unplugAfterReports.
    void countReport();
    // Counts a report that went through, lets the link's time pass (unlocked) and returns its length.
    int finishReport(std::unique_lock<std::mutex> &lock, std::size_t length);
    bool takeFeatureFault();
    void refreshPluggedFromFile();
    void rememberStateFile();
    template<class F>
    void changePresence(F change);
    hid_device_info *newInfo(Interface i) const;

    std::mutex m_mutex;
    std::condition_variable m_readable;
    bool m_entry0 = false;
    bool m_commandInterface = true;
    bool m_inputInterface = true;
    std::uint64_t m_epoch[kInterfaceCount] = {};
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
    vmouse::Interface iface;
    std::uint64_t epoch;
    bool nonblocking = false;
    hid_device_info *info = nullptr;
    const wchar_t *lastError = nullptr;
};
