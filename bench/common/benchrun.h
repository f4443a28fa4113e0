#pragma once

// What the benchmarks that start the program share: starting a process with an environment of its own and
// ending it with its resource usage, reading its probe's lines, the program's run folder with or without the
// virtual mouse, the scene-graph backends to compare, and medians.
#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to);
// A monotonic time as the program's probe prints it (nanoseconds of the steady clock).
Clock::time_point fromProbeNs(long long ns);

// A process environment as NAME=value entries.
class Environment
{
public:
    static Environment current();

    void set(const std::string &name, const std::string &value);
    void unset(const std::string &name);
    // Applies "NAME=value" entries.
    void set(const std::vector<std::string> &entries);
    std::optional<std::string> value(const std::string &name) const;
    const std::vector<std::string> &entries() const { return m_entries; }

private:
    std::vector<std::string> m_entries;
};

// A started process. Its standard output is a pipe the bench reads (captureOutput; a LineReader takes the
// descriptor) or the log file.
struct Child
{
    pid_t pid = -1;
    int output = -1;
    Clock::time_point started;
    // Set once the process has been waited for.
    bool ended = false;
    int status = 0;
    rusage usage{};
};

// Starts argv (argv[0] a path, or a name looked up in PATH). Standard output and error go to logFile
// (appended), standard output to a pipe instead when captureOutput. Without a log file standard error is the
// bench's and standard output, when not captured, goes nowhere.
std::optional<Child> start(const std::vector<std::string> &argv, const Environment &environment,
                           bool captureOutput, const std::string &logFile = {});
// Whether the process has ended; waits for it without blocking and keeps its status and usage.
bool hasEnded(Child &child);
// Waits up to timeoutMs for the process to end by itself; false if it still runs.
bool waitForEnd(Child &child, int timeoutMs);
// Ends the process: SIGTERM, then SIGKILL after graceMs. Its peak resident memory is then in usage.
void stop(Child &child, int graceMs = 5000);
double peakRssMiB(const Child &child);

// Reads the lines of a child's standard output; owns the descriptor and closes it.
class LineReader
{
public:
    explicit LineReader(int fd)
        : m_fd(fd)
    {}
    ~LineReader();
    LineReader(const LineReader &) = delete;
    LineReader &operator=(const LineReader &) = delete;
    // The next line, waiting until deadline; none at the deadline or at the end of the output.
    std::optional<std::string> next(Clock::time_point deadline);
    bool atEnd() const { return m_atEnd; }

private:
    int m_fd;
    bool m_atEnd = false;
    std::string m_buffer;
};

// The full path of an executable found in PATH, empty if none.
std::string findInPath(const std::string &name);

struct Figures
{
    double median = 0;
    double min = 0;
    double max = 0;
};
Figures figures(std::vector<double> values);
double median(std::vector<double> values);

// A copy of the program's folder to start it from, made under `into`: starting with the mouse attached writes
// the profile store, and no start may begin from what another left, so the shipped store is put back before
// every start.
class ProgramCopy
{
public:
    explicit ProgramCopy(const std::filesystem::path &into);

    // False if the folder could not be copied or, for a start with the virtual mouse, its state not written
    // (python3 and tools/vmouse_state.py).
    bool ok() const { return m_ok; }
    bool hasMouse() const { return m_state.find("plugged=1") != std::string::npos; }
    std::string program() const { return (m_folder / "vesk-config").string(); }

    // Readies a start and returns the environment entries (NAME=value) it needs. mouse: "none" (no virtual
    // mouse: the program meets whatever the machine has), or the virtual mouse (1 ms per report) holding the
    // shipped profiles: "attached", "absent" (unplugged) or "wedged" (every exchange hangs 5 s and fails).
    std::vector<std::string> prepare(const std::string &mouse);

private:
    std::filesystem::path m_folder;
    std::string m_state;
    bool m_ok = false;
};

// The scene-graph backends the program is measured with. With QT_QUICK_BACKEND or QSG_RHI_BACKEND in the
// bench's environment, that one (passed through); otherwise the program's own choice, Qt Quick's software
// adaptation and OpenGL, as separate rows.
struct BackendRow
{
    std::string label;
    std::vector<std::string> set;   // NAME=value
    std::vector<std::string> unset; // NAME
};
std::vector<BackendRow> backendRows();
void apply(Environment &environment, const BackendRow &row);

} // namespace bench
