// Start-up benchmark: time from process start to the first frame that shows the scene, and peak resident
// memory, of vesk-config against a minimal QQuickWidget window, measured alternately in the same run. Then
// the program against the virtual mouse (1 ms per report): attached, absent, and wedged (every exchange hangs
// 5 s and fails), each against the absent mouse: the window must not wait for the mouse.
//
// Usage (needs an X display, e.g. under xvfb-run): bench_startup [rounds]
#include "benchrun.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

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
    bench::Environment environment = bench::Environment::current();
    environment.set(extra);
    std::optional<bench::Child> child = bench::start({program}, environment, true);
    if (!child)
        return {};

    Sample sample;
    const std::string key = "first-frame-ns ";
    bench::LineReader lines(child->output);
    // To the end of its output: a program whose mouse is wedged ends only once its hung exchange has.
    const auto deadline = child->started + std::chrono::minutes(2);
    while (const std::optional<std::string> line = lines.next(deadline)) {
        if (line->rfind(key, 0) == 0)
            sample.startupMs =
                bench::msBetween(child->started, bench::fromProbeNs(std::atoll(line->c_str() + key.size())));
    }
    if (!bench::waitForEnd(*child, 60'000))
        bench::stop(*child);
    sample.peakRssMiB = bench::peakRssMiB(*child);
    return sample;
}

using bench::median;

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
    bench::ProgramCopy mouse(fs::path(runtime) / "program");
    if (!mouse.ok() || !mouse.hasMouse()) {
        std::fprintf(stderr, "cannot write the virtual mouse's state (python3 and tools/vmouse_state.py)\n");
        return 1;
    }
    const auto runMouse = [&mouse](const std::string &kind) {
        return runOnce(mouse.program(), mouse.prepare(kind));
    };
    const char *kinds[] = {"absent", "attached", "wedged"};
    std::vector<double> mouseMs[3], mouseRss[3];
    runMouse("attached");
    for (int i = 0; i < rounds; ++i) {
        for (int k = 0; k < 3; ++k) {
            const Sample sample = runMouse(kinds[k]);
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
