#include "emulator.h"

#include "hotplug.h"
#include "statefile.h"
#include "vmouse_log.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>

Q_LOGGING_CATEGORY(lcVmouse, "vesk.vmouse")

namespace vmouse {

namespace {

constexpr InterfaceInfo kInterfaceTable[kInterfaceCount] = {
    {kEntry0CommandPath, nullptr, kVendorId, kEntry0ProductId, 0xff01, 0x0001, 0, L"Virtual mouse"},
    {kEntry0InputPath, nullptr, kVendorId, kEntry0ProductId, 0xff02, 0x0001, 1, L"Virtual mouse"},
    {kCommandPath, nullptr, kForeignVendorId, kForeignProductId, 0x0001, 0x0006, 0, L"Virtual keyboard"},
    {kInputPath, nullptr, kForeignVendorId, kForeignProductId, 0x0001, 0x0006, 1, L"Virtual keyboard"},
    {kCommandPath, kMovedCommandPath, kVendorId, kProductId, 0xff00, 0xff00, 0, L"Virtual mouse"},
    {kInputPath, kMovedInputPath, kVendorId, kProductId, 0xff01, 0x0001, 1, L"Virtual mouse"},
};
constexpr std::size_t kMaxWireRecords = 200000; // a long LD_PRELOAD run must not grow without bound
constexpr int kMaxWedgeMs = 600000;             // ten minutes: anything longer is a typing error

const char *kindName(WireKind k)
{
    switch (k) {
    case WireKind::Open:
        return "open";
    case WireKind::Close:
        return "close";
    case WireKind::FeatureOut:
        return "feature-out";
    case WireKind::FeatureIn:
        return "feature-in";
    case WireKind::OutputReport:
        return "output";
    case WireKind::InputReport:
        return "input";
    case WireKind::Enumerate:
        return "enumerate";
    }
    return "?";
}

std::int64_t monotonicUs()
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

bool envFlag(const char *name)
{
    const char *v = std::getenv(name);
    return v && std::strcmp(v, "1") == 0;
}

bool samePath(const char *a, const char *b)
{
    return a == b || (a && b && std::strcmp(a, b) == 0);
}

// VESK_VMOUSE_WEDGED_MS: a plain decimal number of milliseconds; anything else leaves the mouse answering.
int wedgeFromEnvironment()
{
    const char *v = std::getenv("VESK_VMOUSE_WEDGED_MS");
    if (!v || !*v)
        return 0;
    char *end = nullptr;
    errno = 0;
    const long ms = std::strtol(v, &end, 10);
    if (errno != 0 || *end != '\0' || ms < 0 || ms > kMaxWedgeMs) {
        qCWarning(lcVmouse, "VESK_VMOUSE_WEDGED_MS=\"%s\" is not a number of milliseconds 0..%d; not wedged",
                  v, kMaxWedgeMs);
        return 0;
    }
    return static_cast<int>(ms);
}

} // namespace

const InterfaceInfo &interfaceInfo(Interface i)
{
    return kInterfaceTable[static_cast<int>(i)];
}

Emulator &Emulator::instance()
{
    // Never destroyed: a program's threads may still call in while static objects are torn down at exit.
    static Emulator *emulator = new Emulator;
    return *emulator;
}

Emulator::Emulator()
{
    firmware.reset();
    if (const char *code = std::getenv("VESK_VMOUSE_CODE"))
        setCodeLocked(code);
    usbTiming = envFlag("VESK_VMOUSE_USB_TIMING");
    m_entry0 = envFlag("VESK_VMOUSE_ENTRY0");
    faults.wedgedMs = wedgeFromEnvironment();
    if (faults.wedgedMs > 0)
        qCDebug(lcVmouse) << "the mouse is wedged:" << faults.wedgedMs << "ms per command transfer";
    if (const char *path = std::getenv("VESK_VMOUSE_WIRELOG"); path && *path) {
        m_wireLogFile = std::fopen(path, "a");
        if (!m_wireLogFile)
            qCWarning(lcVmouse, "cannot append the wire log to %s: %s", path, std::strerror(errno));
    }
    if (const char *path = std::getenv("VESK_VMOUSE_STATE"); path && *path) {
        m_statePath = path;
        if (const auto text = readTextFile(m_statePath)) {
            parseState(*text, firmware.state);
            rememberStateFile();
            qCDebug(lcVmouse, "state read from %s", path);
        } else {
            persistLocked();
        }
    }
}

Emulator::~Emulator()
{
    if (m_wireLogFile)
        std::fclose(m_wireLogFile);
}

bool Emulator::present(Interface i) const
{
    switch (i) {
    case Interface::Command:
        return firmware.state.plugged && m_commandInterface;
    case Interface::Input:
        return firmware.state.plugged && m_inputInterface;
    case Interface::Entry0Command:
    case Interface::Entry0Input:
        return m_entry0;
    case Interface::ForeignCommand:
    case Interface::ForeignInput:
        return m_foreign;
    }
    return false;
}

const char *Emulator::currentPath(Interface i) const
{
    const InterfaceInfo &info = interfaceInfo(i);
    return m_foreign && info.movedPath ? info.movedPath : info.path;
}

bool Emulator::known(const hid_device *dev) const
{
    return dev && handles.count(const_cast<hid_device *>(dev)) != 0;
}

bool Emulator::alive(const hid_device *dev) const
{
    return !dev->closed && present(dev->iface) && dev->epoch == m_epoch[static_cast<int>(dev->iface)];
}

bool Emulator::foreign(const hid_device *dev)
{
    return dev->iface == Interface::ForeignCommand || dev->iface == Interface::ForeignInput;
}

template<class F>
void Emulator::changePresence(F change, bool replugAll)
{
    const char *before[kInterfaceCount]; // the path each interface answered on; null = absent
    for (int i = 0; i < kInterfaceCount; ++i)
        before[i] = present(static_cast<Interface>(i)) ? currentPath(static_cast<Interface>(i)) : nullptr;
    change();
    // What hidraw shows: a node goes for every interface that vanished or moved, then one comes for every
    // interface that appeared or moved.
    std::vector<HotplugEvent> events;
    bool replugged[kInterfaceCount] = {};
    const char *after[kInterfaceCount];
    for (int i = 0; i < kInterfaceCount; ++i) {
        after[i] = present(static_cast<Interface>(i)) ? currentPath(static_cast<Interface>(i)) : nullptr;
        replugged[i] = replugAll || !samePath(before[i], after[i]);
        if (!replugged[i])
            continue;
        // Handles of an interface that went away stay dead, even if it comes back: like a stale hidraw node.
        ++m_epoch[i];
        if (before[i])
            events.push_back({false, before[i]});
    }
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (replugged[i] && after[i])
            events.push_back({true, after[i]});
    }
    if (replugged[static_cast<int>(Interface::Command)]) {
        firmware.abortBlock();
        firmware.dataReports().clear();
        m_latePipe.clear();
    }
    if (replugged[static_cast<int>(Interface::Input)])
        m_vendorReports.clear();
    wakeReaders();
    announceHotplug(events);
}

void Emulator::resetLocked()
{
    changePresence(
        [&] {
            firmware.reset();
            m_entry0 = false;
            m_commandInterface = true;
            m_inputInterface = true;
            m_foreign = false;
        },
        true);
    firmware.setCode(Code{}, false);
    faults = Faults();
    usbTiming = false;
    foreignReports = 0;
    m_vendorReports.clear();
    log.clear();
    persistLocked();
}

void Emulator::setPluggedLocked(bool plugged)
{
    if (firmware.state.plugged == plugged)
        return;
    qCDebug(lcVmouse) << (plugged ? "mouse plugged in" : "mouse unplugged");
    changePresence([&] { firmware.state.plugged = plugged; });
    persistLocked();
}

void Emulator::setEntry0Locked(bool present)
{
    changePresence([&] { m_entry0 = present; });
}

void Emulator::setInterfacesLocked(bool command, bool input)
{
    changePresence([&] {
        m_commandInterface = command;
        m_inputInterface = input;
    });
}

void Emulator::setForeignLocked(bool on)
{
    if (m_foreign == on)
        return;
    qCDebug(lcVmouse) << (on ? "another device takes the mouse's paths"
                             : "the mouse's paths are its own again");
    changePresence([&] { m_foreign = on; });
}

void Emulator::setCodeLocked(const std::string &sixChars)
{
    Code code{};
    if (!sixChars.empty() && sixChars.size() != 6) {
        qCWarning(lcVmouse, "device code \"%s\" does not have six characters; frames taken as they come",
                  sixChars.c_str());
        firmware.setCode(code, false);
        return;
    }
    std::copy(sixChars.begin(), sixChars.end(), code.begin() + 1);
    firmware.setCode(code, !sixChars.empty());
}

void Emulator::persistLocked()
{
    if (m_statePath.empty())
        return;
    if (writeTextFileAtomically(m_statePath, formatState(firmware.state)))
        rememberStateFile();
}

void Emulator::rememberStateFile()
{
    struct stat st
    {
    };
    if (::stat(m_statePath.c_str(), &st) != 0)
        return;
    m_stateMtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    m_stateSize = static_cast<std::int64_t>(st.st_size);
    m_stateInode = static_cast<std::uint64_t>(st.st_ino);
}

void Emulator::pollStateFile()
{
    std::lock_guard lock(m_mutex);
    refreshPluggedFromFile();
}

void Emulator::refreshPluggedFromFile()
{
    if (m_statePath.empty())
        return;
    const auto mtime = m_stateMtimeNs;
    const auto size = m_stateSize;
    const auto inode = m_stateInode;
    rememberStateFile();
    if (mtime == m_stateMtimeNs && size == m_stateSize && inode == m_stateInode)
        return;
    const auto text = readTextFile(m_statePath);
    if (!text)
        return;
    if (const auto plugged = parsePlugged(*text))
        setPluggedLocked(*plugged);
}

void Emulator::record(WireKind kind, const std::string &path, const std::uint8_t *data, std::size_t n,
                      bool ok)
{
    WireRecord r{kind, path, std::vector<std::uint8_t>(data, data + n), monotonicUs(), ok};
    if (m_wireLogFile) {
        std::string hex;
        for (std::size_t i = 0; i < n; ++i) {
            char b[4];
            std::snprintf(b, sizeof b, i ? " %02x" : "%02x", data[i]);
            hex += b;
        }
        std::fprintf(m_wireLogFile, "%lld %s %s %s [%s]\n", static_cast<long long>(r.timeUs), kindName(kind),
                     path.empty() ? "-" : path.c_str(), ok ? "ok" : "fail", hex.c_str());
        std::fflush(m_wireLogFile);
    }
    if (log.size() >= kMaxWireRecords)
        log.erase(log.begin(), log.begin() + kMaxWireRecords / 2);
    log.push_back(std::move(r));
}

hid_device_info *Emulator::newInfo(Interface i, const char *path) const
{
    const InterfaceInfo &info = interfaceInfo(i);
    auto *d = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    if (!d)
        return nullptr;
    d->path = ::strdup(path);
    d->vendor_id = info.vendorId;
    d->product_id = info.productId;
    d->serial_number = ::wcsdup(L"");
    d->release_number = 0x0100;
    d->manufacturer_string = ::wcsdup(L"");
    d->product_string = ::wcsdup(info.product);
    d->usage_page = info.usagePage;
    d->usage = info.usage;
    d->interface_number = info.number;
    d->bus_type = HID_API_BUS_USB;
    return d;
}

hid_device_info *Emulator::enumerate(std::uint16_t vendorId, std::uint16_t productId)
{
    std::lock_guard lock(m_mutex);
    refreshPluggedFromFile();
    const std::uint8_t query[4] = {std::uint8_t(vendorId >> 8), std::uint8_t(vendorId),
                                   std::uint8_t(productId >> 8), std::uint8_t(productId)};
    record(WireKind::Enumerate, std::string(), query, sizeof query, true);
    hid_device_info *first = nullptr;
    hid_device_info **tail = &first;
    // The list order of the device list: entry 0's device, then the keyboard, then the mouse, command
    // interface first.
    for (int index = 0; index < kInterfaceCount; ++index) {
        const auto i = static_cast<Interface>(index);
        const InterfaceInfo &info = interfaceInfo(i);
        if (!present(i) || (vendorId && vendorId != info.vendorId) ||
            (productId && productId != info.productId))
            continue;
        if (hid_device_info *d = newInfo(i, currentPath(i))) {
            *tail = d;
            tail = &d->next;
        }
    }
    t_globalError = first ? nullptr : kErrNoDevice;
    return first;
}

hid_device *Emulator::open(const char *path)
{
    std::lock_guard lock(m_mutex);
    refreshPluggedFromFile();
    const std::string p = path ? path : "";
    int index = -1;
    for (int i = 0; i < kInterfaceCount; ++i) {
        if (present(static_cast<Interface>(i)) && p == currentPath(static_cast<Interface>(i)))
            index = i;
    }
    const bool faulted = faults.failOpens != 0 && (faults.failOpenPath.empty() || faults.failOpenPath == p);
    if (index < 0 || faulted) {
        if (faulted && faults.failOpens > 0)
            --faults.failOpens;
        qCDebug(lcVmouse, "open of \"%s\" fails", p.c_str());
        record(WireKind::Open, p, nullptr, 0, false);
        t_globalError = faulted ? kErrFault : kErrNoDevice;
        return nullptr;
    }
    const auto iface = static_cast<Interface>(index);
    auto *dev = new hid_device;
    dev->iface = iface;
    dev->epoch = m_epoch[index];
    dev->path = currentPath(iface);
    handles.insert(dev);
    record(WireKind::Open, p, nullptr, 0, true);
    if (iface == Interface::Command)
        landLateReports();
    t_globalError = nullptr;
    return dev;
}

void Emulator::destroy(hid_device *dev)
{
    if (dev->info) {
        std::free(dev->info->path);
        std::free(dev->info->serial_number);
        std::free(dev->info->manufacturer_string);
        std::free(dev->info->product_string);
        std::free(dev->info);
    }
    delete dev;
}

void Emulator::close(hid_device *dev)
{
    if (!dev)
        return;
    std::lock_guard lock(m_mutex);
    if (!known(dev)) {
        qCWarning(lcVmouse) << "hid_close of a handle that is not open; ignored";
        return;
    }
    // The host gave up on a block it had begun to write.
    if (dev->iface == Interface::Command && alive(dev))
        firmware.abortBlock();
    record(WireKind::Close, dev->path, nullptr, 0, true);
    handles.erase(dev);
    if (dev->busy > 0) {
        // Another thread still waits in a call on this handle: it ends that call and frees the handle.
        qCWarning(lcVmouse) << "hid_close while another thread waits on the handle; that call fails";
        dev->closed = true;
        wakeReaders();
        return;
    }
    destroy(dev);
}

int Emulator::setNonblocking(hid_device *dev, bool nonblocking)
{
    std::lock_guard lock(m_mutex);
    if (!known(dev)) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    dev->nonblocking = nonblocking;
    return 0;
}

hid_device_info *Emulator::deviceInfo(hid_device *dev)
{
    std::lock_guard lock(m_mutex);
    if (!known(dev)) {
        t_globalError = kErrBadHandle;
        return nullptr;
    }
    if (!dev->info)
        dev->info = newInfo(dev->iface, dev->path);
    return dev->info;
}

const wchar_t *Emulator::error(hid_device *dev)
{
    if (!dev)
        return t_globalError ? t_globalError : kSuccess;
    std::lock_guard lock(m_mutex);
    if (!known(dev))
        return kErrBadHandle;
    return dev->lastError ? dev->lastError : kSuccess;
}

} // namespace vmouse
