// Reports in and out: the hidapi transfer calls, the faults that bend them, and how data reports travel from
// the mouse into the input queues of the open handles.

#include "emulator.h"
#include "vmouse_log.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace vmouse {

namespace {

constexpr auto kReportTime = std::chrono::milliseconds(1);

} // namespace

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

bool Emulator::wedged(const hid_device *dev) const
{
    return faults.wedgedMs > 0 && dev->iface == Interface::Command && alive(dev);
}

bool Emulator::holdsInput(const hid_device *dev) const
{
    return dev->iface == Interface::Command && (faults.silentInputs || faults.wedgedMs > 0);
}

int Emulator::failWedged(std::unique_lock<std::mutex> &lock, hid_device *dev, WireKind kind,
                         const std::uint8_t *data, std::size_t length)
{
    // The mouse never answers: the transfer runs into its time-out. The wait releases the lock, so other
    // threads and the control API go on; a new wedge setting, an unplug or a reset ends it early.
    const std::uint64_t serial = m_wedgeSerial;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(faults.wedgedMs);
    ++dev->busy;
    m_readable.wait_until(lock, deadline, [&] { return !alive(dev) || m_wedgeSerial != serial; });
    --dev->busy;
    if (dev->closed)
        return endClosed(dev);
    dev->lastError = alive(dev) ? kErrTimeout : kErrGone;
    record(kind, dev->path, data, length, false);
    return -1;
}

int Emulator::acceptForeign(hid_device *dev, WireKind kind, const std::uint8_t *data, std::size_t length)
{
    ++foreignReports;
    // The keyboard takes what it is sent, but stalls a request for a feature report it does not have.
    const bool ok = kind != WireKind::FeatureIn;
    if (ok)
        qCDebug(lcVmouse, "a report of %zu bytes went to the other device on %s", length, dev->path);
    else
        qCDebug(lcVmouse, "the other device on %s refuses a feature report fetch", dev->path);
    record(kind, dev->path, data, ok ? length : 0, ok);
    if (!ok) {
        dev->lastError = kErrUnsupported;
        return -1;
    }
    return static_cast<int>(length);
}

int Emulator::endClosed(hid_device *dev)
{
    if (dev->busy == 0)
        destroy(dev);
    t_globalError = kErrBadHandle;
    return -1;
}

void Emulator::deliver(Interface i, const Report &report)
{
    for (hid_device *dev : handles) {
        if (dev->iface == i && alive(dev))
            dev->input.push_back(report);
    }
}

void Emulator::pumpDataReports()
{
    ReportQueue &outbox = firmware.dataReports();
    // A silent mouse keeps its data reports; the next frame drops them.
    if (faults.silentInputs || outbox.empty())
        return;
    for (Report &report : outbox) {
        bool late = false;
        if (faults.lateSkip > 0) {
            --faults.lateSkip;
        } else if (faults.lateCount > 0) {
            --faults.lateCount;
            late = true;
        }
        // The interrupt pipe is first in, first out: nothing overtakes a late report.
        if (late || !m_latePipe.empty())
            m_latePipe.push_back(std::move(report));
        else
            deliver(Interface::Command, report);
    }
    outbox.clear();
    wakeReaders();
}

void Emulator::landLateReports()
{
    // Opening the node makes the kernel poll the endpoint again: what was stuck in the pipe arrives first.
    if (m_latePipe.empty())
        return;
    qCDebug(lcVmouse) << m_latePipe.size() << "late data reports arrive at the open of the command interface";
    for (const Report &report : m_latePipe)
        deliver(Interface::Command, report);
    m_latePipe.clear();
    wakeReaders();
}

void Emulator::deliverVendorReports()
{
    // The mouse sends its next report when a reader has nothing left: the listener reopens the interface for
    // every read, and one report per read never leaves a report behind in a handle it closes.
    const auto starving = [&] {
        return std::any_of(handles.begin(), handles.end(), [&](const hid_device *dev) {
            return dev->iface == Interface::Input && dev->busy > 0 && dev->input.empty() && alive(dev);
        });
    };
    if (m_vendorReports.empty() || !starving())
        return;
    deliver(Interface::Input, m_vendorReports.front());
    m_vendorReports.pop_front();
    wakeReaders();
}

void Emulator::setSilentLocked(bool silent)
{
    faults.silentInputs = silent;
    pumpDataReports();
    wakeReaders();
}

void Emulator::setWedgedLocked(int milliseconds)
{
    if (milliseconds < 0) {
        qCWarning(lcVmouse) << "setWedged:" << milliseconds << "ms is negative; the mouse answers again";
        milliseconds = 0;
    }
    faults.wedgedMs = milliseconds;
    ++m_wedgeSerial;
    wakeReaders();
}

void Emulator::queueVendorReportLocked(Report report)
{
    m_vendorReports.push_back(std::move(report));
    deliverVendorReports();
}

int Emulator::sendFeature(hid_device *dev, const std::uint8_t *data, std::size_t length)
{
    std::unique_lock lock(m_mutex);
    if (!known(dev) || !data) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    if (wedged(dev))
        return failWedged(lock, dev, WireKind::FeatureOut, data, length);
    const bool gone = !alive(dev);
    if (!gone && foreign(dev))
        return acceptForeign(dev, WireKind::FeatureOut, data, length);
    const bool unsupported = !gone && dev->iface != Interface::Command;
    if (gone || unsupported || takeFeatureFault()) {
        dev->lastError = gone ? kErrGone : unsupported ? kErrUnsupported : kErrFault;
        record(WireKind::FeatureOut, dev->path, data, length, false);
        return -1;
    }
    record(WireKind::FeatureOut, dev->path, data, length, true);
    if (firmware.featureOut(data, length))
        persistLocked();
    pumpDataReports();
    return finishReport(lock, length);
}

int Emulator::getFeature(hid_device *dev, std::uint8_t *data, std::size_t length)
{
    std::unique_lock lock(m_mutex);
    if (!known(dev) || !data || length == 0) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    if (wedged(dev))
        return failWedged(lock, dev, WireKind::FeatureIn, nullptr, 0);
    const bool gone = !alive(dev);
    if (!gone && foreign(dev))
        return acceptForeign(dev, WireKind::FeatureIn, nullptr, 0);
    // The mouse numbers no reports: only report ID 0 exists.
    const bool unsupported = !gone && (dev->iface != Interface::Command || data[0] != 0);
    if (gone || unsupported || takeFeatureFault()) {
        dev->lastError = gone ? kErrGone : unsupported ? kErrUnsupported : kErrFault;
        record(WireKind::FeatureIn, dev->path, nullptr, 0, false);
        return -1;
    }
    std::size_t n = std::min(length, static_cast<std::size_t>(kFrameLength));
    if (faults.shortReplies != 0) {
        if (faults.shortReplies > 0)
            --faults.shortReplies;
        n = std::min(n, static_cast<std::size_t>(faults.shortReplyLength));
    }
    std::memcpy(data, firmware.reply().data(), n);
    record(WireKind::FeatureIn, dev->path, data, n, true);
    return finishReport(lock, n);
}

int Emulator::write(hid_device *dev, const std::uint8_t *data, std::size_t length)
{
    std::unique_lock lock(m_mutex);
    if (!known(dev) || !data) {
        t_globalError = kErrBadHandle;
        return -1;
    }
    if (wedged(dev))
        return failWedged(lock, dev, WireKind::OutputReport, data, length);
    const bool gone = !alive(dev);
    if (!gone && foreign(dev))
        return acceptForeign(dev, WireKind::OutputReport, data, length);
    if (gone || dev->iface != Interface::Command) {
        dev->lastError = gone ? kErrGone : kErrUnsupported;
        record(WireKind::OutputReport, dev->path, data, length, false);
        return -1;
    }
    record(WireKind::OutputReport, dev->path, data, length, true);
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
    if (timeoutMs == kHandleMode)
        timeoutMs = dev->nonblocking ? 0 : -1;
    // Only the handle's own queue counts (the other device and the keyboard never report anything).
    auto ready = [&] { return !alive(dev) || (!holdsInput(dev) && !dev->input.empty()); };
    ++dev->busy;
    deliverVendorReports();
    if (timeoutMs < 0)
        m_readable.wait(lock, ready);
    else if (timeoutMs > 0)
        m_readable.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    --dev->busy;
    if (dev->closed)
        return endClosed(dev);
    if (!alive(dev)) {
        dev->lastError = kErrGone;
        record(WireKind::InputReport, dev->path, nullptr, 0, false);
        return -1;
    }
    if (holdsInput(dev) || dev->input.empty())
        return 0;
    Report report = std::move(dev->input.front());
    dev->input.pop_front();
    if (dev->iface == Interface::Command && faults.shortInputs != 0) {
        if (faults.shortInputs > 0)
            --faults.shortInputs;
        report.resize(report.size() / 2);
    }
    // Like hidraw, a buffer shorter than the report receives its beginning.
    const std::size_t n = std::min(length, report.size());
    if (n > 0)
        std::memcpy(data, report.data(), n);
    record(WireKind::InputReport, dev->path, data, n, true);
    return finishReport(lock, n);
}

} // namespace vmouse
