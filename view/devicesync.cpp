// The GUI side of the device link: checks asked for and ended, the mirror brought up to date after each, and
// what the scene is told. When the mouse is present it is the source of truth and the store receives what it
// reported; when it is absent (or does not answer) the mirror comes from the store. Nothing is written to the
// mouse here.

#include "myqquickview.h"
#include "profile/profileblock.h"
#include "profile/profilestore.h"
#include "viewlog.h"

#include <QList>
#include <QSettings>

using namespace profileblock;

namespace {

// What the scene shows when a command did not reach the mouse (its strings follow the design's list).
enum class Notice { NotReached = 0, NoMouse = 1, NotAnswering = 2 };

QVariantList toList(const DataBlock &bytes)
{
    QVariantList list;
    list.reserve(int(bytes.size()));
    for (uchar b : bytes)
        list.append(int(b));
    return list;
}

// The "other" values as the mirror keeps them: stage, rate, twinkle type (profile 0's only), then zeros.
QVariantList otherList(const ProfileReading &profile, uchar twinkle)
{
    DataBlock other{};
    other[kOtherStage] = profile.stage;
    other[kOtherRate] = profile.rate;
    other[kOtherTwinkle] = twinkle;
    return toList(other);
}

} // namespace

void myQQuickView::setDeviceLink(DeviceLink *link)
{
    if (deviceLink)
        disconnect(deviceLink, nullptr, this, nullptr);
    deviceLink = link;
    if (!link)
        return;
    connect(link, &DeviceLink::checked, this, &myQQuickView::deviceCheckDone);
    connect(link, &DeviceLink::notSent, this, &myQQuickView::commandsNotSent);
}

void myQQuickView::checkDevice(int index, const DeviceInfo &entry, bool read)
{
    m_checkIndex = index;
    m_checkEntry = entry;
    m_checkReads = read;
    if (!deviceLink) {
        qCWarning(lcView) << "device check without a device link; the mouse counts as absent";
        deviceCheckDone(DeviceCheck{});
        return;
    }
    if (m_checksPending++ == 0)
        setSceneBusy(true);
    deviceLink->check(index, entry, read);
}

void myQQuickView::deviceCheckDone(const DeviceCheck &result)
{
    deviceConnected = result.connected();
    if (result.afterFailedSend) {
        if (result.connected()) {
            // The mouse is still there but holds less than the mirror says: read it again, so that the pages
            // show what it really holds. The commands asked for meanwhile have gone out before this reading.
            checkDevice(m_checkIndex, m_checkEntry, m_checkReads);
        } else {
            // Gone or wedged: the pages stay as they are, the mirror comes from the store as without a mouse.
            syncWithDevice(std::nullopt);
            m_firmwareVersion = QStringLiteral("unknown");
            invokeScene("deviceSynced", {false});
        }
        Q_EMIT deviceCheckEnded(result);
        return;
    }

    syncWithDevice(result.reading);
    m_firmwareVersion =
        result.connected() && result.reading ? result.reading->firmwareVersion : QStringLiteral("unknown");
    if (result.connected())
        m_noMouseNoticed = false;
    else if (result.found())
        invokeScene("deviceNotice", {int(Notice::NotAnswering)});
    if (m_checksPending > 0 && --m_checksPending == 0)
        setSceneBusy(false);
    invokeScene("deviceSynced", {result.connected()});
    // The first time the mouse is read (at start or later), the scene takes its configuration and values;
    // until then it showed the built-in strings and the store's values.
    if (result.connected() && !m_sceneInitialised) {
        m_sceneInitialised = true;
        initUI();
    }
    Q_EMIT deviceCheckEnded(result);
}

void myQQuickView::commandsNotSent(const QStringList &commands, DeviceLink::Failure why)
{
    qCDebug(lcView).noquote() << "not on the mouse:" << commands.join(QStringLiteral(", ")) << why;
    switch (why) {
    case DeviceLink::Failure::Failed:
        invokeScene("deviceNotice", {int(Notice::NotReached)});
        break;
    case DeviceLink::Failure::NotAnswering:
        invokeScene("deviceNotice", {int(Notice::NotAnswering)});
        break;
    case DeviceLink::Failure::NoMouse:
        // Said once while the mouse is away, not at every click.
        if (!m_noMouseNoticed)
            invokeScene("deviceNotice", {int(Notice::NoMouse)});
        m_noMouseNoticed = true;
        break;
    }
}

void myQQuickView::setSceneBusy(bool busy)
{
    // Direct: the scene must rest before the next click is handled.
    invokeScene("setDeviceBusy", {busy}, Qt::DirectConnection);
}

bool myQQuickView::takesDeviceEdits(const char *operation) const
{
    if (m_checksPending == 0)
        return true;
    // The reading under way would overwrite the change in the mirror while the mouse received it.
    qCDebug(lcView) << operation << "refused: the mouse is being read";
    return false;
}

void myQQuickView::syncWithDevice(const std::optional<MouseReading> &reading)
{
    if (!reading || !reading->currentProfile) {
        reloadProfiles();
        // A first start without the mouse has never filled the key matrix; the store's is the best there is.
        if (matrix_fw[0].isEmpty())
            matrix_fw[0] =
                profilestore::storedList(*profileStore, profilestore::key(profilestore::kMatrixFw, 0));
        return;
    }

    const uchar reported = *reading->currentProfile;
    const uchar current = syncedCurrentProfile(curProfile, reported);
    if (current != reported)
        qCWarning(lcView) << "the mouse names" << reported << "as current profile; keeping profile"
                          << curProfile;
    if (current != curProfile) {
        curProfile = current;
        profileStore->setValue(profilestore::kCurProfileKey, int(curProfile));
    }

    const int read = int(reading->profiles.size());
    for (int p = 0; p < kProfileCount; ++p) {
        if (p < read) {
            const ProfileReading &profile = reading->profiles.at(p);
            profile_fw[p] = toList(profile.block);
            other_fw[p] = otherList(profile, p == 0 ? reading->twinkle : uchar(0));
            storeProfile(p);
        } else {
            // Not read: the user's stored profile stays as it is.
            reloadProfile(p);
        }
    }
    if (read < kProfileCount)
        qCWarning(lcView) << "profiles" << read << "to" << (kProfileCount - 1)
                          << "could not be read from the mouse; the stored ones are kept";
    // The key matrices are not read from the mouse: profile 0's comes from the store.
    matrix_fw[0] = profilestore::storedList(*profileStore, profilestore::key(profilestore::kMatrixFw, 0));
}

bool myQQuickView::hasProfileData()
{
    for (int p = 0; p < kProfileCount; ++p) {
        if (profile_fw[p].size() < kSize || other_fw[p].size() < kOtherMinLength)
            return false;
    }
    return matrix_fw[0].size() >= kKeyMatrixSize;
}

QString myQQuickView::vesk_80H_GetFWVersion()
{
    return m_firmwareVersion;
}
