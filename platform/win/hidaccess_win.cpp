#include "hidaccess.h"

HidAccess probeHidAccess(const QString &)
{
    // Windows gives every user access to HID devices; there is nothing to install.
    return HidAccess::NotANode;
}
