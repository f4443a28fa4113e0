#pragma once

class QQuickWidget;

// For the start-up benchmark: with VESK_STARTUP_PROBE set, the program prints the monotonic time of the first
// frame that shows its scene ("first-frame-ns <n>") and quits. Without the variable this does nothing.
void installStartupProbe(QQuickWidget *view);
