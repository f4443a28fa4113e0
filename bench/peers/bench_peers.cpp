// The program beside its peers, the mouse configuration programs Debian packages for other makers' mice
// (piper, solaar): time from process start to its first visible window and peak resident memory, each program
// started in turn in every round (round-robin), none with a device attached. This program is measured without
// the mouse and with the virtual mouse attached holding the shipped profiles, each scene-graph backend a row
// of its own (bench/common/benchrun.h). Then, for this program alone: how long after its window the first
// frame that shows the scene comes, its resident memory at rest once the five pages have been opened (the
// probe opens them one after the other from the function menu, as clicks do) and the CPU time it takes while
// idle with its window open (utime + stime from /proc/<pid>/stat across the idle time, in clock ticks; the
// target is 0; the threads that took any are named). With the virtual mouse attached its library runs inside
// the program, and its own thread (it polls its state file every 100 ms) counts too.
//
// The first visible window is taken the same way for every program, from outside it, so that no program's own
// idea of "shown" counts: the bench is an X client of the display it runs on, listens for SubstructureNotify
// on the root window and stamps the first MapNotify of a top-level window (not override-redirect: menus,
// tooltips) whose _NET_WM_PID is the started process (Qt and GTK both set it before mapping; on its children
// too, should a window manager have framed it), or, where a window carries no _NET_WM_PID, the first
// top-level window created and mapped after the start. The stamp is the bench's receipt of the event; the
// start is taken just before posix_spawn. A mapped window is on screen, though a program may draw into it a
// little later. Peak resident memory is wait4()'s ru_maxrss once the program, left to settle a while after
// its window appeared, has been ended with SIGTERM; the settle time (5 s) covers this program's opening, at
// whose end it builds its five pages.
//
// Every program gets the same environment: the bench's (QT_QUICK_BACKEND and QSG_RHI_BACKEND pass through), a
// runtime folder of the bench's own, and a D-Bus session bus of its own when the bench has none, as a desktop
// has one. Peers that are not installed are reported absent; --install-peers installs them with apt-get
// first.
//
// Usage: xvfb-run -a bench_peers [rounds] [--install-peers] [--settle=S] [--idle=S] [--rest-rounds=N]
#include "benchrun.h"
#include "mapwatcher.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bench::Clock;
using bench::MapWatcher;

namespace {

constexpr int kWindowTimeoutMs = 60'000;
constexpr int kPagesTimeoutMs = 90'000;
// Between the last page's slide and the memory reading: what the slide left to do is done by then.
constexpr int kRestMs = 2'000;

// One row of the table: a program and how it is started.
struct Row
{
    std::string label;
    std::vector<std::string> argv; // empty for this program: the copy's executable
    bench::BackendRow backend;
    std::string mouse;  // this program's: "none" or "attached"; empty for a peer
    std::string absent; // why the row is not measured, empty if it is
    std::vector<double> windowMs, peakMiB;
    int windowsWithoutPid = 0;
    int failures = 0;

    bool ours() const { return !mouse.empty(); }
};

struct Bench
{
    MapWatcher watcher;
    bench::ProgramCopy *copy = nullptr;
    fs::path logs;
    int settleMs = 5'000;

    // Readies a start of the row's program (this program's run folder too) and gives its environment.
    bench::Environment prepare(const Row &row, const std::vector<std::string> &extra = {}) const
    {
        bench::Environment environment = bench::Environment::current();
        if (row.ours()) {
            bench::apply(environment, row.backend);
            environment.set(copy->prepare(row.mouse));
        }
        environment.set(extra);
        return environment;
    }

    std::vector<std::string> argv(const Row &row) const
    {
        return row.ours() ? std::vector<std::string>{copy->program()} : row.argv;
    }

    std::string logFile(const Row &row) const
    {
        std::string name = row.label;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
            '_');
        return (logs / (name + ".log")).string();
    }

    // One start: the first window's time and, once ended, the peak memory. False if no window came.
    bool start(Row &row, bool counted)
    {
        watcher.drain();
        std::optional<bench::Child> child = bench::start(argv(row), prepare(row), false, logFile(row));
        if (!child) {
            ++row.failures;
            return false;
        }
        const auto window =
            watcher.waitForWindow(*child, child->started + std::chrono::milliseconds(kWindowTimeoutMs));
        if (window)
            watcher.idle(settleMs);
        bench::stop(*child);
        if (!window) {
            std::fprintf(stderr, "%s showed no window (exit status %d; see %s)\n", row.label.c_str(),
                         child->status, logFile(row).c_str());
            ++row.failures;
            return false;
        }
        if (counted) {
            row.windowMs.push_back(bench::msBetween(child->started, window->mapped));
            row.peakMiB.push_back(bench::peakRssMiB(*child));
            if (!window->byPid)
                ++row.windowsWithoutPid;
        }
        return true;
    }
};

struct Rest
{
    std::string backend;
    std::vector<double> restMiB, peakMiB, idleTicks;
    // From the window's mapping to the first frame that shows the scene in it.
    std::vector<double> sceneAfterMapMs;
    // The idle ticks by thread name, over all rounds.
    std::map<std::string, long long> threadTicks;
    int failures = 0;
};

// utime + stime from a /proc stat file: the process's, or one thread's (task/<tid>/stat); -1 if unreadable.
long long statTicks(const fs::path &stat)
{
    std::ifstream file(stat);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // The command name may hold spaces and parentheses: the fields are counted from its closing one.
    const size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long utime = 0;
    long long stime = 0;
    // Fields 3..13 come before utime (14) and stime (15).
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14)
            utime = std::atoll(field.c_str());
        else if (i == 15)
            stime = std::atoll(field.c_str());
    }
    return utime + stime;
}

fs::path procFolder(pid_t pid)
{
    return fs::path("/proc") / std::to_string(pid);
}

// The ticks of each thread, by thread id, with its name.
std::map<std::string, std::pair<std::string, long long>> threadTicks(pid_t pid)
{
    std::map<std::string, std::pair<std::string, long long>> threads;
    std::error_code error;
    for (const fs::directory_entry &task : fs::directory_iterator(procFolder(pid) / "task", error)) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        threads[task.path().filename().string()] = {name, statTicks(task.path() / "stat")};
    }
    return threads;
}

double residentMiB(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return double(std::atoll(line.c_str() + 6)) / 1024.0;
    }
    return -1;
}

// This program with its five pages opened: resident memory at rest, then CPU ticks while idle.
void restOnce(Bench &bench, Row &row, Rest &rest, int idleMs)
{
    bench.watcher.drain();
    std::optional<bench::Child> child = bench::start(
        bench.argv(row), bench.prepare(row, {"VESK_STARTUP_PROBE=pages"}), true, bench.logFile(row));
    if (!child) {
        ++rest.failures;
        return;
    }
    const auto window =
        bench.watcher.waitForWindow(*child, child->started + std::chrono::milliseconds(kWindowTimeoutMs));
    bench::LineReader lines(child->output);
    bool pagesOpen = false;
    long long firstFrameNs = -1;
    const auto deadline = child->started + std::chrono::milliseconds(kPagesTimeoutMs);
    while (window && !pagesOpen) {
        const std::optional<std::string> line = lines.next(deadline);
        if (!line)
            break;
        if (line->rfind("backend ", 0) == 0)
            rest.backend = line->substr(8);
        else if (line->rfind("first-frame-ns ", 0) == 0)
            firstFrameNs = std::atoll(line->c_str() + 15);
        pagesOpen = line->rfind("pages-open-ns ", 0) == 0;
    }
    if (!pagesOpen) {
        std::fprintf(stderr, "%s: the pages did not open (see %s)\n", row.label.c_str(),
                     bench.logFile(row).c_str());
        bench::stop(*child);
        ++rest.failures;
        return;
    }
    bench.watcher.idle(kRestMs);
    const double resident = residentMiB(child->pid);
    const long long before = statTicks(procFolder(child->pid) / "stat");
    const auto threadsBefore = threadTicks(child->pid);
    bench.watcher.idle(idleMs);
    const long long after = statTicks(procFolder(child->pid) / "stat");
    for (const auto &[tid, thread] : threadTicks(child->pid)) {
        const auto was = threadsBefore.find(tid);
        const long long ticks = thread.second - (was == threadsBefore.end() ? 0 : was->second.second);
        if (ticks > 0)
            rest.threadTicks[thread.first] += ticks;
    }
    if (bench::hasEnded(*child) || resident < 0 || before < 0 || after < 0) {
        std::fprintf(stderr, "%s ended while at rest (see %s)\n", row.label.c_str(),
                     bench.logFile(row).c_str());
        bench::stop(*child);
        ++rest.failures;
        return;
    }
    bench::stop(*child);
    rest.restMiB.push_back(resident);
    rest.idleTicks.push_back(double(after - before));
    rest.peakMiB.push_back(bench::peakRssMiB(*child));
    if (firstFrameNs >= 0)
        rest.sceneAfterMapMs.push_back(bench::msBetween(window->mapped, bench::fromProbeNs(firstFrameNs)));
}

std::string spread(const std::vector<double> &values, int decimals = 1)
{
    if (values.empty())
        return "-";
    const bench::Figures f = bench::figures(values);
    char text[96];
    std::snprintf(text, sizeof text, "%.*f [%.*f-%.*f]", decimals, f.median, decimals, f.min, decimals,
                  f.max);
    return text;
}

bool installPeers()
{
    if (geteuid() != 0) {
        std::fprintf(stderr, "--install-peers: apt-get needs root\n");
        return false;
    }
    const char *install = "DEBIAN_FRONTEND=noninteractive apt-get install -y -q piper solaar >&2";
    if (std::system(install) == 0)
        return true;
    // The package lists may be missing or old.
    return std::system("apt-get update -q >&2") == 0 && std::system(install) == 0;
}

// A session bus of the bench's own, for as long as it runs; none is started if the bench has one.
std::optional<bench::Child> startSessionBus(const fs::path &logs)
{
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") || bench::findInPath("dbus-daemon").empty())
        return std::nullopt;
    std::optional<bench::Child> bus =
        bench::start({"dbus-daemon", "--session", "--nofork", "--print-address=1"},
                     bench::Environment::current(), true, (logs / "dbus.log").string());
    if (!bus)
        return std::nullopt;
    bench::LineReader lines(bus->output);
    const std::optional<std::string> address = lines.next(Clock::now() + std::chrono::seconds(10));
    if (!address || address->empty()) {
        bench::stop(*bus);
        return std::nullopt;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
    return bus;
}

int optionValue(const std::string &arg, const char *name, int fallback)
{
    const std::string prefix = std::string(name) + "=";
    return arg.rfind(prefix, 0) == 0 ? std::max(0, std::atoi(arg.c_str() + prefix.size())) : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    int rounds = 5;
    int restRounds = 3;
    int settleS = 5;
    int idleS = 10;
    bool install = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--install-peers")
            install = true;
        else if (arg.rfind("--settle=", 0) == 0)
            settleS = optionValue(arg, "--settle", settleS);
        else if (arg.rfind("--idle=", 0) == 0)
            idleS = std::max(1, optionValue(arg, "--idle", idleS));
        else if (arg.rfind("--rest-rounds=", 0) == 0)
            restRounds = optionValue(arg, "--rest-rounds", restRounds);
        else if (!arg.empty() && std::isdigit(static_cast<unsigned char>(arg[0])))
            rounds = std::max(1, std::atoi(arg.c_str()));
        else {
            std::fprintf(
                stderr,
                "usage: bench_peers [rounds] [--install-peers] [--settle=S] [--idle=S] [--rest-rounds=N]\n");
            return 2;
        }
    }

    Bench bench;
    bench.settleMs = settleS * 1000;
    if (!bench.watcher.ok()) {
        std::fprintf(stderr, "no X display (run it as: xvfb-run -a bench_peers)\n");
        return 1;
    }
    if (install && !installPeers())
        std::fprintf(stderr, "the peers could not be installed; those missing are reported absent\n");

    char runtime[] = "/tmp/bench-peers-XXXXXX";
    if (!mkdtemp(runtime)) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    bench.logs = fs::path(runtime) / "logs";
    fs::create_directories(bench.logs);
    std::optional<bench::Child> bus = startSessionBus(bench.logs);

    bench::ProgramCopy copy(fs::path(runtime) / "program");
    if (!copy.ok())
        return 1;
    bench.copy = &copy;

    std::vector<Row> rows;
    const std::vector<bench::BackendRow> backends = bench::backendRows();
    for (const bench::BackendRow &backend : backends)
        rows.push_back({"vesk-config, no mouse, " + backend.label, {}, backend, "none", {}, {}, {}, 0, 0});
    Row attached{"vesk-config, mouse attached, " + backends.front().label,
                 {},
                 backends.front(),
                 "attached",
                 {},
                 {},
                 {},
                 0,
                 0};
    if (!copy.hasMouse() || !fs::exists(fs::path(runtime) / "program/libvesk-vmouse.so"))
        attached.absent = "the virtual mouse is not built, or its state not written";
    rows.push_back(attached);
    for (const char *peer : {"piper", "solaar"}) {
        Row row{peer, {peer}, {}, {}, {}, {}, {}, 0, 0};
        if (bench::findInPath(peer).empty())
            row.absent = "not installed (--install-peers installs it)";
        rows.push_back(row);
    }

    // The first start of anything is slower (file cache, a bus service started on demand): not counted.
    for (Row &row : rows) {
        if (row.absent.empty())
            bench.start(row, false);
    }
    for (int round = 0; round < rounds; ++round) {
        for (Row &row : rows) {
            if (row.absent.empty())
                bench.start(row, true);
        }
    }

    std::printf(
        "start-up beside the peers: %d rounds, each starting every program in turn; median [min-max]\n",
        rounds);
    std::printf("first window: a top-level window of the process mapped; peak RSS: ended %d s after it\n\n",
                settleS);
    std::printf("%-58s %24s %24s\n", "program", "first window ms", "peak RSS MiB");
    for (const Row &row : rows) {
        if (!row.absent.empty()) {
            std::printf("%-58s absent: %s\n", row.label.c_str(), row.absent.c_str());
            continue;
        }
        std::printf("%-58s %24s %24s", row.label.c_str(), spread(row.windowMs).c_str(),
                    spread(row.peakMiB).c_str());
        if (row.failures > 0)
            std::printf("   (%d starts showed no window)", row.failures);
        if (row.windowsWithoutPid > 0)
            std::printf("   (%d windows without _NET_WM_PID)", row.windowsWithoutPid);
        std::printf("\n");
    }

    const Row *fastest = nullptr;
    const Row *lightest = nullptr;
    for (const Row &row : rows) {
        if (row.ours() || row.windowMs.empty())
            continue;
        if (!fastest || bench::median(row.windowMs) < bench::median(fastest->windowMs))
            fastest = &row;
        if (!lightest || bench::median(row.peakMiB) < bench::median(lightest->peakMiB))
            lightest = &row;
    }
    if (fastest && lightest) {
        std::printf("\nratio of ours to the best peer (first window: %s, %.1f ms; peak RSS: %s, %.1f MiB)\n",
                    fastest->label.c_str(), bench::median(fastest->windowMs), lightest->label.c_str(),
                    bench::median(lightest->peakMiB));
        for (const Row &row : rows) {
            if (row.ours() && !row.windowMs.empty())
                std::printf("%-58s %24.2f %24.2f\n", row.label.c_str(),
                            bench::median(row.windowMs) / bench::median(fastest->windowMs),
                            bench::median(row.peakMiB) / bench::median(lightest->peakMiB));
        }
    } else {
        std::printf("\nno peer was measured: no ratio\n");
    }
    std::fflush(stdout);

    // This program at rest with its pages opened, and idle.
    std::vector<Row *> ours;
    for (Row &row : rows) {
        if (row.ours() && row.absent.empty())
            ours.push_back(&row);
    }
    std::vector<Rest> rests(ours.size());
    for (int round = 0; round < restRounds; ++round) {
        for (size_t i = 0; i < ours.size(); ++i)
            restOnce(bench, *ours[i], rests[i], idleS * 1000);
    }
    if (restRounds > 0) {
        std::printf("\nvesk-config with its five pages opened: %d rounds; median [min-max]\n", restRounds);
        std::printf("scene: from the window's mapping to the first frame that shows the scene; RSS at rest: "
                    "%.0f s after "
                    "the last page slid in;\nidle CPU: utime+stime over the next %d s (ticks of 1/%ld s, "
                    "target 0)\n\n",
                    kRestMs / 1000.0, idleS, sysconf(_SC_CLK_TCK));
        std::printf("%-58s %-9s %20s %20s %20s %16s\n", "program", "backend", "scene ms", "RSS at rest MiB",
                    "peak RSS MiB", "idle CPU ticks");
        for (size_t i = 0; i < ours.size(); ++i) {
            std::printf("%-58s %-9s %20s %20s %20s %16s", ours[i]->label.c_str(),
                        rests[i].backend.empty() ? "?" : rests[i].backend.c_str(),
                        spread(rests[i].sceneAfterMapMs).c_str(), spread(rests[i].restMiB).c_str(),
                        spread(rests[i].peakMiB).c_str(), spread(rests[i].idleTicks, 0).c_str());
            if (rests[i].failures > 0)
                std::printf("   (%d runs failed)", rests[i].failures);
            std::printf("\n");
            if (!rests[i].threadTicks.empty()) {
                std::printf("%-58s idle ticks by thread, all rounds:", "");
                for (const auto &[name, ticks] : rests[i].threadTicks)
                    std::printf(" \"%s\" %lld", name.c_str(), ticks);
                std::printf("\n");
            }
        }
    }

    if (bus)
        bench::stop(*bus);
    bool failed = false;
    for (const Row &row : rows)
        failed = failed || row.failures > 0;
    for (const Rest &rest : rests)
        failed = failed || rest.failures > 0;
    if (failed) {
        std::printf("\nsome starts failed: the programs' output is kept in %s\n", bench.logs.c_str());
        return 1;
    }
    fs::remove_all(runtime);
    return 0;
}
