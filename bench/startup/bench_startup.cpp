// Start-up benchmark: time from process start to the first frame that shows the scene, and peak resident
// memory, of vesk-config against a minimal QQuickWidget window, measured alternately in the same run.
//
// Usage (needs an X display, e.g. under xvfb-run): bench_startup [rounds]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char **environ;

namespace {

struct Sample
{
    double startupMs = -1;
    double peakRssMiB = -1;
};

// Runs one program with the start-up probe on and reads its first-frame time and peak memory.
Sample runOnce(const std::string &program)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", program.c_str(), std::strerror(spawned));
        return {};
    }

    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, size_t(n));
    close(out[0]);

    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);

    Sample sample;
    const std::string key = "first-frame-ns ";
    const size_t at = text.find(key);
    if (at != std::string::npos) {
        const long long frameNs = std::atoll(text.c_str() + at + key.size());
        const long long startNs =
            std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch()).count();
        sample.startupMs = double(frameNs - startNs) / 1e6;
    }
    sample.peakRssMiB = double(usage.ru_maxrss) / 1024.0;
    return sample;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::string folder = VESK_RUNTIME_DIR;
    const std::string program = folder + "/vesk-config";
    const std::string baseline = folder + "/bench_minimal_window";

    setenv("VESK_STARTUP_PROBE", "1", 1);
    char runtime[] = "/tmp/bench-startup-XXXXXX";
    if (mkdtemp(runtime))
        setenv("XDG_RUNTIME_DIR", runtime, 1);

    std::vector<double> programMs, programRss, baseMs, baseRss;
    runOnce(baseline); // warm the file cache for both: the first start of anything is slower
    runOnce(program);
    for (int i = 0; i < rounds; ++i) {
        const Sample b = runOnce(baseline);
        const Sample p = runOnce(program);
        if (b.startupMs < 0 || p.startupMs < 0) {
            std::fprintf(stderr, "a run showed no frame (is there a display?)\n");
            return 1;
        }
        baseMs.push_back(b.startupMs);
        baseRss.push_back(b.peakRssMiB);
        programMs.push_back(p.startupMs);
        programRss.push_back(p.peakRssMiB);
    }

    const double startRatio = median(programMs) / median(baseMs);
    const double rssRatio = median(programRss) / median(baseRss);
    std::printf("start-up benchmark, %d rounds, medians\n", rounds);
    std::printf("%-22s %14s %14s\n", "", "first frame", "peak RSS");
    std::printf("%-22s %11.1f ms %10.1f MiB\n", "minimal QQuickWidget", median(baseMs), median(baseRss));
    std::printf("%-22s %11.1f ms %10.1f MiB\n", "vesk-config", median(programMs), median(programRss));
    std::printf("%-22s %14.2f %14.2f   (target <= 1.30)\n", "ratio", startRatio, rssRatio);
    rmdir(runtime);
    return 0;
}
