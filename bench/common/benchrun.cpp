#include "benchrun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>

extern char **environ;

namespace fs = std::filesystem;

namespace bench {

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

Clock::time_point fromProbeNs(long long ns)
{
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(ns)));
}

Environment Environment::current()
{
    Environment environment;
    for (char **e = environ; *e; ++e)
        environment.m_entries.emplace_back(*e);
    return environment;
}

void Environment::set(const std::string &name, const std::string &value)
{
    unset(name);
    m_entries.push_back(name + "=" + value);
}

void Environment::unset(const std::string &name)
{
    const std::string prefix = name + "=";
    m_entries.erase(std::remove_if(m_entries.begin(), m_entries.end(),
                                   [&prefix](const std::string &e) { return e.rfind(prefix, 0) == 0; }),
                    m_entries.end());
}

void Environment::set(const std::vector<std::string> &entries)
{
    for (const std::string &entry : entries) {
        const size_t at = entry.find('=');
        if (at != std::string::npos)
            set(entry.substr(0, at), entry.substr(at + 1));
    }
}

std::optional<std::string> Environment::value(const std::string &name) const
{
    const std::string prefix = name + "=";
    for (const std::string &entry : m_entries) {
        if (entry.rfind(prefix, 0) == 0)
            return entry.substr(prefix.size());
    }
    return std::nullopt;
}

std::optional<Child> start(const std::vector<std::string> &argv, const Environment &environment,
                           bool captureOutput, const std::string &logFile)
{
    std::vector<std::string> entries = environment.entries();
    std::vector<char *> envp;
    for (std::string &entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = argv;
    std::vector<char *> argp;
    for (std::string &arg : args)
        argp.push_back(arg.data());
    argp.push_back(nullptr);

    int out[2] = {-1, -1};
    if (captureOutput && pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!logFile.empty())
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logFile.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (captureOutput)
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    else if (!logFile.empty())
        posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    // Not the bench's terminal: a program that reads it would stop the run.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

    Child child;
    child.started = Clock::now();
    const int spawned =
        posix_spawnp(&child.pid, args[0].c_str(), &actions, nullptr, argp.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (captureOutput)
        close(out[1]);
    if (spawned != 0) {
        if (captureOutput)
            close(out[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", args[0].c_str(), std::strerror(spawned));
        return std::nullopt;
    }
    child.output = out[0];
    return child;
}

bool hasEnded(Child &child)
{
    if (child.ended || child.pid <= 0)
        return true;
    const pid_t done = wait4(child.pid, &child.status, WNOHANG, &child.usage);
    if (done == child.pid || (done < 0 && errno == ECHILD)) {
        child.ended = true;
    }
    return child.ended;
}

bool waitForEnd(Child &child, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!hasEnded(child)) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void stop(Child &child, int graceMs)
{
    if (hasEnded(child))
        return;
    kill(child.pid, SIGTERM);
    if (!waitForEnd(child, graceMs)) {
        kill(child.pid, SIGKILL);
        waitForEnd(child, 60'000);
    }
}

double peakRssMiB(const Child &child)
{
    return child.ended ? double(child.usage.ru_maxrss) / 1024.0 : -1;
}

LineReader::~LineReader()
{
    if (m_fd >= 0)
        close(m_fd);
}

std::optional<std::string> LineReader::next(Clock::time_point deadline)
{
    for (;;) {
        const size_t end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        if (m_atEnd || m_fd < 0)
            return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd watch{m_fd, POLLIN, 0};
        if (poll(&watch, 1, int(std::min<long long>(left.count(), 1000))) <= 0)
            continue;
        char chunk[4096];
        const ssize_t n = read(m_fd, chunk, sizeof chunk);
        if (n > 0)
            m_buffer.append(chunk, size_t(n));
        else if (n == 0 || errno != EINTR)
            m_atEnd = true;
    }
}

std::string findInPath(const std::string &name)
{
    const char *path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t from = 0;
    while (from <= folders.size()) {
        const size_t to = std::min(folders.find(':', from), folders.size());
        const fs::path candidate = fs::path(folders.substr(from, to - from)) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
        from = to + 1;
    }
    return {};
}

Figures figures(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

double median(std::vector<double> values)
{
    return figures(std::move(values)).median;
}

namespace {

// The virtual mouse's state file for a mouse that holds the shipped profiles.
std::string shippedMouseState()
{
    const std::string command = "python3 " VESK_SOURCE_DIR "/tools/vmouse_state.py " VESK_SOURCE_DIR
                                "/modules/setting/p_Vesk.bin 2>/dev/null";
    std::string text;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer;
        size_t n;
        while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            text.append(buffer.data(), n);
        pclose(pipe);
    }
    return text;
}

} // namespace

ProgramCopy::ProgramCopy(const fs::path &into)
    : m_folder(into)
{
    std::error_code error;
    fs::copy(VESK_RUNTIME_DIR, m_folder, fs::copy_options::recursive, error);
    m_ok = !error && fs::exists(program());
    if (!m_ok)
        std::fprintf(stderr, "cannot copy %s to %s: %s\n", VESK_RUNTIME_DIR, m_folder.c_str(),
                     error.message().c_str());
    m_state = shippedMouseState();
}

std::vector<std::string> ProgramCopy::prepare(const std::string &mouse)
{
    std::error_code error;
    fs::copy_file(VESK_SOURCE_DIR "/modules/setting/p_Vesk.bin", m_folder / "modules/setting/p_Vesk.bin",
                  fs::copy_options::overwrite_existing, error);
    if (error)
        std::fprintf(stderr, "cannot put the shipped profile store back: %s\n", error.message().c_str());
    if (mouse == "none")
        return {};
    std::string text = m_state;
    const size_t plugged = text.find("plugged=1");
    if (mouse == "absent" && plugged != std::string::npos)
        text.replace(plugged, 9, "plugged=0");
    const fs::path statePath = m_folder / "mouse.state";
    std::ofstream(statePath) << text;
    std::vector<std::string> entries = {"LD_PRELOAD=" + (m_folder / "libvesk-vmouse.so").string(),
                                        "VESK_VMOUSE_STATE=" + statePath.string(),
                                        "VESK_VMOUSE_USB_TIMING=1"};
    if (mouse == "wedged")
        entries.push_back("VESK_VMOUSE_WEDGED_MS=5000");
    return entries;
}

std::vector<BackendRow> backendRows()
{
    const char *quick = std::getenv("QT_QUICK_BACKEND");
    const char *rhi = std::getenv("QSG_RHI_BACKEND");
    if ((quick && *quick) || (rhi && *rhi)) {
        std::string label;
        if (quick && *quick)
            label = std::string("QT_QUICK_BACKEND=") + quick;
        if (rhi && *rhi)
            label += (label.empty() ? "" : " ") + std::string("QSG_RHI_BACKEND=") + rhi;
        return {{label, {}, {}}};
    }
    return {{"program's choice", {}, {}},
            {"QT_QUICK_BACKEND=software", {"QT_QUICK_BACKEND=software"}, {"QSG_RHI_BACKEND"}},
            {"QSG_RHI_BACKEND=opengl", {"QSG_RHI_BACKEND=opengl"}, {"QT_QUICK_BACKEND"}}};
}

void apply(Environment &environment, const BackendRow &row)
{
    for (const std::string &name : row.unset)
        environment.unset(name);
    environment.set(row.set);
}

} // namespace bench
