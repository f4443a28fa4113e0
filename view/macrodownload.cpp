// Turning library macros into the mouse's macro blocks and sending them (command 0FH).
#include "keys/keynamemap.h"
#include "macro/macroencoder.h"
#include "macro/macrolibrary.h"
#include "myqquickview.h"
#include "viewlog.h"

#include <QFileInfo>
#include <QMessageBox>

namespace {
constexpr uint DefaultRepeat = 1;
constexpr int MacroIdMask = 0xFF; // the mouse takes the macro ID as one byte
} // namespace

QList<uchar> myQQuickView::macroIncode(QStringList macros)
{
    return encodeMacroLines(macros, keyNameMap);
}

void myQQuickView::vesk_0FH_SetMacroKey(QVariant macroId, QVariant name)
{
    const QString macroName = name.toString();
    if (!takesDeviceEdits("vesk_0FH_SetMacroKey"))
        return;
    if (!isValidMacroName(macroName)) {
        qCWarning(lcView) << "macro download refused: not a macro name:" << macroName;
        return;
    }
    const QList<uchar> bytes = macroIncode(loadMacroIni(macroName));
    if (bytes.size() > kMacroBlockSize) {
        qCDebug(lcView) << "macro" << macroName << "encodes to" << bytes.size() << "bytes; cut";
        askWarning(tr("MACRO"), tr("Out of memory,\nsome command line has been cut."), QMessageBox::Ok,
                   QMessageBox::NoButton);
    }

    uint repeat = DefaultRepeat;
    const QString path = macroFilePath(productNo, macroName);
    if (QFileInfo(path).isFile())
        repeat = MacroFileReader(path).value(macroRepeatKey(), DefaultRepeat).toUInt();

    const MacroBlock block = macroDeviceBlock(bytes, repeat);
    if (!deviceLink) {
        qCWarning(lcView) << "macro download without a device link";
        return;
    }
    deviceLink->sendMacroKey(uchar(macroId.toInt() & MacroIdMask), block);
}
