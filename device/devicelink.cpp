#include "devicelink.h"

#include "devicelog.h"
#include "ms_ht66fb560.h"

#include <QMetaObject>

#include <utility>

namespace {

QString profileCommand(uchar opcode, uchar profile)
{
    return QStringLiteral("%1 (profile %2)").arg(opcodeText(opcode)).arg(profile);
}

} // namespace

DeviceLink::DeviceLink(MS_HT66FB560 &mouse, QObject *parent)
    : QObject(parent)
    , m_mouse(mouse)
{
    qRegisterMetaType<DeviceCheck>("DeviceCheck");
    m_thread = QThread::create([this] { run(); });
    m_thread->setObjectName(QStringLiteral("vesk device link"));
    m_thread->start();
}

DeviceLink::~DeviceLink()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    // An exchange under way cannot be cut short (hidapi has no cancel); a wedged mouse costs its one
    // time-out.
    m_thread->wait();
    delete m_thread;
}

void DeviceLink::check(int index, const DeviceInfo &entry, bool read)
{
    Job job;
    job.kind = Job::Kind::Check;
    job.index = index;
    job.entry = entry;
    job.read = read;
    enqueue(std::move(job));
}

void DeviceLink::sendCurrentProfile(uchar profile)
{
    send(QStringLiteral("02H (profile %1)").arg(profile),
         [profile](MS_HT66FB560 &m) { return m.hid_02H_SetCurrentProfile(profile); });
}

void DeviceLink::sendReportRate(uchar rate, uchar profile)
{
    send(profileCommand(Opcode::SetReportRate, profile),
         [rate, profile](MS_HT66FB560 &m) { return m.hid_03H_SetReportRate(rate, profile); });
}

void DeviceLink::sendDpiStage(uchar stage, uchar profile)
{
    send(profileCommand(Opcode::SetDPIStage, profile),
         [stage, profile](MS_HT66FB560 &m) { return m.hid_04H_SetDPIStage(stage, profile); });
}

void DeviceLink::sendFwProfile(uchar profile, const DataBlock &block)
{
    send(profileCommand(Opcode::SetFwProfile, profile),
         [profile, block = DataBlock(block)](MS_HT66FB560 &m) mutable {
             return m.hid_0CH_SetFwProfile(profile, block.data());
         });
}

void DeviceLink::sendKeyMatrix(uchar profile, const DataBlock &block)
{
    send(profileCommand(Opcode::SetKeyMatrix, profile),
         [profile, block = DataBlock(block)](MS_HT66FB560 &m) mutable {
             return m.hid_0DH_SetKeyMatrix(profile, block.data());
         });
}

void DeviceLink::sendMacroKey(uchar macroId, const DataBlock &block)
{
    send(QStringLiteral("0FH (macro %1)").arg(macroId),
         [macroId, block = DataBlock(block)](MS_HT66FB560 &m) mutable {
             return m.hid_0FH_SetMacroKey(macroId, block.data());
         });
}

void DeviceLink::send(QString command, std::function<bool(MS_HT66FB560 &)> exchange)
{
    Job job;
    job.command = std::move(command);
    job.exchange = std::move(exchange);
    enqueue(std::move(job));
}

void DeviceLink::enqueue(Job job)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping)
            return;
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

bool DeviceLink::isIdle() const
{
    std::lock_guard lock(m_mutex);
    return m_jobs.empty() && !m_working;
}

bool DeviceLink::waitUntilIdle(int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_jobs.empty() && !m_working; });
}

void DeviceLink::run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_working = false;
            if (m_jobs.empty())
                m_idle.notify_all();
            m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            if (m_jobs.empty())
                return; // stopping, and nothing left to send
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_working = true;
        }
        if (job.kind == Job::Kind::Check) {
            // A check asked for just before the program ends would only delay the end.
            std::unique_lock lock(m_mutex);
            const bool stopping = m_stopping;
            lock.unlock();
            if (!stopping)
                report(runCheck(job.index, job.entry, job.read));
        } else {
            runSend(job);
        }
    }
}

void DeviceLink::runSend(const Job &job)
{
    if (!m_present) {
        qCDebug(lcDevice).noquote() << job.command << "not sent: no mouse that answers";
        report({job.command}, Failure::NoMouse);
        return;
    }
    if (job.exchange(m_mouse))
        return;

    qCWarning(lcDevice).noquote() << job.command << "did not reach the mouse";
    report({job.command}, Failure::Failed);
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping) {
            // The program is ending: what is left is not worth a check's time-out.
            m_present = false;
            const QStringList dropped = takeQueuedSends();
            if (!dropped.isEmpty())
                qCWarning(lcDevice).noquote() << "not sent at exit:" << dropped.join(QStringLiteral(", "));
            return;
        }
    }
    // The mouse may be gone, wedged, or its node handed to another device: look before anything else goes
    // out. A mouse that keeps failing thus costs one time-out per check, not one per queued command.
    DeviceCheck look = runCheck(m_index, m_entry, false);
    look.afterFailedSend = true;
    if (!look.connected()) {
        QStringList dropped;
        {
            std::lock_guard lock(m_mutex);
            dropped = takeQueuedSends();
        }
        if (!dropped.isEmpty()) {
            qCWarning(lcDevice).noquote() << "not sent:" << dropped.join(QStringLiteral(", "));
            report(dropped, look.found() ? Failure::NotAnswering : Failure::NoMouse);
        }
    }
    report(look);
}

// Called with m_mutex held.
QStringList DeviceLink::takeQueuedSends()
{
    QStringList dropped;
    std::deque<Job> kept;
    for (Job &job : m_jobs) {
        if (job.kind == Job::Kind::Send)
            dropped.append(job.command);
        else
            kept.push_back(std::move(job));
    }
    m_jobs.swap(kept);
    return dropped;
}

DeviceCheck DeviceLink::runCheck(int index, const DeviceInfo &entry, bool read)
{
    m_index = index;
    m_entry = entry;
    DeviceCheck result;
    bool answered = false;
    const bool found = m_mouse.hid_FindDevice(index, entry, &answered);
    result.commandPath = m_mouse.task().commandPath;
    if (!found) {
        result.outcome = DeviceCheck::Outcome::Absent;
    } else if (!answered) {
        qCWarning(lcDevice) << "the mouse at" << result.commandPath << "does not answer";
        result.outcome = DeviceCheck::Outcome::NotAnswering;
    } else if (read) {
        result.reading = readMouse(m_mouse);
        if (!result.reading->complete())
            qCWarning(lcDevice).noquote()
                << "the mouse stopped answering at" << result.reading->failedCommand;
        result.outcome =
            result.reading->complete() ? DeviceCheck::Outcome::Connected : DeviceCheck::Outcome::NotAnswering;
    } else {
        result.outcome = DeviceCheck::Outcome::Connected;
    }
    m_present = result.connected();
    return result;
}

void DeviceLink::report(const DeviceCheck &result)
{
    QMetaObject::invokeMethod(
        this, [this, result] { Q_EMIT checked(result); }, Qt::QueuedConnection);
}

void DeviceLink::report(const QStringList &commands, Failure why)
{
    QMetaObject::invokeMethod(
        this, [this, commands, why] { Q_EMIT notSent(commands, why); }, Qt::QueuedConnection);
}
