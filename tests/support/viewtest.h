#pragma once

// Shared by the view's tests: a view whose file dialogs the test answers, the store files, the virtual mouse
// connected the way the device check connects it, and the commands read back from its wire log. Header only:
// it needs the view, which only the tests that link the program's view have.

#include "bytes.h"
#include "devicelink.h"
#include "files.h"
#include "macro/macrolibrary.h"
#include "ms_ht66fb560.h"
#include "myqquickview.h"
#include "testrunfolder.h"
#include "vmouse.h"
#include "wire.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStringList>

// The view with its questions to the user answered by the test, or, with realDialogs, shown for real.
class TestView : public myQQuickView
{
public:
    bool realDialogs = false;
    int cutWarnings = 0;
    int openDialogs = 0;
    int saveDialogs = 0;
    QString openAnswer;
    QString saveAnswer;

protected:
    QMessageBox::StandardButton askWarning(const QString &title, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override
    {
        if (realDialogs)
            return myQQuickView::askWarning(title, text, buttons, defaultButton);
        ++cutWarnings;
        return QMessageBox::Ok;
    }
    QString askOpenFileName(const QString &caption, const QString &directory, const QString &filter) override
    {
        if (realDialogs)
            return myQQuickView::askOpenFileName(caption, directory, filter);
        ++openDialogs;
        return openAnswer;
    }
    QString askSaveFileName(const QString &caption, const QString &directory, const QString &filter) override
    {
        if (realDialogs)
            return myQQuickView::askSaveFileName(caption, directory, filter);
        ++saveDialogs;
        return saveAnswer;
    }
};

namespace macrotest {

inline const QString Library = macroLibraryDir(kSupportedModel.product.productNumber);

inline QString libraryFile(const QString &name)
{
    return Library + name + QStringLiteral(".bin");
}

} // namespace macrotest

namespace viewtest {

using namespace support;

// The product's stores, relative to the run folder.
inline const QString kStorePath = QString(kSupportedModel.product.storeFile);
inline const QString kDefaultsPath = QString(kSupportedModel.product.defaultsFile);

// A run folder with the shipped working store and defaults (or the given store text).
inline void installStores(const QByteArray &store = QByteArray())
{
    writeFile(kStorePath, store.isNull() ? shippedFile(QStringLiteral("setting/p_Vesk.bin")) : store);
    writeFile(kDefaultsPath, shippedFile(QStringLiteral("setting/pD_Vesk.bin")));
}

inline QString storeText(myQQuickView &view, const QString &section, const QString &key)
{
    view.profileStore->sync();
    return iniText(readFile(kStorePath), section, key);
}

// A list as the working store holds it now.
inline QVariantList storedValue(myQQuickView &view, const QString &key)
{
    return view.profileStore->value(key).toList();
}

// "1, 2, 3" as the settings class writes a list.
inline QString listText(const QVariantList &list)
{
    QStringList parts;
    for (const QVariant &v : list)
        parts.append(v.toString());
    return parts.join(QStringLiteral(", "));
}

// 128 (or count) distinct-looking bytes.
inline QVariantList pattern(int seed, int count = 128)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list.append((i * 7 + seed) & 0xFF);
    return list;
}

inline QVariantList asInts(const QVariantList &list)
{
    QVariantList out;
    for (const QVariant &v : list)
        out.append(v.toInt());
    return out;
}

inline vmouse::Block toVmouse(const QVariantList &list)
{
    vmouse::Block block{};
    for (int i = 0; i < int(block.size()) && i < list.size(); ++i)
        block[std::size_t(i)] = std::uint8_t(list.at(i).toInt());
    return block;
}

inline QByteArray hexOf(const vmouse::Block &block)
{
    return hex(block);
}
inline QByteArray hexOf(const QVariantList &list)
{
    return hexOf(toVmouse(list));
}

// The window's device link over the virtual mouse.
struct MouseLink
{
    MS_HT66FB560 ms;
    DeviceLink link{ms};
};

// Waits until everything asked of the view's link has reached the mouse and its results the view (a failed
// command's check, and the reading that may follow it, included).
inline bool settle(myQQuickView &view)
{
    QDeadlineTimer deadline(30000);
    for (;;) {
        if (view.deviceLink && !view.deviceLink->waitUntilIdle(int(deadline.remainingTime())))
            return false;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if ((!view.deviceLink || view.deviceLink->isIdle()) && !view.isCheckingDevice())
            return true;
        if (deadline.hasExpired())
            return false;
    }
}

// A device check of the view through its link, as the window runs it; returns once it has ended.
inline bool checkDevice(myQQuickView &view)
{
    view.checkDevice(kSupportedModel.product.deviceListEntry, wire::virtualMouseEntry());
    return settle(view);
}

// The view found the virtual mouse and read it, through its own link.
inline bool connectVirtualMouse(MouseLink &mouse, myQQuickView &view)
{
    view.setDeviceLink(&mouse.link);
    const bool read = checkDevice(view) && view.deviceConnected;
    vmouse::clearWireLog();
    return read;
}

// One command as the mouse saw it: the frame that went out, whether it was answered, and the data phase.
struct Command
{
    QByteArray frame;
    bool ok = true;
    QByteArray data;

    uchar opcode() const { return uchar(frame.at(1)); }
    uchar param() const { return uchar(frame.at(2)); }
    // "0C:1" — opcode and first parameter.
    QString name() const
    {
        return QStringLiteral("%1:%2")
            .arg(int(opcode()), 2, 16, QLatin1Char('0'))
            .toUpper()
            .arg(int(param()));
    }
};

// The commands on the wire; with a view, once everything it asked of its link has gone out.
inline QList<Command> commands(myQQuickView *view = nullptr)
{
    QList<Command> out;
    // Everything asked of the link has reached the wire first.
    if (view && !settle(*view))
        qWarning("the device link did not settle");
    for (const vmouse::WireRecord &r : vmouse::wireLog()) {
        if (r.path != vmouse::kCommandPath)
            continue;
        const QByteArray bytes(reinterpret_cast<const char *>(r.bytes.data()), int(r.bytes.size()));
        if (r.kind == vmouse::WireKind::FeatureOut) {
            out.append(Command{bytes, r.ok, {}});
        } else if (out.isEmpty()) {
            continue;
        } else if (r.kind == vmouse::WireKind::FeatureIn) {
            out.last().ok = out.last().ok && r.ok;
        } else if (r.kind == vmouse::WireKind::OutputReport) {
            out.last().data += bytes.mid(1); // without the report ID
        } else if (r.kind == vmouse::WireKind::InputReport) {
            out.last().data += bytes;
        }
    }
    return out;
}

inline QString commandNames(const QList<Command> &list)
{
    QStringList names;
    for (const Command &c : list)
        names.append(c.name());
    return names.join(QLatin1Char(' '));
}

} // namespace viewtest
