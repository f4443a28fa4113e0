// libudev's hidraw monitor, played by the virtual mouse. These machines see no udev events, so a "udev"
// monitor of a program that runs with the library preloaded (or linked before libudev) hears from the
// emulator instead: every interface that appears or vanishes queues an "add" or "remove" event and makes the
// monitor's fd readable. Objects that are not ours go to the real libudev, when it is loaded at all; nothing
// here needs it.

#include "emulator.h"
#include "hotplug.h"
#include "statewatch.h"
#include "vmouse_log.h"

#include <dlfcn.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#define VMOUSE_C_API extern "C" __attribute__((visibility("default")))

extern "C" {
struct udev;
struct udev_monitor;
struct udev_device;
}

VMOUSE_C_API udev *udev_new(void);
VMOUSE_C_API udev *udev_ref(udev *u);
VMOUSE_C_API udev *udev_unref(udev *u);
VMOUSE_C_API udev_monitor *udev_monitor_new_from_netlink(udev *u, const char *name);
VMOUSE_C_API udev_monitor *udev_monitor_ref(udev_monitor *mon);
VMOUSE_C_API udev_monitor *udev_monitor_unref(udev_monitor *mon);
VMOUSE_C_API udev *udev_monitor_get_udev(udev_monitor *mon);
VMOUSE_C_API int udev_monitor_filter_add_match_subsystem_devtype(udev_monitor *mon, const char *subsystem,
                                                                 const char *devtype);
VMOUSE_C_API int udev_monitor_filter_add_match_tag(udev_monitor *mon, const char *tag);
VMOUSE_C_API int udev_monitor_filter_update(udev_monitor *mon);
VMOUSE_C_API int udev_monitor_filter_remove(udev_monitor *mon);
VMOUSE_C_API int udev_monitor_set_receive_buffer_size(udev_monitor *mon, int size);
VMOUSE_C_API int udev_monitor_enable_receiving(udev_monitor *mon);
VMOUSE_C_API int udev_monitor_get_fd(udev_monitor *mon);
VMOUSE_C_API udev_device *udev_monitor_receive_device(udev_monitor *mon);
VMOUSE_C_API udev_device *udev_device_ref(udev_device *dev);
VMOUSE_C_API udev_device *udev_device_unref(udev_device *dev);
VMOUSE_C_API udev *udev_device_get_udev(udev_device *dev);
VMOUSE_C_API const char *udev_device_get_action(udev_device *dev);
VMOUSE_C_API const char *udev_device_get_devnode(udev_device *dev);
VMOUSE_C_API const char *udev_device_get_subsystem(udev_device *dev);
VMOUSE_C_API const char *udev_device_get_devtype(udev_device *dev);
VMOUSE_C_API const char *udev_device_get_syspath(udev_device *dev);
VMOUSE_C_API const char *udev_device_get_sysname(udev_device *dev);
VMOUSE_C_API const char *udev_device_get_property_value(udev_device *dev, const char *key);

namespace {

using vmouse::HotplugEvent;

constexpr char kMonitorName[] = "udev";
constexpr char kSubsystem[] = "hidraw";
constexpr std::size_t kMaxQueuedEvents = 4096; // a monitor nobody drains must not grow without bound

// The next definition of a libudev function after ours: the real library's, or null when it is not loaded.
template<class Fn>
Fn realFunction(const char *name)
{
    void *symbol = ::dlsym(RTLD_NEXT, name);
    Fn fn = nullptr;
    static_assert(sizeof fn == sizeof symbol, "function and object pointers differ in size");
    std::memcpy(&fn, &symbol, sizeof fn);
    return fn;
}

// Ends the function with the real function's answer, or with fallback when there is no real libudev.
#define VMOUSE_FORWARD(name, fallback, ...)                                                                  \
    if (const auto forwarded = realFunction<decltype(&::name)>(#name))                                       \
        return forwarded(__VA_ARGS__);                                                                       \
    return fallback

struct FakeContext
{
    int refs = 1;
};

struct Monitor
{
    int refs = 1;
    bool real = false; // a real monitor sits behind the pointer
    udev *context = nullptr;
    int fd = -1; // an eventfd, readable while events wait
    bool enabled = false;
    bool filtered = false; // a subsystem filter was added
    bool hidraw = false;   // ... and hidraw is among them
    bool tagged = false;   // a tag filter: our devices carry no tags
    std::deque<HotplugEvent> events;

    bool wantsHidraw() const { return !tagged && (!filtered || hidraw); }
    // A real monitor that watches only what the real udev serves keeps its own fd.
    bool ownFd() const { return !real || wantsHidraw(); }
};

struct FakeDevice
{
    int refs = 1;
    HotplugEvent event;
    udev *context = nullptr;
    std::string syspath;
};

struct Registry
{
    std::mutex mutex;
    std::unordered_map<const void *, std::unique_ptr<FakeContext>> contexts;
    std::unordered_map<const void *, std::unique_ptr<Monitor>> monitors; // by the pointer the caller holds
    std::unordered_map<const void *, std::unique_ptr<FakeDevice>> devices;

    Monitor *monitor(const void *handle)
    {
        const auto it = monitors.find(handle);
        return it == monitors.end() ? nullptr : it->second.get();
    }
    FakeDevice *device(const void *handle)
    {
        const auto it = devices.find(handle);
        return it == devices.end() ? nullptr : it->second.get();
    }
};

Registry &registry()
{
    // Never destroyed: the emulator may announce events from other threads while statics are torn down.
    static Registry *r = new Registry;
    return *r;
}

bool fakeContext(const udev *u)
{
    Registry &r = registry();
    std::lock_guard lock(r.mutex);
    return r.contexts.count(u) != 0;
}

// The monitor's fd stays readable exactly while events wait.
void drainFd(int fd)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto n = ::read(fd, &count, sizeof count);
}

const char *fakeDeviceString(udev_device *dev, const char *(*pick)(const FakeDevice &), bool &ours)
{
    Registry &r = registry();
    std::lock_guard lock(r.mutex);
    const FakeDevice *d = r.device(dev);
    ours = d != nullptr;
    return d ? pick(*d) : nullptr;
}

const char *actionOf(const FakeDevice &d)
{
    return d.event.add ? "add" : "remove";
}

} // namespace

void vmouse::announceHotplug(const std::vector<HotplugEvent> &events)
{
    if (events.empty())
        return;
    Registry &r = registry();
    std::lock_guard lock(r.mutex);
    int listeners = 0;
    for (auto &entry : r.monitors) {
        Monitor &m = *entry.second;
        if (!m.enabled || !m.wantsHidraw())
            continue;
        ++listeners;
        for (const HotplugEvent &e : events) {
            if (m.events.size() >= kMaxQueuedEvents) {
                qCWarning(lcVmouse) << "udev monitor: nobody reads its events; the oldest is dropped";
                m.events.pop_front();
            }
            m.events.push_back(e);
        }
        const std::uint64_t one = 1;
        if (::write(m.fd, &one, sizeof one) < 0 && errno != EAGAIN)
            qCWarning(lcVmouse, "udev monitor: cannot signal its fd: %s", std::strerror(errno));
    }
    for (const HotplugEvent &e : events) {
        if (listeners > 0)
            qCDebug(lcVmouse, "udev event: hidraw %s %s", e.add ? "add" : "remove", e.path);
    }
}

VMOUSE_C_API udev *udev_new(void)
{
    if (const auto real = realFunction<decltype(&::udev_new)>("udev_new")) {
        if (udev *u = real())
            return u;
    }
    // No udev here: a context of our own serves the virtual mouse's monitors.
    auto context = std::make_unique<FakeContext>();
    auto *u = reinterpret_cast<udev *>(context.get());
    Registry &r = registry();
    std::lock_guard lock(r.mutex);
    r.contexts.emplace(u, std::move(context));
    return u;
}

VMOUSE_C_API udev *udev_ref(udev *u)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const auto it = r.contexts.find(u); it != r.contexts.end()) {
            ++it->second->refs;
            return u;
        }
    }
    VMOUSE_FORWARD(udev_ref, nullptr, u);
}

VMOUSE_C_API udev *udev_unref(udev *u)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const auto it = r.contexts.find(u); it != r.contexts.end()) {
            if (--it->second->refs == 0)
                r.contexts.erase(it);
            return nullptr;
        }
    }
    VMOUSE_FORWARD(udev_unref, nullptr, u);
}

VMOUSE_C_API udev_monitor *udev_monitor_new_from_netlink(udev *u, const char *name)
{
    if (!u) {
        errno = EINVAL;
        return nullptr;
    }
    udev_monitor *real = nullptr;
    if (!fakeContext(u)) {
        if (const auto fn =
                realFunction<decltype(&::udev_monitor_new_from_netlink)>("udev_monitor_new_from_netlink"))
            real = fn(u, name);
    }
    if (!name || std::strcmp(name, kMonitorName) != 0)
        return real;

    vmouse::Emulator::instance(); // reads the environment, the state file among it
    auto monitor = std::make_unique<Monitor>();
    monitor->fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (monitor->fd < 0) {
        qCWarning(lcVmouse, "udev monitor: no eventfd (%s); the virtual mouse's plugging goes unannounced",
                  std::strerror(errno));
        return real;
    }
    monitor->real = real != nullptr;
    monitor->context = u;
    udev_monitor *handle = real ? real : reinterpret_cast<udev_monitor *>(monitor.get());
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        r.monitors[handle] = std::move(monitor);
    }
    qCDebug(lcVmouse) << "udev monitor for hidraw events" << (real ? "over a real one" : "of our own");
    vmouse::monitorOpened();
    return handle;
}

VMOUSE_C_API udev_monitor *udev_monitor_ref(udev_monitor *mon)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (Monitor *m = r.monitor(mon)) {
            ++m->refs;
            if (!m->real)
                return mon;
        }
    }
    // The real monitor counts its references too, so that both drop it at the same unref.
    VMOUSE_FORWARD(udev_monitor_ref, nullptr, mon);
}

VMOUSE_C_API udev_monitor *udev_monitor_unref(udev_monitor *mon)
{
    std::unique_ptr<Monitor> released;
    bool fake = false;
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (Monitor *m = r.monitor(mon)) {
            fake = !m->real;
            if (--m->refs == 0) {
                const auto it = r.monitors.find(mon);
                released = std::move(it->second);
                r.monitors.erase(it);
            }
        }
    }
    if (released) {
        ::close(released->fd);
        vmouse::monitorClosed();
    }
    if (fake)
        return nullptr;
    VMOUSE_FORWARD(udev_monitor_unref, nullptr, mon);
}

VMOUSE_C_API udev *udev_monitor_get_udev(udev_monitor *mon)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const Monitor *m = r.monitor(mon); m && !m->real)
            return m->context;
    }
    VMOUSE_FORWARD(udev_monitor_get_udev, nullptr, mon);
}

VMOUSE_C_API int udev_monitor_filter_add_match_subsystem_devtype(udev_monitor *mon, const char *subsystem,
                                                                 const char *devtype)
{
    bool real = true;
    bool hidraw = false;
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (Monitor *m = r.monitor(mon)) {
            if (!subsystem)
                return -EINVAL;
            hidraw = std::strcmp(subsystem, kSubsystem) == 0;
            m->filtered = true;
            m->hidraw = m->hidraw || hidraw;
            real = m->real;
        }
    }
    if (!real)
        return 0;
    // For hidraw, our events count whatever the real monitor makes of the filter.
    const auto fn = realFunction<decltype(&::udev_monitor_filter_add_match_subsystem_devtype)>(
        "udev_monitor_filter_add_match_subsystem_devtype");
    const int result = fn ? fn(mon, subsystem, devtype) : -ENOSYS;
    return hidraw ? 0 : result;
}

VMOUSE_C_API int udev_monitor_filter_add_match_tag(udev_monitor *mon, const char *tag)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (Monitor *m = r.monitor(mon)) {
            m->tagged = true;
            if (!m->real)
                return 0;
        }
    }
    VMOUSE_FORWARD(udev_monitor_filter_add_match_tag, -ENOSYS, mon, tag);
}

VMOUSE_C_API int udev_monitor_filter_update(udev_monitor *mon)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const Monitor *m = r.monitor(mon); m && !m->real)
            return 0;
    }
    VMOUSE_FORWARD(udev_monitor_filter_update, -ENOSYS, mon);
}

VMOUSE_C_API int udev_monitor_filter_remove(udev_monitor *mon)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (Monitor *m = r.monitor(mon)) {
            m->filtered = m->hidraw = m->tagged = false;
            if (!m->real)
                return 0;
        }
    }
    VMOUSE_FORWARD(udev_monitor_filter_remove, -ENOSYS, mon);
}

VMOUSE_C_API int udev_monitor_set_receive_buffer_size(udev_monitor *mon, int size)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const Monitor *m = r.monitor(mon); m && !m->real)
            return 0;
    }
    VMOUSE_FORWARD(udev_monitor_set_receive_buffer_size, -ENOSYS, mon, size);
}

VMOUSE_C_API int udev_monitor_enable_receiving(udev_monitor *mon)
{
    bool ours = false;
    bool fake = false;
    bool hidraw = false;
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (Monitor *m = r.monitor(mon)) {
            m->enabled = true;
            ours = true;
            fake = !m->real;
            hidraw = m->wantsHidraw();
        }
    }
    if (fake)
        return 0;
    const auto fn = realFunction<decltype(&::udev_monitor_enable_receiving)>("udev_monitor_enable_receiving");
    const int result = fn ? fn(mon) : -ENOSYS;
    // Our events need no netlink socket.
    return ours && hidraw ? 0 : result;
}

VMOUSE_C_API int udev_monitor_get_fd(udev_monitor *mon)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const Monitor *m = r.monitor(mon); m && m->ownFd())
            return m->fd;
    }
    VMOUSE_FORWARD(udev_monitor_get_fd, -EINVAL, mon);
}

VMOUSE_C_API udev_device *udev_monitor_receive_device(udev_monitor *mon)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (Monitor *m = r.monitor(mon)) {
            if (!m->events.empty()) {
                auto device = std::make_unique<FakeDevice>();
                device->event = m->events.front();
                device->context = m->context;
                device->syspath = std::string("/sys/class/hidraw/") + device->event.path;
                m->events.pop_front();
                if (m->events.empty())
                    drainFd(m->fd);
                auto *handle = reinterpret_cast<udev_device *>(device.get());
                r.devices.emplace(handle, std::move(device));
                return handle;
            }
            if (!m->real) {
                errno = EAGAIN;
                return nullptr;
            }
        }
    }
    VMOUSE_FORWARD(udev_monitor_receive_device, nullptr, mon);
}

VMOUSE_C_API udev_device *udev_device_ref(udev_device *dev)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (FakeDevice *d = r.device(dev)) {
            ++d->refs;
            return dev;
        }
    }
    VMOUSE_FORWARD(udev_device_ref, nullptr, dev);
}

VMOUSE_C_API udev_device *udev_device_unref(udev_device *dev)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (FakeDevice *d = r.device(dev)) {
            if (--d->refs == 0)
                r.devices.erase(dev);
            return nullptr;
        }
    }
    VMOUSE_FORWARD(udev_device_unref, nullptr, dev);
}

VMOUSE_C_API udev *udev_device_get_udev(udev_device *dev)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const FakeDevice *d = r.device(dev))
            return d->context;
    }
    VMOUSE_FORWARD(udev_device_get_udev, nullptr, dev);
}

VMOUSE_C_API const char *udev_device_get_action(udev_device *dev)
{
    bool ours = false;
    const char *value = fakeDeviceString(dev, actionOf, ours);
    if (ours)
        return value;
    VMOUSE_FORWARD(udev_device_get_action, nullptr, dev);
}

VMOUSE_C_API const char *udev_device_get_devnode(udev_device *dev)
{
    bool ours = false;
    const char *value = fakeDeviceString(
        dev, [](const FakeDevice &d) { return d.event.path; }, ours);
    if (ours)
        return value;
    VMOUSE_FORWARD(udev_device_get_devnode, nullptr, dev);
}

VMOUSE_C_API const char *udev_device_get_subsystem(udev_device *dev)
{
    bool ours = false;
    const char *value = fakeDeviceString(
        dev, [](const FakeDevice &) { return kSubsystem; }, ours);
    if (ours)
        return value;
    VMOUSE_FORWARD(udev_device_get_subsystem, nullptr, dev);
}

VMOUSE_C_API const char *udev_device_get_devtype(udev_device *dev)
{
    bool ours = false;
    const char *value = fakeDeviceString(
        dev, [](const FakeDevice &) -> const char * { return nullptr; }, ours);
    if (ours)
        return value;
    VMOUSE_FORWARD(udev_device_get_devtype, nullptr, dev);
}

VMOUSE_C_API const char *udev_device_get_syspath(udev_device *dev)
{
    bool ours = false;
    const char *value = fakeDeviceString(
        dev, [](const FakeDevice &d) { return d.syspath.c_str(); }, ours);
    if (ours)
        return value;
    VMOUSE_FORWARD(udev_device_get_syspath, nullptr, dev);
}

VMOUSE_C_API const char *udev_device_get_sysname(udev_device *dev)
{
    bool ours = false;
    const char *value = fakeDeviceString(
        dev, [](const FakeDevice &d) { return d.event.path; }, ours);
    if (ours)
        return value;
    VMOUSE_FORWARD(udev_device_get_sysname, nullptr, dev);
}

VMOUSE_C_API const char *udev_device_get_property_value(udev_device *dev, const char *key)
{
    {
        Registry &r = registry();
        std::lock_guard lock(r.mutex);
        if (const FakeDevice *d = r.device(dev)) {
            if (!key)
                return nullptr;
            if (std::strcmp(key, "ACTION") == 0)
                return actionOf(*d);
            if (std::strcmp(key, "DEVNAME") == 0)
                return d->event.path;
            if (std::strcmp(key, "SUBSYSTEM") == 0)
                return kSubsystem;
            return nullptr;
        }
    }
    VMOUSE_FORWARD(udev_device_get_property_value, nullptr, dev, key);
}
