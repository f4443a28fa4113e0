// Start-up benchmark: time from process start to the first frame that shows the scene, and peak resident
// memory, of vesk-config against a minimal QQuickWidget window, measured alternately in the same run. Then
// the program against the virtual mouse (1 ms per report): attached, absent, and wedged (every exchange hangs
// 5 s and fails), each against the absent mouse: the window must not wait for the mouse.
//
// Usage (needs an X display, e.g. under xvfb-run): bench_startup [rounds]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern char **environ;

namespace {

struct Sample
{
    double startupMs = -1;
    double peakRssMiB = -1;
};

// Runs one program with the start-up probe on and reads its first-frame time and peak memory; extra holds
// further NAME=value entries for its environment.
Sample runOnce(const std::string &program, const std::vector<std::string> &extra = {})
{
    std::vector<std::string> entries;
    for (char **e = environ; *e; ++e)
        entries.emplace_back(*e);
    entries.insert(entries.end(), extra.begin(), extra.end());
    std::vector<char *> envp;
    for (std::string &entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

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
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, envp.data());
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

// The virtual mouse's state file for a mouse that holds the shipped profiles.
std::string shippedMouseState()
{
    const std::string command =
        "python3 " VESK_SOURCE_DIR "/tools/vmouse_state.py " VESK_SOURCE_DIR "/modules/setting/p_Vesk.bin";
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

// The program against the virtual mouse, from a copy of its folder whose profile store is the shipped one at
// every start: reading the mouse writes the store, and no run may start from what another left.
struct MouseRuns
{
    fs::path folder;
    std::string program;
    std::string state;
    std::string library;

    Sample run(const std::string &mouse) // "attached", "absent" or "wedged"
    {
        fs::copy_file(VESK_SOURCE_DIR "/modules/setting/p_Vesk.bin", folder / "modules/setting/p_Vesk.bin",
                      fs::copy_options::overwrite_existing);
        std::string text = state;
        if (mouse == "absent")
            text.replace(text.find("plugged=1"), 9, "plugged=0");
        const fs::path statePath = folder / "mouse.state";
        std::ofstream(statePath) << text;
        std::vector<std::string> env = {"LD_PRELOAD=" + library, "VESK_VMOUSE_STATE=" + statePath.string(),
                                        "VESK_VMOUSE_USB_TIMING=1"};
        if (mouse == "wedged")
            env.push_back("VESK_VMOUSE_WEDGED_MS=5000");
        return runOnce(program, env);
    }
};

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
    std::printf("%-34s %14s %14s\n", "", "first frame", "peak RSS");
    std::printf("%-34s %11.1f ms %10.1f MiB\n", "minimal QQuickWidget", median(baseMs), median(baseRss));
    std::printf("%-34s %11.1f ms %10.1f MiB\n", "vesk-config", median(programMs), median(programRss));
    std::printf("%-34s %14.2f %14.2f   (target <= 1.30)\n", "ratio", startRatio, rssRatio);
    std::fflush(stdout);

    // The same program against the virtual mouse, from a copy of its folder.
    MouseRuns mouse;
    mouse.folder = fs::path(runtime) / "program";
    fs::copy(folder, mouse.folder, fs::copy_options::recursive);
    mouse.program = (mouse.folder / "vesk-config").string();
    mouse.library = (mouse.folder / "libvesk-vmouse.so").string();
    mouse.state = shippedMouseState();
    if (mouse.state.find("plugged=1") == std::string::npos) {
        std::fprintf(stderr, "cannot write the virtual mouse's state (python3 and tools/vmouse_state.py)\n");
        return 1;
    }
    const char *kinds[] = {"absent", "attached", "wedged"};
    std::vector<double> mouseMs[3], mouseRss[3];
    mouse.run("attached");
    for (int i = 0; i < rounds; ++i) {
        for (int k = 0; k < 3; ++k) {
            const Sample sample = mouse.run(kinds[k]);
            if (sample.startupMs < 0) {
                std::fprintf(stderr, "a run against the virtual mouse showed no frame\n");
                return 1;
            }
            mouseMs[k].push_back(sample.startupMs);
            mouseRss[k].push_back(sample.peakRssMiB);
        }
    }
    std::printf("\nagainst the virtual mouse (1 ms per report), %d rounds, medians\n", rounds);
    std::printf("%-34s %14s %14s %12s\n", "", "first frame", "peak RSS", "frame ratio");
    const char *labels[] = {"no mouse", "mouse attached", "mouse wedged (5 s per exchange)"};
    for (int k = 0; k < 3; ++k) {
        const double ratio = median(mouseMs[k]) / median(mouseMs[0]);
        std::printf("%-34s %11.1f ms %10.1f MiB %12.2f%s\n", labels[k], median(mouseMs[k]),
                    median(mouseRss[k]), ratio,
                    k == 0          ? ""
                    : ratio <= 1.15 ? "   (target <= 1.15: ok)"
                                    : "   (target <= 1.15: ABOVE)");
    }
    fs::remove_all(runtime);
    return 0;
}
