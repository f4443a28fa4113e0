#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;

// Which folder start-up makes current. Every data path of the program is relative ("./modules/..."), so
// this one choice decides where settings are read and written:
// - portable: a writable modules tree lies beside the executable (a build folder, an unpacked archive);
//   the executable's folder is used, as it always was;
// - installed: the executable's folder holds no writable modules tree (a package under /usr); the user's
//   own copy under $XDG_DATA_HOME/vesk-config is used, seeded from the installed data and topped up with
//   shipped files the user lacks, never overwriting the user's files;
// - temporary: installed, but the user's folder cannot be created or written; a folder that lives as long
//   as the program runs is seeded instead, so everything works and nothing outlives the run.
namespace runfolder {

enum class Mode { Portable, Installed, Temporary, ExecutableFallback };

struct RunFolder
{
    RunFolder();
    RunFolder(RunFolder &&) noexcept;
    RunFolder &operator=(RunFolder &&) noexcept;
    ~RunFolder();

    QString path;
    Mode mode = Mode::Portable;
    // Holds the temporary folder for the run (Mode::Temporary only).
    std::unique_ptr<QTemporaryDir> temporary;
};

struct CopyResult
{
    int copied = 0;
    int failed = 0;
    bool ok() const { return failed == 0; }
};

// Whether folder/modules is a folder this process may write to.
bool holdsWritableModules(const QString &folder);

// Copies every file under shippedModules that targetModules lacks, creating folders as needed. A path
// that exists in any form (file, folder, link) is the user's and is left alone. Copies are atomic, so an
// interrupted run never leaves half a file that later runs would then keep.
CopyResult addMissingFiles(const QString &shippedModules, const QString &targetModules);

// The decision, with every location given: the executable's folder, the installed data folder (holding
// "modules") and the user's data folder (receiving "modules").
RunFolder choose(const QString &executableFolder, const QString &installedData, const QString &userData);

// The installed data folder for an executable folder, and the user's data folder, as this system lays them
// out ($XDG_DATA_HOME, by default ~/.local/share, + "/vesk-config").
QString installedDataFolder(const QString &executableFolder);
QString userDataFolder();

} // namespace runfolder
