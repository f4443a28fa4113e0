// The macro library (one settings file per macro) as the scene's macro and key pages use it.
#include "macro/macrolibrary.h"
#include "myqquickview.h"
#include "viewlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

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
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kMacroFilePermissions)) {
            qCWarning(lcView) << "cannot create" << path << file.errorString();
            return {};
        }
        file.close();
        const bool written = editMacroFile(path, [](QSettings &settings) {
            settings.setValue(macroIndexKey(), -1);
            settings.setValue(macroTotalKey(), 0);
            settings.setValue(macroRepeatKey(), 1);
        });
        if (!written) {
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
    QFile::setPermissions(path, kMacroFilePermissions);
    if (macros.size() > kMaxMacroLines) {
        qCDebug(lcView) << "macro" << macroName << "has" << macros.size() << "lines; the first"
                        << kMaxMacroLines << "are kept";
        macros = macros.mid(0, kMaxMacroLines);
    }

    int index = -1;
    const bool written = editMacroFile(path, [&](QSettings &settings) {
        settings.remove(macroGroup());
        settings.setValue(macroTotalKey(), macros.size());
        for (qsizetype i = 0; i < macros.size(); ++i)
            settings.setValue(macroLineKey(i), macros.at(i));
        index = settings.value(macroIndexKey(), -1).toInt();
    });
    if (!written)
        return false;
    if (index == -1)
        return true;
    // The device slot the macro occupies gets the edited version, unless the slot is not the macro's to
    // write: an index beyond the mouse's slots would wrap onto a low one, and a slot another macro holds too
    // (an imported or copied file) is what the key bound to that other macro plays.
    if (!isMacroSlotIndex(index)) {
        qCDebug(lcView) << "macro" << macroName << "saved, not downloaded: slot index" << index
                        << "is no slot of the mouse";
        return true;
    }
    const QString claimant = macroSlotClaimant(productNo, index, macroName);
    if (!claimant.isEmpty()) {
        qCDebug(lcView) << "macro" << macroName << "saved, not downloaded: slot index" << index
                        << "is held by macro" << claimant << "too";
        return true;
    }
    vesk_0FH_SetMacroKey(index + 1, macroName);
    return true;
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    const QString path = existingMacroFile(productNo, name.toString(), "load");
    if (path.isEmpty())
        return {};
    const MacroFileReader file(path);
    int total = file.value(macroTotalKey()).toInt();
    if (total > kMaxMacroLines) {
        qCDebug(lcView) << path << "claims" << total << "lines; only" << kMaxMacroLines << "are read";
        total = kMaxMacroLines;
    }
    const QString missing = QStringLiteral("0");
    QStringList lines;
    for (int i = 0; i < total; ++i) {
        const QVariant value = file.value(macroLineKey(i), missing);
        // A line is text; a value QSettings made something else of reads as a missing line.
        if (value.typeId() == QMetaType::QString) {
            lines.append(value.toString());
        } else {
            qCDebug(lcView) << path << macroLineKey(i) << "holds no text but" << value.typeName();
            lines.append(missing);
        }
    }
    return lines;
}

QVariantList myQQuickView::loadMacroIniConfig(QVariant name)
{
    const QString path = existingMacroFile(productNo, name.toString(), "read config of");
    if (path.isEmpty())
        return {};
    const MacroFileReader file(path);
    return {file.value(macroIndexKey(), -1).toInt(), file.value(macroRepeatKey(), 1).toInt()};
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
    QFile::setPermissions(path, kMacroFilePermissions);
    editMacroFile(path, [&](QSettings &settings) {
        settings.setValue(macroIndexKey(), config.at(0));
        settings.setValue(macroRepeatKey(), config.at(1));
    });
}
