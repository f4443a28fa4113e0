// Exchanging single macros as ".mc" files (byte-for-byte copies of library files) and renaming them.
#include "macrolibrary.h"
#include "myqquickview.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcView)

namespace {

// Far beyond any macro; a bigger file is not one, and would only be copied into the library.
constexpr qint64 MaxMacroFileBytes = 4 * 1024 * 1024;
constexpr qint64 CopyChunkBytes = 64 * 1024;

// Copies source beside target and then puts the copy in its place, so that a failed copy leaves target as it
// was. forcedPermissions, when given, apply to the result; otherwise an existing target keeps its own and a
// new one is owner-only.
bool replaceWithCopy(const QString &source, const QString &target,
                     std::optional<QFileDevice::Permissions> forcedPermissions)
{
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile() || sourceInfo.size() > MaxMacroFileBytes) {
        qCWarning(lcView) << "not copied:" << source << "is not a macro-sized file";
        return false;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcView) << "cannot read" << source << in.errorString();
        return false;
    }
    const bool targetExisted = QFileInfo::exists(target);
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        qCWarning(lcView) << "cannot write" << target << out.errorString();
        return false;
    }
    if (forcedPermissions)
        out.setPermissions(*forcedPermissions);
    else if (!targetExisted)
        out.setPermissions(MacroFilePermissions);

    qint64 copied = 0;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(CopyChunkBytes);
        copied += chunk.size();
        if (chunk.isEmpty() || copied > MaxMacroFileBytes || out.write(chunk) != chunk.size()) {
            // The copy is dropped with the save file; target is untouched.
            qCWarning(lcView) << "copy of" << source << "to" << target << "failed";
            return false;
        }
    }
    if (!out.commit()) {
        qCWarning(lcView) << "cannot replace" << target << out.errorString();
        return false;
    }
    return true;
}

} // namespace

void myQQuickView::loadMacroIniFromFile(QVariant name)
{
    const QString macroName = name.toString();
    if (!isValidMacroName(macroName)) {
        qCWarning(lcView) << "import refused: not a macro name:" << macroName;
        return;
    }
    const QString source = askOpenFileName(tr("Open File"), desktopFolder(), tr("Macro(*.mc)"));
    if (source.isEmpty())
        return;
    // An import replaces an existing macro; it never creates one.
    const QString target = macroFilePath(productNo, macroName);
    if (!QFileInfo(target).isFile()) {
        qCDebug(lcView) << "import skipped: macro" << macroName << "no longer exists";
        return;
    }
    replaceWithCopy(source, target, MacroFilePermissions);
}

void myQQuickView::saveMacroIniToFile(QVariant name)
{
    const QString macroName = name.toString();
    if (!isValidMacroName(macroName)) {
        qCWarning(lcView) << "export refused: not a macro name:" << macroName;
        return;
    }
    const QString source = macroFilePath(productNo, macroName);
    if (!QFileInfo(source).isFile()) {
        qCDebug(lcView) << "export skipped: no macro" << macroName;
        return;
    }
    const QString target = askSaveFileName(tr("Save File"), desktopFolder(), tr("Macro(*.mc)"));
    if (target.isEmpty())
        return;
    replaceWithCopy(source, target, std::nullopt);
}

void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName)
{
    const QString from = oldName.toString();
    const QString to = newName.toString();
    if (!isValidMacroName(from) || !isValidMacroName(to)) {
        qCWarning(lcView) << "rename refused:" << from << "to" << to;
        return;
    }
    QFile file(macroFilePath(productNo, from));
    // Never onto an existing macro: both files stay as they were.
    if (!file.rename(macroFilePath(productNo, to)))
        qCDebug(lcView) << "rename of" << from << "to" << to << "failed:" << file.errorString();
}
