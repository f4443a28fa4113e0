// The profile mirror: the store operations and every accessor of the firmware profile block.
//
// Getters never talk to the mouse. Setters change the mirror list, persist it through their dirty operation,
// then send. What the scene hands over is checked first: a profile index outside 0..5 or a list shorter than
// its documented length is refused with a debug message, and the setter then changes and sends nothing (the
// mouse must never receive zeros the user did not choose). A mirror list shorter than its length (a short
// line in the store) reads as if padded with zeros and is padded when a setter changes it.

#include "myqquickview.h"
#include "profile/profileblock.h"
#include "profile/profilestore.h"
#include "viewlog.h"

#include <QSettings>

using namespace profileblock;
using profilestore::dirtyKey;
using profilestore::key;

namespace {

bool acceptsList(const QVariantList &src, int length, const char *operation)
{
    if (src.size() >= length)
        return true;
    qCDebug(lcView) << operation << "refused: a list of" << src.size() << "entries instead of" << length;
    return false;
}

// The dirty lists hold at least six flags after construction; a list shrunk since is extended, not indexed
// past its end.
void markDirty(QVariantList &dirty, int profile)
{
    while (dirty.size() <= profile)
        dirty.append(false);
    dirty[profile] = true;
}

// A dirty operation writes the whole mirror list over the stored one; a list that was never filled (or only
// partly) would wipe what the store holds.
bool holdsFullList(const QVariantList &list, int length, const char *operation, int profile)
{
    if (list.size() >= length)
        return true;
    qCDebug(lcView) << operation << "refused: the list of profile" << profile << "holds" << list.size()
                    << "entries, not" << length << "; the store keeps its own";
    return false;
}

} // namespace

bool myQQuickView::acceptsProfile(int profile, const char *operation) const
{
    if (isProfileIndex(profile))
        return true;
    qCDebug(lcView).nospace() << operation << " refused: " << profile << " is not a profile (0 to "
                              << (kProfileCount - 1) << ")";
    return false;
}

QVariantList myQQuickView::vesk_getDefaultProfile(QString key, uchar profileId)
{
    if (!acceptsProfile(profileId, "vesk_getDefaultProfile"))
        return {};
    const QSettings defaults(m_model.product.defaultsFile, QSettings::IniFormat);
    return profilestore::storedList(defaults, key + QLatin1Char('/') + QString::number(profileId));
}

void myQQuickView::vesk_SetDirty_Profile(uchar profileId)
{
    // With the mouse present its block is read back on the next connection; without it the change stays in
    // memory only.
    if (!deviceConnected || !acceptsProfile(profileId, "vesk_SetDirty_Profile"))
        return;
    if (!holdsFullList(profile_fw[profileId], kSize, "vesk_SetDirty_Profile", profileId))
        return;
    markDirty(profileDirty, profileId);
    profileStore->setValue(dirtyKey(profilestore::kProfileFw), profileDirty);
    profileStore->setValue(key(profilestore::kProfileFw, profileId), profile_fw[profileId]);
}

void myQQuickView::vesk_SetDirty_Matrix(uchar profileId)
{
    if (!acceptsProfile(profileId, "vesk_SetDirty_Matrix"))
        return;
    if (!holdsFullList(matrix_fw[profileId], kKeyMatrixSize, "vesk_SetDirty_Matrix", profileId))
        return;
    markDirty(matrixDirty, profileId);
    profileStore->setValue(dirtyKey(profilestore::kMatrixFw), matrixDirty);
    profileStore->setValue(key(profilestore::kMatrixFw, profileId), matrix_fw[profileId]);
}

void myQQuickView::vesk_SetDirty_Other(uchar profileId)
{
    // The mouse's own stage and rate are read back on connection; only changes made without it are kept.
    if (deviceConnected || !acceptsProfile(profileId, "vesk_SetDirty_Other"))
        return;
    if (!holdsFullList(other_fw[profileId], kOtherMinLength, "vesk_SetDirty_Other", profileId))
        return;
    markDirty(otherDirty, profileId);
    profileStore->setValue(dirtyKey(profilestore::kOtherFw), otherDirty);
    profileStore->setValue(key(profilestore::kOtherFw, profileId), other_fw[profileId]);
}

void myQQuickView::reloadProfile(int profile)
{
    profile_fw[profile] = profilestore::storedList(*profileStore, key(profilestore::kProfileFw, profile));
    other_fw[profile] = profilestore::storedList(*profileStore, key(profilestore::kOtherFw, profile));
}

void myQQuickView::reloadProfiles()
{
    curProfile = profilestore::storedCurrentProfile(*profileStore, curProfile);
    for (int p = 0; p < kProfileCount; ++p)
        reloadProfile(p);
}

void myQQuickView::storeProfile(int profile)
{
    profileStore->setValue(key(profilestore::kProfileFw, profile), profile_fw[profile]);
    profileStore->setValue(key(profilestore::kOtherFw, profile), other_fw[profile]);
}

void myQQuickView::storeAllProfiles()
{
    for (int p = 0; p < kProfileCount; ++p)
        storeProfile(p);
}

bool myQQuickView::holdsProfileBlock(int profile, const char *operation) const
{
    if (profile_fw[profile].size() >= kSize)
        return true;
    qCDebug(lcView) << operation << "refused: the mirror holds" << profile_fw[profile].size()
                    << "bytes of profile" << profile << "'s block, not" << kSize;
    return false;
}

void myQQuickView::sendProfileBlock(uchar profile)
{
    if (!deviceLink) {
        qCDebug(lcView) << "0CH for profile" << profile << "not sent: no device link";
        return;
    }
    deviceLink->sendFwProfile(profile, toBlock(profile_fw[profile]));
}

void myQQuickView::sendKeyMatrix(uchar profile, const std::array<uchar, 128> &block)
{
    if (!deviceLink) {
        qCDebug(lcView) << "0DH for profile" << profile << "not sent: no device link";
        return;
    }
    deviceLink->sendKeyMatrix(profile, block);
}

uint myQQuickView::vesk_GetMaxDpiStage()
{
    if (!acceptsProfile(curProfile, "vesk_GetMaxDpiStage"))
        return 0;
    return byteOf(slice(profile_fw[curProfile], kMaxDpiStage, 1).constFirst());
}

void myQQuickView::vesk_02H_SetCurrentProfile(uchar profileId)
{
    if (!acceptsProfile(profileId, "vesk_02H_SetCurrentProfile") ||
        !takesDeviceEdits("vesk_02H_SetCurrentProfile"))
        return;
    curProfile = profileId;
    profileStore->setValue(profilestore::kCurProfileKey, int(profileId));
    if (deviceLink)
        deviceLink->sendCurrentProfile(profileId);
}

void myQQuickView::vesk_03H_SetReportRate(uchar rate)
{
    const uchar p = curProfile;
    if (!acceptsProfile(p, "vesk_03H_SetReportRate") || !takesDeviceEdits("vesk_03H_SetReportRate"))
        return;
    other_fw[p] = padded(other_fw[p], kOtherMinLength);
    other_fw[p][kOtherRate] = int(rate);
    vesk_SetDirty_Other(p);
    if (deviceLink)
        deviceLink->sendReportRate(rate, p);
}

void myQQuickView::vesk_04H_SetDPIStage(uchar stage)
{
    const uchar p = curProfile;
    if (!acceptsProfile(p, "vesk_04H_SetDPIStage") || !takesDeviceEdits("vesk_04H_SetDPIStage"))
        return;
    other_fw[p] = padded(other_fw[p], kOtherMinLength);
    other_fw[p][kOtherStage] = int(stage);
    vesk_SetDirty_Other(p);
    if (deviceLink)
        deviceLink->sendDpiStage(stage, p);
}

void myQQuickView::vesk_0CH_SetRGBLedEffect(uchar effect, uchar light, uchar speed)
{
    const uchar p = curProfile;
    if (!acceptsProfile(p, "vesk_0CH_SetRGBLedEffect") || !takesDeviceEdits("vesk_0CH_SetRGBLedEffect") ||
        !holdsProfileBlock(p, "vesk_0CH_SetRGBLedEffect"))
        return;
    assign(profile_fw[p], kEffect, {int(effect), int(light), int(speed)}, kEffectCount);
    vesk_SetDirty_Profile(p);
    sendProfileBlock(p);
}

void myQQuickView::vesk_0CH_SetDpi8Color(QVariantList src24)
{
    const uchar p = curProfile;
    if (!acceptsProfile(p, "vesk_0CH_SetDpi8Color") ||
        !acceptsList(src24, kDpi8ColorCount, "vesk_0CH_SetDpi8Color") ||
        !takesDeviceEdits("vesk_0CH_SetDpi8Color") || !holdsProfileBlock(p, "vesk_0CH_SetDpi8Color"))
        return;
    assign(profile_fw[p], kDpi8Color, src24, kDpi8ColorCount);
    vesk_SetDirty_Profile(p);
    sendProfileBlock(p);
}

void myQQuickView::vesk_0CH_SetDpi8Io(QVariantList src8)
{
    // The palette indices live in profile 0's block whichever profile is current.
    if (!acceptsList(src8, kDpi8IoCount, "vesk_0CH_SetDpi8Io") || !takesDeviceEdits("vesk_0CH_SetDpi8Io") ||
        !holdsProfileBlock(0, "vesk_0CH_SetDpi8Io"))
        return;
    assign(profile_fw[0], kDpi8Io, src8, kDpi8IoCount);
    vesk_SetDirty_Profile(0);
    sendProfileBlock(0);
}

void myQQuickView::vesk_0CH_SetDpi8Stage(QVariantList src16)
{
    const uchar p = curProfile;
    if (!acceptsProfile(p, "vesk_0CH_SetDpi8Stage") ||
        !acceptsList(src16, kDpi8StageCount, "vesk_0CH_SetDpi8Stage") ||
        !takesDeviceEdits("vesk_0CH_SetDpi8Stage") || !holdsProfileBlock(p, "vesk_0CH_SetDpi8Stage"))
        return;
    assign(profile_fw[p], kDpi8Stage, src16, kDpi8StageCount);
    vesk_SetDirty_Profile(p);
    sendProfileBlock(p);
}

void myQQuickView::vesk_0CH_SetPressGun(uchar xOffset, uchar yOffset, uchar times, bool enable,
                                        bool cursor_return, uchar profileId)
{
    if (!acceptsProfile(profileId, "vesk_0CH_SetPressGun") || !takesDeviceEdits("vesk_0CH_SetPressGun") ||
        !holdsProfileBlock(profileId, "vesk_0CH_SetPressGun"))
        return;
    applyPressGun(profile_fw[profileId], PressGun{xOffset, yOffset, times, enable, cursor_return});
    vesk_SetDirty_Profile(profileId);
    sendProfileBlock(profileId);
}

void myQQuickView::vesk_0DH_SetKeyMatrix(QVariantList src64)
{
    if (!acceptsProfile(curProfile, "vesk_0DH_SetKeyMatrix") ||
        !acceptsList(src64, kKeyMatrixSize, "vesk_0DH_SetKeyMatrix") ||
        !takesDeviceEdits("vesk_0DH_SetKeyMatrix"))
        return;
    const KeyMatrixPlan plan = planKeyMatrix(src64);
    // Gun keys change profile 0's option bit, which goes out with its whole block.
    if (plan.hasGunKeys && !holdsProfileBlock(0, "vesk_0DH_SetKeyMatrix"))
        return;
    matrix_fw[0] = src64.mid(0, kKeyMatrixSize);
    vesk_SetDirty_Matrix(0);

    if (!plan.hasGunKeys) {
        sendKeyMatrix(curProfile, plan.main);
        return;
    }
    // The option bit is the mouse's business only: it changes in the mirror but is not persisted here.
    profile_fw[0][kOptionBits] =
        int(keyMatrixOptionBits(byteOf(profile_fw[0].at(kOptionBits)), plan.hasTwoGunLoop));
    sendProfileBlock(0);
    sendKeyMatrix(kGunMainProfile, plan.main);
    for (std::size_t i = 0; i < kGunLoopProfiles.size(); ++i)
        sendKeyMatrix(kGunLoopProfiles[i], plan.gunLoop[i]);
}

void myQQuickView::vesk_SetLED8StageColor(QVariantList src24)
{
    if (!acceptsList(src24, kLed8StageColorCount, "vesk_SetLED8StageColor") ||
        !takesDeviceEdits("vesk_SetLED8StageColor") || !holdsProfileBlock(0, "vesk_SetLED8StageColor"))
        return;
    applyLed8StageColor(profile_fw[0], src24);
    vesk_SetDirty_Profile(0);
    sendProfileBlock(0);
}

uchar myQQuickView::vesk_82H_GetCurrentProfile()
{
    return curProfile;
}

uchar myQQuickView::vesk_83H_GetReportRate()
{
    if (!acceptsProfile(curProfile, "vesk_83H_GetReportRate"))
        return 0;
    return byteOf(slice(other_fw[curProfile], kOtherRate, 1).constFirst());
}

uchar myQQuickView::vesk_84H_GetDPIStage()
{
    if (!acceptsProfile(curProfile, "vesk_84H_GetDPIStage"))
        return 0;
    return byteOf(slice(other_fw[curProfile], kOtherStage, 1).constFirst());
}

uchar myQQuickView::vesk_89H_GetRGBLedTwinkle()
{
    return byteOf(slice(other_fw[0], kOtherTwinkle, 1).constFirst());
}

QVariantList myQQuickView::vesk_8CH_GetRGBLedEffect()
{
    if (!acceptsProfile(curProfile, "vesk_8CH_GetRGBLedEffect"))
        return {};
    return slice(profile_fw[curProfile], kEffect, kEffectCount);
}

QVariantList myQQuickView::vesk_8CH_GetDpi8Color()
{
    if (!acceptsProfile(curProfile, "vesk_8CH_GetDpi8Color"))
        return {};
    return slice(profile_fw[curProfile], kDpi8Color, kDpi8ColorCount);
}

QVariantList myQQuickView::vesk_8CH_GetDpi8Io()
{
    return slice(profile_fw[0], kDpi8Io, kDpi8IoCount);
}

QVariantList myQQuickView::vesk_8CH_GetDpi8Stage()
{
    if (!acceptsProfile(curProfile, "vesk_8CH_GetDpi8Stage"))
        return {};
    return slice(profile_fw[curProfile], kDpi8Stage, kDpi8StageCount);
}

QVariantList myQQuickView::vesk_GetLED8StageColor()
{
    return slice(profile_fw[0], kLed8StageColor, kLed8StageColorCount);
}
