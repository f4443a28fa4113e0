#include "settingsfile.h"

#include "corelog.h"

#include <QFile>
#include <QFileInfo>

namespace settingsfile {

Stamp stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.size(), info.lastModified()};
}

void markReplaced(const QString &path, const Stamp &before)
{
    if (!before.exists)
        return;
    const Stamp after = stampOf(path);
    if (after.size != before.size || after.modified != before.modified)
        return;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcStore) << "cannot move the time stamp of" << path << "on:" << file.errorString();
        return;
    }
    // One millisecond is enough on most file systems; two seconds pass every tick there is.
    for (const int stepMs : {1, 2000}) {
        file.setFileTime(before.modified.addMSecs(stepMs), QFileDevice::FileModificationTime);
        if (stampOf(path).modified != before.modified)
            return;
    }
    qCWarning(lcStore) << "the time stamp of" << path << "does not move; QSettings may read it as it was";
}

} // namespace settingsfile
