// After every device check the mirror is brought up to date: from the mouse when it is present (and the store
// then receives what it reported), from the store when it is not. Nothing is written to the mouse here.

#include "ms_ht66fb560.h"
#include "myqquickview.h"
#include "profileblock.h"
#include "profilestore.h"

#include <QList>
#include <QLoggingCategory>
#include <QSettings>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcView)

using namespace profileblock;

namespace {

// What one profile's reads produced: the block and the "other" values, in the length the mirror keeps.
struct ProfileReading
{
    Block block{};
    Block other{};
    bool ok = true;
};

ProfileReading readProfile(MS_HT66FB560 &mouse, uchar profile)
{
    ProfileReading r;
    // Each read runs even when an earlier one failed, so the wire shows the same sequence either way.
    r.ok = mouse.hid_8CH_GetFwProfile(profile, r.block.data()) && r.ok;
    r.ok = mouse.hid_84H_GetDPIStage(r.other[kOtherStage], profile) && r.ok;
    r.ok = mouse.hid_83H_GetReportRate(r.other[kOtherRate], profile) && r.ok;
    // The twinkle type is global to the mouse and lives with profile 0.
    if (profile == 0)
        r.ok = mouse.hid_89H_GetRGBLedTwinkle(r.other[kOtherTwinkle]) && r.ok;
    return r;
}

QVariantList toList(const Block &bytes)
{
    QVariantList list;
    list.reserve(int(bytes.size()));
    for (uchar b : bytes)
        list.append(int(b));
    return list;
}

} // namespace

void myQQuickView::syncWithDevice()
{
    if (!deviceConnected || !protocol) {
        if (deviceConnected)
            qCWarning(lcView) << "mouse reported present without a device link; reloading from the store";
        reloadProfiles();
        // A first start without the mouse has never filled the key matrix; the store's is the best there is.
        if (matrix_fw[0].isEmpty())
            matrix_fw[0] =
                profilestore::storedList(*profileStore, profilestore::key(profilestore::kMatrixFw, 0));
        return;
    }

    uchar reported = curProfile;
    const bool currentOk = protocol->hid_82H_GetCurrentProfile(reported);
    const uchar current =
        syncedCurrentProfile(curProfile, currentOk ? std::optional<uchar>(reported) : std::nullopt);
    if (currentOk && current != reported)
        qCWarning(lcView) << "the mouse names" << reported << "as current profile; keeping profile"
                          << curProfile;
    if (current != curProfile) {
        curProfile = current;
        profileStore->setValue(profilestore::kCurProfileKey, int(curProfile));
    }

    QList<int> failed;
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileReading r = readProfile(*protocol, uchar(p));
        if (!r.ok) {
            // A read that failed returns nothing worth keeping; the user's stored profile stays as it is.
            failed.append(p);
            reloadProfile(p);
            continue;
        }
        profile_fw[p] = toList(r.block);
        other_fw[p] = toList(r.other);
    }
    if (failed.isEmpty()) {
        storeAllProfiles();
    } else {
        qCWarning(lcView) << "profiles" << failed
                          << "could not be read from the mouse; the stored ones are kept";
        for (int p = 0; p < kProfileCount; ++p) {
            if (!failed.contains(p))
                storeProfile(p);
        }
    }
    // The key matrices are not read from the mouse: profile 0's comes from the store.
    matrix_fw[0] = profilestore::storedList(*profileStore, profilestore::key(profilestore::kMatrixFw, 0));
}
