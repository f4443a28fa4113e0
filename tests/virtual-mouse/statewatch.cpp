#include "statewatch.h"

#include "emulator.h"
#include "vmouse_log.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace vmouse {

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);

class StateFileWatcher
{
public:
    StateFileWatcher()
    {
        lcVmouse(); // built first, so the log category outlives the thread at exit
    }

    void addMonitors(int delta)
    {
        std::lock_guard control(m_control);
        m_monitors += delta;
        const bool wanted = !m_exiting && m_monitors > 0 && Emulator::instance().hasStateFile();
        if (wanted == m_thread.joinable())
            return;
        if (!wanted) {
            stop();
            return;
        }
        m_stop = false;
        m_thread = std::thread([this] { run(); });
    }

    // At exit: the thread must not outlive the statics it uses.
    void shutDown()
    {
        std::lock_guard control(m_control);
        m_exiting = true;
        stop();
    }

private:
    void stop()
    {
        if (!m_thread.joinable())
            return;
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_wake.wait_for(lock, kPollInterval, [this] { return m_stop; })) {
            // Never sleeps with the emulator locked: the poll itself is one stat().
            lock.unlock();
            Emulator::instance().pollStateFile();
            lock.lock();
        }
    }

    std::mutex m_control; // monitors counted, thread started and stopped, one at a time
    int m_monitors = 0;
    bool m_exiting = false;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};

StateFileWatcher &watcher()
{
    // Never destroyed, so a monitor released late in the exit finds it; its thread ends at exit.
    static StateFileWatcher *w = [] {
        auto *created = new StateFileWatcher;
        std::atexit([] { watcher().shutDown(); });
        return created;
    }();
    return *w;
}

} // namespace

void monitorOpened()
{
    watcher().addMonitors(1);
}

void monitorClosed()
{
    watcher().addMonitors(-1);
}

} // namespace vmouse
