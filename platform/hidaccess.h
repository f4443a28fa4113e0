#pragma once

#include <QString>

// Whether this user may open a HID interface's device node. Enumeration works for everyone (it reads
// sysfs), but opening a hidraw node needs read and write access, which a udev rule grants; without it
// every command to the mouse fails.
enum class HidAccess {
    Granted,     // the node opens for reading and writing
    NotANode,    // the path names no device node (Windows paths, the virtual mouse, a vanished node)
    Denied,      // the node exists and the system refuses this user (EACCES, EPERM)
    OtherFailure // the node exists and fails to open for another reason (busy, I/O error)
};

HidAccess probeHidAccess(const QString &hidPath);
