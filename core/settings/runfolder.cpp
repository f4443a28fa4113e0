#include "runfolder.h"

#include "corelog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#ifndef VESK_INSTALLED_DATA
// Where the data tree lies relative to the executable's folder once installed (bin/ → share/vesk-config).
#define VESK_INSTALLED_DATA "../share/vesk-config"
#endif

namespace runfolder {

namespace {

const QLatin1String kModules{"modules"};
const QLatin1String kFolderName{"vesk-config"};

QString modulesOf(const QString &folder)
{
    return folder + QLatin1Char('/') + kModules;
}

// A folder is usable when it exists (or can be made) and a file can be created in it: the permission bits
// alone do not tell (read-only mounts, root).
bool canWriteIn(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QFile probe(folder + QStringLiteral("/.vesk-write-test"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

} // namespace

RunFolder::RunFolder() = default;
RunFolder::RunFolder(RunFolder &&) noexcept = default;
RunFolder &RunFolder::operator=(RunFolder &&) noexcept = default;
RunFolder::~RunFolder() = default;

bool holdsWritableModules(const QString &folder)
{
    const QFileInfo modules(modulesOf(folder));
    return modules.isDir() && modules.isWritable();
}

CopyResult addMissingFiles(const QString &shippedModules, const QString &targetModules)
{
    CopyResult result;
    const QDir shipped(shippedModules);
    QDirIterator it(shippedModules, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = shipped.relativeFilePath(from);
        const QString to = targetModules + QLatin1Char('/') + relative;
        // exists() follows links; a dangling link is still the user's entry.
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            continue;
        if (!QDir().mkpath(QFileInfo(to).path())) {
            qCWarning(lcRunFolder) << "cannot create the folder for" << to;
            ++result.failed;
            continue;
        }
        // QFile::copy writes a temporary file beside the target and renames it into place.
        if (!QFile::copy(from, to)) {
            qCWarning(lcRunFolder) << "cannot copy" << from << "to" << to;
            ++result.failed;
            continue;
        }
        // The installed files may be read-only; the user's copy holds settings the program rewrites.
        QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
        ++result.copied;
    }
    return result;
}

RunFolder choose(const QString &executableFolder, const QString &installedData, const QString &userData)
{
    RunFolder run;
    if (holdsWritableModules(executableFolder)) {
        run.path = executableFolder;
        run.mode = Mode::Portable;
        return run;
    }

    const QString shipped = modulesOf(installedData);
    if (!QFileInfo(shipped).isDir()) {
        qCWarning(lcRunFolder) << "no writable modules folder beside the program and no installed data at"
                               << shipped << "- running from" << executableFolder
                               << "(settings cannot be kept)";
        run.path = executableFolder;
        run.mode = Mode::ExecutableFallback;
        return run;
    }

    if (!userData.isEmpty() && canWriteIn(userData)) {
        const CopyResult copy = addMissingFiles(shipped, modulesOf(userData));
        if (copy.copied > 0)
            qCDebug(lcRunFolder) << "added" << copy.copied << "shipped files to" << userData;
        if (!copy.ok())
            qCWarning(lcRunFolder) << copy.failed << "shipped files could not be added to" << userData;
        run.path = userData;
        run.mode = Mode::Installed;
        return run;
    }

    qCWarning(lcRunFolder) << "cannot write to the user's data folder" << userData
                           << "- using a temporary folder; settings changed in this run will not be kept";
    auto temporary =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vesk-config-XXXXXX"));
    if (!temporary->isValid()) {
        qCWarning(lcRunFolder) << "no temporary folder either - running from" << executableFolder;
        run.path = executableFolder;
        run.mode = Mode::ExecutableFallback;
        return run;
    }
    const CopyResult copy = addMissingFiles(shipped, modulesOf(temporary->path()));
    if (!copy.ok())
        qCWarning(lcRunFolder) << copy.failed << "shipped files could not be copied to" << temporary->path();
    run.path = temporary->path();
    run.mode = Mode::Temporary;
    run.temporary = std::move(temporary);
    return run;
}

QString installedDataFolder(const QString &executableFolder)
{
    return QDir::cleanPath(executableFolder + QLatin1Char('/') + QLatin1String(VESK_INSTALLED_DATA));
}

QString userDataFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    return base + QLatin1Char('/') + kFolderName;
}

} // namespace runfolder
