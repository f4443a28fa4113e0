#include "emulator.h"

#include "statefile.h"
#include "vmouse_log.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <thread>

Q_LOGGING_CATEGORY(lcVmouse, "vesk.vmouse")

namespace vmouse {

namespace {

constexpr InterfaceInfo kInterfaceTable[kInterfaceCount] = {
    {kCommandPath, kProductId, 0xff00, 0xff00, 0},
    {kInputPath, kProductId, 0xff01, 0x0001, 1},
    {kEntry0CommandPath, kEntry0ProductId, 0xff01, 0x0001, 0},
    {kEntry0InputPath, kEntry0ProductId, 0xff02, 0x0001, 1},
};
constexpr std::size_t kMaxWireRecords = 200000; // a long LD_PRELOAD run must not grow without bound
constexpr auto kReportTime = std::chrono::milliseconds(1);

const wchar_t kErrNoDevice[] = L"vmouse: no such device or interface";
const wchar_t kErrGone[] = L"vmouse: the device has been disconnected";
const wchar_t kErrFault[] = L"vmouse: injected fault";
const wchar_t kErrUnsupported[] = L"vmouse: not supported by this interface";
const wchar_t kErrBadHandle[] = L"vmouse: invalid handle";
const wchar_t kSuccess[] = L"Success";

thread_local const wchar_t *t_globalError = nullptr;

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
    }
    return false;
}

bool Emulator::known(const hid_device *dev) const
{
    return dev && handles.count(const_cast<hid_device *>(dev)) != 0;
}

bool Emulator::alive(const hid_device *dev) const
{
    return present(dev->iface) && dev->epoch == m_epoch[static_cast<int>(dev->iface)];
}

template<class F>
void Emulator::changePresence(F change)
{
    bool before[kInterfaceCount];
    for (int i = 0; i < kInterfaceCount; ++i)
        before[i] = present(static_cast<Interface>(i));
    change();
    for (int i = 0; i < kInterfaceCount; ++i) {
        // Handles of an interface that went away stay dead, even if it comes back: like a stale hidraw node.
        if (before[i] && !present(static_cast<Interface>(i)))
            ++m_epoch[i];
    }
    if (!present(Interface::Command)) {
        firmware.abortBlock();
        firmware.dataReports().clear();
    }
    if (!present(Interface::Input))
        vendorReports.clear();
    wakeReaders();
}

void Emulator::resetLocked()
{
    firmware.reset();
    firmware.setCode(Code{}, false);
    faults = Faults();
    usbTiming = false;
    vendorReports.clear();
    log.clear();
    m_entry0 = false;
    m_commandInterface = true;
    m_inputInterface = true;
    for (auto &epoch : m_epoch)
        ++epoch;
    wakeReaders();
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

int Emulator::finishReport(std::unique_lock<std::mutex> &lock, std::size_t length)
{
    countReport();
    const bool timing = usbTiming;
    // The link's time passes outside the lock, so the listener and the command interface never wait on it.
    lock.unlock();
    if (timing)
        std::this_thread::sleep_for(kReportTime);
    return static_cast<int>(length);
}

void Emulator::countReport()
{
    if (faults.unplugAfter <= 0)
        return;
    if (--faults.unplugAfter == 0) {
        faults.unplugAfter = -1;
        setPluggedLocked(false);
    }
}

bool Emulator::takeFeatureFault()
{
    if (faults.failFeatures == 0)
        return false;
    if (faults.failFeatures > 0)
        --faults.failFeatures;
    return true;
}

hid_device_info *Emulator::newInfo(Interface i) const
{
    const InterfaceInfo &info = interfaceInfo(i);
    auto *d = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    d->path = ::strdup(info.path);
    d->vendor_id = kVendorId;
    d->product_id = info.productId;
    d->serial_number = ::wcsdup(L"");
    d->release_number = 0x0100;
    d->manufacturer_string = ::wcsdup(L"");
    d->product_string = ::wcsdup(L"Virtual mouse");
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
    // The list order of the device list: entry 0's device before the mouse, command interface first.
    for (Interface i :
         {Interface::Entry0Command, Interface::Entry0Input, Interface::Command, Interface::Input}) {
        const InterfaceInfo &info = interfaceInfo(i);
        if (!present(i) || (vendorId && vendorId != kVendorId) || (productId && productId != info.productId))
            continue;
        *tail = newInfo(i);
        tail = &(*tail)->next;
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
        if (p == kInterfaceTable[i].path)
            index = i;
    }
    const bool faulted = faults.failOpens != 0 && (faults.failOpenPath.empty() || faults.failOpenPath == p);
    if (index < 0 || faulted || !present(static_cast<Interface>(index))) {
        if (faulted && faults.failOpens > 0)
            --faults.failOpens;
        qCDebug(lcVmouse, "open of \"%s\" fails", p.c_str());
        record(WireKind::Open, p, nullptr, 0, false);
        t_globalError = faulted ? kErrFault : kErrNoDevice;
        return nullptr;
    }
    auto *dev = new hid_device{static_cast<Interface>(index), m_epoch[index]};
    handles.insert(dev);
    record(WireKind::Open, p, nullptr, 0, true);
    t_globalError = nullptr;
    return dev;
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
    record(WireKind::Close, interfaceInfo(dev->iface).path, nullptr, 0, true);
    handles.erase(dev);
    if (dev->info) {
        std::free(dev->info->path);
        std::free(dev->info->serial_number);
        std::free(dev->info->manufacturer_string);
        std::free(dev->info->product_string);
        std::free(dev->info);
    }
    delete dev;
}

int Emulator::sendFeature(hid_device *dev, const std::uint8_t *data, std::size_t length)
{
    std::unique_lock lock(m_mutex);
    if (!known(dev) || !data) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    const char *path = interfaceInfo(dev->iface).path;
    const bool gone = !alive(dev);
    const bool unsupported = !gone && dev->iface != Interface::Command;
    if (gone || unsupported || takeFeatureFault()) {
        dev->lastError = gone ? kErrGone : unsupported ? kErrUnsupported : kErrFault;
        record(WireKind::FeatureOut, path, data, length, false);
        return -1;
    }
    record(WireKind::FeatureOut, path, data, length, true);
    if (firmware.featureOut(data, length))
        persistLocked();
    return finishReport(lock, length);
}

int Emulator::getFeature(hid_device *dev, std::uint8_t *data, std::size_t length)
{
    std::unique_lock lock(m_mutex);
    if (!known(dev) || !data || length == 0) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    const char *path = interfaceInfo(dev->iface).path;
    const bool gone = !alive(dev);
    // The mouse numbers no reports: only report ID 0 exists.
    const bool unsupported = !gone && (dev->iface != Interface::Command || data[0] != 0);
    if (gone || unsupported || takeFeatureFault()) {
        dev->lastError = gone ? kErrGone : unsupported ? kErrUnsupported : kErrFault;
        record(WireKind::FeatureIn, path, nullptr, 0, false);
        return -1;
    }
    const std::size_t n = std::min(length, static_cast<std::size_t>(kFrameLength));
    std::memcpy(data, firmware.reply().data(), n);
    record(WireKind::FeatureIn, path, data, n, true);
    return finishReport(lock, n);
}

int Emulator::write(hid_device *dev, const std::uint8_t *data, std::size_t length)
{
    std::unique_lock lock(m_mutex);
    if (!known(dev) || !data) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    const char *path = interfaceInfo(dev->iface).path;
    const bool gone = !alive(dev);
    if (gone || dev->iface != Interface::Command) {
        dev->lastError = gone ? kErrGone : kErrUnsupported;
        record(WireKind::OutputReport, path, data, length, false);
        return -1;
    }
    record(WireKind::OutputReport, path, data, length, true);
    if (firmware.outputReport(data, length))
        persistLocked();
    return finishReport(lock, length);
}

int Emulator::read(hid_device *dev, std::uint8_t *data, std::size_t length, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    if (!known(dev) || !data) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    auto queue = [&]() -> std::deque<std::vector<std::uint8_t>> * {
        switch (dev->iface) {
        case Interface::Command:
            return faults.silentInputs ? nullptr : &firmware.dataReports();
        case Interface::Input:
            return &vendorReports;
        default:
            return nullptr; // the other device never reports anything
        }
    };
    auto ready = [&] {
        const auto *q = queue();
        return !alive(dev) || (q && !q->empty());
    };
    if (timeoutMs == kHandleMode)
        timeoutMs = dev->nonblocking ? 0 : -1;
    if (timeoutMs < 0)
        m_readable.wait(lock, ready);
    else if (timeoutMs > 0)
        m_readable.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    const char *path = interfaceInfo(dev->iface).path;
    if (!alive(dev)) {
        dev->lastError = kErrGone;
        record(WireKind::InputReport, path, nullptr, 0, false);
        return -1;
    }
    auto *q = queue();
    if (!q || q->empty())
        return 0;
    std::vector<std::uint8_t> report = std::move(q->front());
    q->pop_front();
    if (dev->iface == Interface::Command && faults.shortInputs != 0) {
        if (faults.shortInputs > 0)
            --faults.shortInputs;
        report.resize(report.size() / 2);
    }
    // Like hidraw, a buffer shorter than the report receives its beginning.
    const std::size_t n = std::min(length, report.size());
    if (n > 0)
        std::memcpy(data, report.data(), n);
    record(WireKind::InputReport, path, data, n, true);
    return finishReport(lock, n);
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
        dev->info = newInfo(dev->iface);
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
