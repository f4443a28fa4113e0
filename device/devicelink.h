#pragma once

// The one owner of the link to the mouse. Every exchange (a device check with its 01H and listener restart,
// the reading of the mouse, every setter's command) runs on the link's own thread, one at a time and in the
// order the program asked for them. The GUI thread only queues requests and receives results, so the scene
// never waits on USB, however slow or silent the mouse is.

#include "deviceinfo.h"
#include "mousereading.h"

#include <QMetaType>
#include <QObject>
#include <QStringList>
#include <QThread>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

class MS_HT66FB560;

// What a device check found.
struct DeviceCheck
{
    enum class Outcome {
        Absent,       // the mouse's two interfaces are not there
        NotAnswering, // found, but an exchange with it failed or timed out
        Connected,    // found, and it answered everything asked of it
    };
    Outcome outcome = Outcome::Absent;
    // A check run because a command did not go through: it looks for the mouse and sends 01H, nothing more.
    bool afterFailedSend = false;
    QString commandPath;
    // What was read from the mouse; only part of it when the mouse stopped answering on the way.
    std::optional<MouseReading> reading;

    bool connected() const { return outcome == Outcome::Connected; }
    bool found() const { return outcome != Outcome::Absent; }
};
Q_DECLARE_METATYPE(DeviceCheck)

class DeviceLink : public QObject
{
    Q_OBJECT

public:
    // Why commands did not reach the mouse.
    enum class Failure {
        Failed,       // the mouse was there, and the exchange failed on the way
        NoMouse,      // no mouse (any more) to send it to
        NotAnswering, // the mouse is there but does not answer
    };
    Q_ENUM(Failure)

    explicit DeviceLink(MS_HT66FB560 &mouse, QObject *parent = nullptr);
    // Lets the commands already asked for go out (the first that fails ends that), then stops the thread.
    ~DeviceLink() override;

    // Looks for the mouse that entry `index` of the device list describes (sending it 01H and restarting the
    // listener), and reads it when it answers. Without `read` the check only looks: for a caller that already
    // holds what the mouse would give.
    void check(int index, const DeviceInfo &entry, bool read = true);

    // The commands. A command whose exchange fails makes the link look for the mouse before anything else
    // goes out: what was asked for meanwhile goes out if the mouse is still there and answers, and is dropped
    // (and reported) otherwise.
    void sendCurrentProfile(uchar profile);
    void sendReportRate(uchar rate, uchar profile);
    void sendDpiStage(uchar stage, uchar profile);
    void sendFwProfile(uchar profile, const DataBlock &block);
    void sendKeyMatrix(uchar profile, const DataBlock &block);
    void sendMacroKey(uchar macroId, const DataBlock &block);

    // Nothing queued and nothing under way.
    bool isIdle() const;
    // For tests and benchmarks: waits until the link is idle; false when it is not within the time.
    bool waitUntilIdle(int timeoutMs = 30000) const;

Q_SIGNALS:
    void checked(const DeviceCheck &result);
    void notSent(const QStringList &commands, DeviceLink::Failure why);

private:
    struct Job
    {
        enum class Kind { Check, Send } kind = Kind::Send;
        int index = 0;
        DeviceInfo entry;
        bool read = true;
        QString command; // how the log and the user hear of it: "0CH (profile 1)"
        std::function<bool(MS_HT66FB560 &)> exchange;
    };

    void enqueue(Job job);
    void send(QString command, std::function<bool(MS_HT66FB560 &)> exchange);
    void run();
    DeviceCheck runCheck(int index, const DeviceInfo &entry, bool read);
    void runSend(const Job &job);
    QStringList takeQueuedSends();
    void report(const DeviceCheck &result);
    void report(const QStringList &commands, Failure why);

    MS_HT66FB560 &m_mouse;
    QThread *m_thread = nullptr;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_wake;
    mutable std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_working = false;
    bool m_stopping = false;

    // Link-thread state: the entry the last check looked for and whether the mouse answered it.
    int m_index = 0;
    DeviceInfo m_entry;
    bool m_present = false;
};
