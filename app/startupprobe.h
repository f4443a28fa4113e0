#pragma once

class QQuickWidget;

// For the benchmarks (bench/), chosen by the value of VESK_STARTUP_PROBE; without the variable this does
// nothing. Times are the monotonic clock's, in nanoseconds, one line each on standard output.
// - "pages": prints the first frame the view paints with the scene shown ("first-frame-ns <n>") and the scene
//   graph's backend ("backend <name>"); once the opening is over, opens the five pages from the function menu
//   one after the other, as clicks on it do, prints "pages-open-ns <n>" when the last has slid in, and runs
//   on.
// - "frames": as "pages", and from that first frame on prints every frame the view paints ("frame-ns <n>"),
//   every frame the scene renders ("render-ns <n>") and where the scene is ("phase-ns <name> <n>": "opening"
//   at the first frame, "page<i>" when page i is asked for, "rest" when a motion has ended); quits after the
//   last page.
// - any other value: prints the first frame that shows the scene ("first-frame-ns <n>") and quits.
void installStartupProbe(QQuickWidget *view);
