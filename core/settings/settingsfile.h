#pragma once

#include <QDateTime>
#include <QString>

namespace settingsfile {

// What QSettings goes by to tell whether a file changed.
struct Stamp
{
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
};

Stamp stampOf(const QString &path);

// QSettings keeps one cache per INI file for the whole process and reads a file again only when its size or
// its time stamp has changed. A file replaced by one of the same size within the same tick of the file
// system's clock (a millisecond here, two seconds on FAT) would be read back as its old self. After writing
// `path` anew, call this with its stamp from just before: when size and time stamp match, the new file's time
// stamp moves on, so that every QSettings on it reads what it now holds.
void markReplaced(const QString &path, const Stamp &before);

} // namespace settingsfile
