// Exchanging single macros as ".mc" files (copies of library files) and renaming them.
#include "macro/macrolibrary.h"
#include "myqquickview.h"
#include "viewlog.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <optional>

namespace {

// Copies source over target in one step, so that a failed copy leaves target as it was. The copy keeps
// nothing QSettings would decode from a data stream and holds non-ASCII text in the escapes Qt 4 readers
// understand: the Qt 4 builds of this program, on Windows too, read macro files without a codec.
bool replaceWithCopy(const QString &source, const QString &target,
                     std::optional<QFileDevice::Permissions> forcedPermissions)
{
    const std::optional<QByteArray> content = readMacroFileBytes(source);
    return content && writeMacroFileBytes(target, portableMacroFile(*content, source), forcedPermissions);
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
    const int ownIndex = MacroFileReader(target).value(macroIndexKey(), -1).toInt();
    if (!replaceWithCopy(source, target, kMacroFilePermissions))
        return;

    // The file's slot index is where the macro played on the computer it comes from; here that slot may be
    // another macro's, and a later save would download over it. The macro keeps the file's index only when no
    // other macro of the library holds it (a library restored from its own exports), otherwise its own.
    const int fileIndex = MacroFileReader(target).value(macroIndexKey(), -1).toInt();
    int index = -1;
    if (isMacroSlotIndex(fileIndex)) {
        const QString claimant = macroSlotClaimant(productNo, fileIndex, macroName);
        if (claimant.isEmpty())
            index = fileIndex;
        else
            qCDebug(lcView) << "imported slot index" << fileIndex << "is held by macro" << claimant;
    } else if (fileIndex != -1) {
        qCDebug(lcView) << "imported slot index" << fileIndex << "is no slot of the mouse";
    }
    if (index == -1 && isMacroSlotIndex(ownIndex))
        index = ownIndex;
    if (index == fileIndex)
        return;
    qCDebug(lcView) << "imported macro" << macroName << "takes slot index" << index;
    editMacroFile(target, [index](QSettings &settings) { settings.setValue(macroIndexKey(), index); });
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
