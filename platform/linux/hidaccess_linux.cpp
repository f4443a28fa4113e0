#include "hidaccess.h"
#include "platformlog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

HidAccess probeHidAccess(const QString &hidPath)
{
    // hidapi's hidraw backend uses the node's path as the interface path.
    if (!hidPath.startsWith(QLatin1Char('/')))
        return HidAccess::NotANode;
    const QByteArray path = hidPath.toLocal8Bit();
    struct stat info
    {
    };
    if (stat(path.constData(), &info) != 0 || !S_ISCHR(info.st_mode))
        return HidAccess::NotANode;
    // The same open hid_open_path does; a hidraw node may be opened more than once, so this disturbs
    // nothing.
    const int fd = open(path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        close(fd);
        return HidAccess::Granted;
    }
    const int error = errno;
    qCDebug(lcHidAccess) << "cannot open" << hidPath << ":" << strerror(error);
    return error == EACCES || error == EPERM ? HidAccess::Denied : HidAccess::OtherFailure;
}
