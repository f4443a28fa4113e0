#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

// Copies the program's folder (the executable, modules/ and what else the build put beside it), so that a
// test can run the program without touching the build's own stores.
inline bool copyProgramFolder(const QString &from, const QString &to)
{
    bool ok = QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        ok = QFile::copy(source, target) && ok;
        QFile::setPermissions(target, QFileInfo(source).permissions() | QFileDevice::WriteOwner);
    }
    return ok;
}

// Puts the shipped data files of modules/setting/ back in a copied folder.
inline bool restoreShippedSettings(const QString &shippedModules, const QString &folder)
{
    bool ok = true;
    const QDir shipped(shippedModules + QStringLiteral("/setting"));
    for (const QString &name : shipped.entryList(QDir::Files)) {
        const QString target = folder + QStringLiteral("/modules/setting/") + name;
        QFile::remove(target);
        ok = QFile::copy(shipped.filePath(name), target) && ok;
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
    return ok;
}
