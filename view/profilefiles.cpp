// Export, import and reset of one profile slot. They work on the working store and the mirror only: nothing
// goes to the mouse, and the dirty lists stay as they are.

#include "macro/macroini.h"
#include "myqquickview.h"
#include "profile/profileblock.h"
#include "profile/profilestore.h"
#include "viewlog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <optional>

using profilestore::key;

namespace {

// An export is a copy of the whole store, a few kilobytes; anything far larger is not one of ours.
constexpr qint64 kMaxImportSize = 1024 * 1024;

// The file's pointer settings, or where it has none the slot's defaults; nothing when the defaults lack them
// too, and the slot then keeps its own.
std::optional<QVariant> importedPointerSettings(const QSettings &file, int exported, int slot,
                                                const QString &defaultsPath)
{
    const QString k = key(profilestore::kProfileSw, exported);
    if (file.contains(k))
        return file.value(k);
    const QSettings defaults(defaultsPath, QSettings::IniFormat);
    QString why;
    if (!profilestore::holdsGroup(defaults, profilestore::kProfileSw, slot, &why)) {
        qCDebug(lcView).noquote() << "the file has no" << k << "and the defaults file" << why << "; slot"
                                  << slot << "keeps its pointer settings";
        return std::nullopt;
    }
    qCDebug(lcView).noquote() << "the file has no" << k << "; slot" << slot << "takes the default ones";
    return profilestore::storedList(defaults, key(profilestore::kProfileSw, slot));
}

// Copies the four groups of the file's profile into the slot, or refuses and leaves the store untouched.
bool importInto(QSettings &store, const QString &fileName, int slot, const QString &defaultsPath)
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
    QFile raw(fileName);
    if (!raw.open(QIODevice::ReadOnly)) {
        qCWarning(lcView) << "profile import refused:" << fileName << "cannot be read:" << raw.errorString();
        return false;
    }
    // QSettings would hand "@Variant(...)" to a data stream and make any Qt type of it, and it decodes every
    // value of a section it reads. A profile file holds numbers and flags only, so such a file is not one.
    QStringList streamed;
    iniWithoutStreamedValues(raw.read(kMaxImportSize + 1), &streamed);
    if (!streamed.isEmpty()) {
        qCWarning(lcView) << "profile import refused:" << fileName
                          << "holds values that would be decoded from a data stream:" << streamed;
        return false;
    }
    raw.close();
    const QSettings file(fileName, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        qCWarning(lcView) << "profile import refused:" << fileName << "cannot be read as a profile file"
                          << file.status();
        return false;
    }
    const int exported = file.value(profilestore::kImportProfileKey, 0).toInt();
    if (!profileblock::isProfileIndex(exported)) {
        qCWarning(lcView) << "profile import refused:" << fileName << "names" << exported << "as its profile";
        return false;
    }
    QString why;
    for (QLatin1String group : profilestore::kProfileGroups) {
        // The pointer settings are the desktop's, not the mouse's: a file without them is still a profile.
        if (group == profilestore::kProfileSw && !file.contains(key(group, exported)))
            continue;
        if (!profilestore::holdsGroup(file, group, exported, &why)) {
            qCWarning(lcView).noquote() << "profile import refused:" << fileName << "is unusable:" << why;
            return false;
        }
    }
    const std::optional<QVariant> pointer = importedPointerSettings(file, exported, slot, defaultsPath);
    for (QLatin1String group : profilestore::kProfileGroups) {
        if (group != profilestore::kProfileSw)
            store.setValue(key(group, slot), file.value(key(group, exported)));
        else if (pointer)
            store.setValue(key(group, slot), *pointer);
    }
    store.sync();
    qCDebug(lcView) << "profile" << exported << "of" << fileName << "imported into slot" << slot;
    return true;
}

// The key matrix lives in the mirror apart from the blocks, which reloadProfiles refills: without this the
// key page would show, and its next APPLY send, the matrix from before.
void reloadKeyMatrix(QVariantList &mirror, const QSettings &store, int profile)
{
    mirror = profilestore::storedList(store, key(profilestore::kMatrixFw, profile));
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
    const bool imported =
        !name.isEmpty() && importInto(*profileStore, name, profile, m_model.product.defaultsFile);
    // Also after a cancel or a refusal: the scene refreshes its pages from the mirror next.
    reloadProfiles();
    if (imported)
        reloadKeyMatrix(matrix_fw[profile], *profileStore, profile);
}

void myQQuickView::vesk_resetProfile(int profile)
{
    if (!acceptsProfile(profile, "vesk_resetProfile"))
        return;
    const QSettings defaults(m_model.product.defaultsFile, QSettings::IniFormat);
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
    reloadKeyMatrix(matrix_fw[0], *profileStore, 0);
    reloadKeyMatrix(matrix_fw[profile], *profileStore, profile);
}
