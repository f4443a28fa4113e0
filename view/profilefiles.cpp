// Export, import and reset of one profile slot. They work on the working store and the mirror only: nothing
// goes to the mouse, and the dirty lists stay as they are.

#include "myqquickview.h"
#include "profilestore.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QSettings>

Q_DECLARE_LOGGING_CATEGORY(lcView)

using profilestore::key;

namespace {

// An export is a copy of the whole store, a few kilobytes; anything far larger is not one of ours.
constexpr qint64 kMaxImportSize = 1024 * 1024;

// Copies the four groups of the file's profile into the slot, or refuses and leaves the store untouched.
bool importInto(QSettings &store, const QString &fileName, int slot)
{
    const QFileInfo info(fileName);
    // Only a regular file: reading a FIFO or a device would block or never end.
    if (!info.isFile()) {
        qCWarning(lcView) << "profile import refused:" << fileName << "is not a regular file";
        return false;
    }
    if (info.size() > kMaxImportSize) {
        qCWarning(lcView) << "profile import refused:" << fileName << "holds" << info.size()
                          << "bytes, more than" << kMaxImportSize;
        return false;
    }
    const QSettings file(fileName, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        qCWarning(lcView) << "profile import refused:" << fileName << "cannot be read as a profile file"
                          << file.status();
        return false;
    }
    const int exported = file.value(profilestore::kImportProfileKey, 0).toInt();
    QString why;
    if (!profilestore::holdsCompleteProfile(file, exported, &why)) {
        qCWarning(lcView).noquote() << "profile import refused:" << fileName << "is incomplete:" << why;
        return false;
    }
    for (QLatin1String group : profilestore::kProfileGroups)
        store.setValue(key(group, slot), file.value(key(group, exported)));
    store.sync();
    qCDebug(lcView) << "profile" << exported << "of" << fileName << "imported into slot" << slot;
    return true;
}

} // namespace

void myQQuickView::vesk_saveProfile(int profile)
{
    if (!acceptsProfile(profile, "vesk_saveProfile"))
        return;
    const QString name = askSaveFileName(tr("Save File"), desktopFolder(), tr("Profile(*.pf)"));
    if (name.isEmpty())
        return;

    profileStore->setValue(profilestore::kImportProfileKey, profile);
    profileStore->sync();
    if (profileStore->status() == QSettings::AccessError) {
        qCWarning(lcView) << "profile export refused: the profile store cannot be written";
        return;
    }
    QFile source(profileStore->fileName());
    if (!source.open(QIODevice::ReadOnly)) {
        qCWarning(lcView) << "profile export failed: cannot read the store:" << source.errorString();
        return;
    }
    const QByteArray bytes = source.readAll();
    // Written beside the chosen name and moved over it only when complete: a failed export never costs the
    // user the file that was there.
    QSaveFile target(name);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit()) {
        qCWarning(lcView) << "profile export to" << name << "failed:" << target.errorString();
        return;
    }
    qCDebug(lcView) << "profile" << profile << "exported to" << name;
}

void myQQuickView::vesk_loadProfile(int profile)
{
    if (!acceptsProfile(profile, "vesk_loadProfile"))
        return;
    const QString name = askOpenFileName(tr("Open File"), desktopFolder(), tr("Profile(*.pf)"));
    if (!name.isEmpty())
        importInto(*profileStore, name, profile);
    // Also after a cancel or a refusal: the scene refreshes its pages from the mirror next.
    reloadProfiles();
}

void myQQuickView::vesk_resetProfile(int profile)
{
    if (!acceptsProfile(profile, "vesk_resetProfile"))
        return;
    const QSettings defaults(profilestore::kDefaultsPath, QSettings::IniFormat);
    QString why;
    // Without complete defaults a reset would write empty values over the user's profile.
    if (!profilestore::holdsCompleteProfile(defaults, 0, &why) ||
        !profilestore::holdsCompleteProfile(defaults, profile, &why)) {
        qCWarning(lcView).noquote() << "reset of profile" << profile << "refused: the defaults file" << why;
        return;
    }
    // Profile 0 carries what all profiles share, so it is reset together with every slot.
    for (QLatin1String group : profilestore::kProfileGroups) {
        profileStore->setValue(key(group, 0), profilestore::storedList(defaults, key(group, 0)));
        profileStore->setValue(key(group, profile), profilestore::storedList(defaults, key(group, profile)));
    }
    profileStore->sync();
    reloadProfiles();
}
