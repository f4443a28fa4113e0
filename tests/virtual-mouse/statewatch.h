#pragma once

// The state file watcher of the udev monitors (statewatch.cpp).

namespace vmouse {

// A udev monitor came or went. While one exists and a state file is configured, a thread re-reads the file's
// plugged key when the file changes, so a script that replaces the file plugs or unplugs the mouse and the
// program hears of it without calling hidapi first.
void monitorOpened();
void monitorClosed();

} // namespace vmouse
