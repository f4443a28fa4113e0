// Frame intervals of the scene's motion: the opening (from the first frame that shows the scene, as the
// program's start runs it, until its frame has slid in and settled) and the page slides (each of the five
// pages opened from the function menu, one after the other, from the click until the page has settled).
// p50, p95 and the worst interval between consecutive frames, pooled over the rounds; the target is a p95 of
// at most 20 ms. Also how long a click waits for the first frame of its slide.
//
// The real program is started, not a window built in the bench: the backend is then the one the program
// chooses (main.cpp decides before the first window), with its real window, flags and start. Its probe
// (VESK_STARTUP_PROBE=frames, app/startupprobe.h) opens the pages and prints a time for every paint of the
// QQuickWidget: the widget's paint is the frame that goes to the screen, as the window's backing store is
// flushed to the display right after it, whatever the backend (the software adaptation paints its image
// there; with OpenGL the widget's texture is composed in the same flush). QQuickWindow::frameSwapped is never
// emitted for a QQuickWidget's offscreen window, and afterRendering counts frames rendered, not shown: its
// count is printed beside the painted frames, and a rendered frame that was never painted never showed.
//
// The backend: with QT_QUICK_BACKEND or QSG_RHI_BACKEND in the environment, that one; otherwise the program's
// own choice, the software adaptation and OpenGL, as rows measured in turn.
//
// Usage (needs an X display, e.g. under xvfb-run): bench_frames [rounds]
#include "benchrun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bench::Clock;

namespace {

constexpr double kTargetP95Ms = 20;
constexpr int kRunTimeoutMs = 120'000;

struct Motion
{
    std::vector<double> intervals;
    std::vector<double> responses; // from the click to the first frame (page slides)
    int painted = 0;
    int rendered = 0;
};

struct Row
{
    bench::BackendRow backend;
    std::string inUse;
    Motion opening;
    Motion slides;
    int failures = 0;
};

struct Trace
{
    std::vector<long long> frames;
    std::vector<long long> renders;
    std::vector<std::pair<std::string, long long>> phases;
    std::string backend;
    bool complete = false;
};

std::optional<Trace> runOnce(bench::ProgramCopy &copy, const bench::BackendRow &backend)
{
    bench::Environment environment = bench::Environment::current();
    bench::apply(environment, backend);
    environment.set(copy.prepare("none"));
    environment.set("VESK_STARTUP_PROBE", "frames");
    std::optional<bench::Child> child = bench::start({copy.program()}, environment, true);
    if (!child)
        return std::nullopt;
    Trace trace;
    bench::LineReader lines(child->output);
    const auto deadline = child->started + std::chrono::milliseconds(kRunTimeoutMs);
    while (const std::optional<std::string> line = lines.next(deadline)) {
        const size_t space = line->rfind(' ');
        if (space == std::string::npos)
            continue;
        const long long ns = std::atoll(line->c_str() + space + 1);
        if (line->rfind("frame-ns ", 0) == 0) {
            trace.frames.push_back(ns);
        } else if (line->rfind("render-ns ", 0) == 0) {
            trace.renders.push_back(ns);
        } else if (line->rfind("phase-ns ", 0) == 0) {
            const size_t name = std::string("phase-ns ").size();
            trace.phases.emplace_back(line->substr(name, space - name), ns);
        } else if (line->rfind("backend ", 0) == 0) {
            trace.backend = line->substr(8);
        } else if (line->rfind("pages-open-ns ", 0) == 0) {
            trace.complete = true;
        }
    }
    if (!bench::waitForEnd(*child, 10'000))
        bench::stop(*child);
    if (!trace.complete)
        return std::nullopt;
    return trace;
}

// Adds the frames of [from, to] to the motion.
void addMotion(Motion &motion, const Trace &trace, long long from, long long to, bool response)
{
    long long previous = -1;
    for (long long frame : trace.frames) {
        if (frame < from || frame > to)
            continue;
        if (previous >= 0)
            motion.intervals.push_back(double(frame - previous) / 1e6);
        else if (response)
            motion.responses.push_back(double(frame - from) / 1e6);
        previous = frame;
        ++motion.painted;
    }
    motion.rendered += int(std::count_if(trace.renders.begin(), trace.renders.end(),
                                         [from, to](long long r) { return r >= from && r <= to; }));
}

void addTrace(Row &row, const Trace &trace)
{
    if (row.inUse.empty())
        row.inUse = trace.backend;
    else if (row.inUse != trace.backend)
        row.inUse += "/" + trace.backend;
    for (size_t i = 0; i < trace.phases.size(); ++i) {
        const std::string &name = trace.phases[i].first;
        if (name == "rest")
            continue;
        const auto rest = std::find_if(trace.phases.begin() + long(i) + 1, trace.phases.end(),
                                       [](const auto &phase) { return phase.first == "rest"; });
        if (rest == trace.phases.end())
            continue;
        if (name == "opening")
            addMotion(row.opening, trace, trace.phases[i].second, rest->second, false);
        else
            addMotion(row.slides, trace, trace.phases[i].second, rest->second, true);
    }
}

// The nearest-rank percentile.
double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(p * double(values.size())));
    return values[std::min(values.size(), std::max<size_t>(rank, 1)) - 1];
}

void printMotion(const std::string &label, const std::string &backend, const char *name, const Motion &motion)
{
    if (motion.intervals.empty()) {
        std::printf("%-28s %-9s %-11s no frames\n", label.c_str(), backend.c_str(), name);
        return;
    }
    const double p95 = percentile(motion.intervals, 0.95);
    char response[16] = "-";
    if (!motion.responses.empty())
        std::snprintf(response, sizeof response, "%.1f", bench::median(motion.responses));
    std::printf("%-28s %-9s %-11s %7d %9d %7.1f %7.1f %8.1f %10s   %s\n", label.c_str(), backend.c_str(),
                name, motion.painted, motion.rendered, percentile(motion.intervals, 0.5), p95,
                *std::max_element(motion.intervals.begin(), motion.intervals.end()), response,
                p95 <= kTargetP95Ms ? "ok" : "ABOVE TARGET");
}

} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "no X display (run it as: xvfb-run -a bench_frames)\n");
        return 1;
    }
    char runtime[] = "/tmp/bench-frames-XXXXXX";
    if (!mkdtemp(runtime)) {
        std::perror("mkdtemp");
        return 1;
    }
    setenv("XDG_RUNTIME_DIR", runtime, 1);
    bench::ProgramCopy copy(fs::path(runtime) / "program");
    if (!copy.ok())
        return 1;

    std::vector<Row> rows;
    for (const bench::BackendRow &backend : bench::backendRows())
        rows.push_back({backend, {}, {}, {}, 0});
    runOnce(copy, rows.front().backend); // the first start of anything is slower: not counted
    for (int round = 0; round < rounds; ++round) {
        for (Row &row : rows) {
            const std::optional<Trace> trace = runOnce(copy, row.backend);
            if (trace)
                addTrace(row, *trace);
            else
                ++row.failures;
        }
    }

    std::printf("frame intervals of the scene's motion, %d rounds pooled; target p95 <= %.0f ms\n", rounds,
                kTargetP95Ms);
    std::printf(
        "frames: painted by the widget (shown); rendered: by the scene graph; first: click to its first "
        "frame, median ms\n\n");
    std::printf("%-28s %-9s %-11s %7s %9s %7s %7s %8s %10s\n", "environment", "backend", "motion", "frames",
                "rendered", "p50 ms", "p95 ms", "worst ms", "first ms");
    bool failed = false;
    for (const Row &row : rows) {
        const std::string backend = row.inUse.empty() ? "?" : row.inUse;
        printMotion(row.backend.label, backend, "opening", row.opening);
        printMotion(row.backend.label, backend, "page slide", row.slides);
        if (row.failures > 0) {
            std::printf("%-28s %d runs did not walk through the pages\n", row.backend.label.c_str(),
                        row.failures);
            failed = true;
        }
    }
    fs::remove_all(runtime);
    return failed ? 1 : 0;
}
