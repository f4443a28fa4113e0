// The macro library (one settings file per macro) as the scene's macro and key pages use it.
#include "macrolibrary.h"
#include "myqquickview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>

Q_DECLARE_LOGGING_CATEGORY(lcView)

namespace {

// A file that claims more lines than this is damaged; loading it whole would only exhaust memory.
constexpr int MaxMacroLines = 100000;
// Far beyond what anyone creates; only a library that cannot be written to runs into it.
constexpr int MaxGeneratedNames = 1000000;

// The library file of a valid name that exists as a file; empty otherwise.
QString existingMacroFile(int productNo, const QString &name, const char *operation)
{
    if (!isValidMacroName(name)) {
        qCWarning(lcView) << operation << "refused: not a macro name:" << name;
        return {};
    }
    const QString path = macroFilePath(productNo, name);
    if (!QFileInfo(path).isFile()) {
        qCDebug(lcView) << operation << "skipped: no macro file" << path;
        return {};
    }
    return path;
}

bool synced(QSettings &settings)
{
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qCWarning(lcView) << "macro file not written:" << settings.fileName();
    return false;
}

} // namespace

QVariant myQQuickView::createMacroIni()
{
    const QString dir = macroLibraryDir(productNo);
    if (!QDir().mkpath(dir)) {
        qCWarning(lcView) << "cannot create the macro library" << dir;
        return {};
    }
    for (int n = 1; n <= MaxGeneratedNames; ++n) {
        const QString name = generatedMacroName(n);
        const QString path = macroFilePath(productNo, name);
        if (QFileInfo::exists(path))
            continue;
        // Created owner-only before anything is written; later saves keep the permissions.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, MacroFilePermissions)) {
            qCWarning(lcView) << "cannot create" << path << file.errorString();
            return {};
        }
        file.close();
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(macroIndexKey(), -1);
        settings.setValue(macroTotalKey(), 0);
        settings.setValue(macroRepeatKey(), 1);
        if (!synced(settings)) {
            QFile::remove(path);
            return {};
        }
        return name;
    }
    qCWarning(lcView) << "no free macro name in" << dir;
    return {};
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    const QString path = existingMacroFile(productNo, name.toString(), "delete");
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.remove()) {
        qCWarning(lcView) << "cannot delete" << path << file.errorString();
        return false;
    }
    return true;
}

QStringList myQQuickView::getMacroIniNames()
{
    const QDir dir(macroLibraryDir(productNo));
    if (!dir.exists())
        return {};
    return dir.entryList({QStringLiteral("*.bin")}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                         QDir::Name | QDir::IgnoreCase);
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros)
{
    const QString macroName = name.toString();
    const QString path = existingMacroFile(productNo, macroName, "save");
    if (path.isEmpty())
        return false;
    // A file from an older installation may still be readable by others; the save replaces it with a file of
    // the same permissions.
    QFile::setPermissions(path, MacroFilePermissions);

    int index = -1;
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.remove(macroGroup());
        settings.setValue(macroTotalKey(), macros.size());
        for (qsizetype i = 0; i < macros.size(); ++i)
            settings.setValue(macroLineKey(i), macros.at(i));
        if (!synced(settings))
            return false;
        index = settings.value(macroIndexKey(), -1).toInt();
    }
    // The device slot the macro occupies gets the edited version.
    if (index >= 0)
        vesk_0FH_SetMacroKey(index + 1, macroName);
    return true;
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    const QString path = existingMacroFile(productNo, name.toString(), "load");
    if (path.isEmpty())
        return {};
    const QSettings settings(path, QSettings::IniFormat);
    int total = settings.value(macroTotalKey()).toInt();
    if (total > MaxMacroLines) {
        qCWarning(lcView) << path << "claims" << total << "lines; only" << MaxMacroLines << "are read";
        total = MaxMacroLines;
    }
    QStringList lines;
    for (int i = 0; i < total; ++i)
        lines.append(settings.value(macroLineKey(i), QStringLiteral("0")).toString());
    return lines;
}

QVariantList myQQuickView::loadMacroIniConfig(QVariant name)
{
    const QString path = existingMacroFile(productNo, name.toString(), "read config of");
    if (path.isEmpty())
        return {};
    const QSettings settings(path, QSettings::IniFormat);
    return {settings.value(macroIndexKey(), -1).toInt(), settings.value(macroRepeatKey(), 1).toInt()};
}

void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config)
{
    if (config.size() < 2) {
        qCWarning(lcView) << "macro config needs index and repeat; got" << config;
        return;
    }
    const QString path = existingMacroFile(productNo, name.toString(), "write config of");
    if (path.isEmpty())
        return;
    QFile::setPermissions(path, MacroFilePermissions);
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(macroIndexKey(), config.at(0));
    settings.setValue(macroRepeatKey(), config.at(1));
    synced(settings);
}
