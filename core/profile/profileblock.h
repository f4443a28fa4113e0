#pragma once

// The mouse's 128-byte firmware profile block and its key-matrix block, as the view mirrors them: offsets,
// lengths and the rules the setters follow. No I/O here, so every rule can be checked byte by byte.

#include "model/mousemodel.h"
#include "wire/frame.h"

#include <QVariantList>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

namespace profileblock {

// The layout the view's accessors follow: the supported model's. The names below are its values.
inline constexpr const ProfileLayout &kLayout = kSupportedModel.layout;

constexpr int kProfileCount = kLayout.profileCount;

constexpr int kSize = kLayout.blockSize;
using Block = std::array<uchar, kBlockSize>;
static_assert(kSize == int(kBlockSize), "the mouse moves profile and key-matrix blocks of exactly 128 bytes");

// Offsets into the firmware profile block. Bytes not named here are carried unchanged.
constexpr int kOptionBits = kLayout.optionBits;
constexpr uchar kOptionNoTwoGunLoop = kLayout.optionNoTwoGunLoop;
constexpr int kDpi8Io = kLayout.dpi8Io;
constexpr int kDpi8IoCount = kLayout.dpi8IoCount;
constexpr int kLed8StageColor = kLayout.led8StageColor;
constexpr int kLed8StageColorCount = kLayout.led8StageColorCount;
constexpr int kRgb = 3;
constexpr int kLedColour6 = kLed8StageColor + 5 * kRgb;
constexpr int kLedColour7 = kLed8StageColor + 6 * kRgb;
constexpr int kLedColour8 = kLed8StageColor + 7 * kRgb;
static_assert(kLedColour8 + kRgb == kLed8StageColor + kLed8StageColorCount, "colour 8 closes the colours");
constexpr int kGunFlags = kLayout.gunFlags;
constexpr uchar kGunFlagCleared = kLayout.gunFlagCleared;
constexpr uchar kGunFlagEnable = kLayout.gunFlagEnable;
constexpr uchar kGunFlagCursorReturn = kLayout.gunFlagCursorReturn;
constexpr int kMaxDpiStage = kLayout.maxDpiStage;
constexpr int kEffect = kLayout.effect;
constexpr int kLight = kLayout.light();
constexpr int kSpeed = kLayout.speed();
constexpr int kEffectCount = kLayout.effectCount;
constexpr int kGunMarker = kLayout.gunMarker;
constexpr uchar kGunMarkerValue = kLayout.gunMarkerValue;
constexpr int kTimes = kLayout.times;
constexpr int kXOffset = kLayout.xOffset;
constexpr int kYOffset = kLayout.yOffset;
constexpr int kDpi8Stage = kLayout.dpi8Stage;
constexpr int kDpi8StageCount = kLayout.dpi8StageCount;
constexpr int kDpi8Color = kLayout.dpi8Color;
constexpr int kDpi8ColorCount = kLayout.dpi8ColorCount;

// The key matrix: 16 keys of 4 bytes (type, then three parameters), sent padded to a full block.
constexpr int kKeyCount = kLayout.keyCount;
constexpr int kKeyEntrySize = kLayout.keyEntrySize;
constexpr int kKeyMatrixSize = kLayout.keyMatrixSize();
constexpr uchar kKeyTypeGun = kLayout.keyTypeGun;
constexpr int kGunVariantByte = kLayout.gunVariantByte;
constexpr uchar kGunLoopSwitch = kLayout.gunLoopSwitch;
constexpr uchar kGunTwoGunLoop = kLayout.gunTwoGunLoop;
constexpr uchar kGunThreeGunLoop = kLayout.gunThreeGunLoop;
// The profiles that carry a gun loop: profile 1 gets the matrix the user sees, 2..4 the loop's variants.
constexpr uchar kGunMainProfile = kLayout.gunMainProfile;
constexpr std::array<uchar, 3> kGunLoopProfiles = kLayout.gunLoopProfiles;
// Key 0 of every gun-loop profile: a left-button fire key.
constexpr std::array<uchar, kKeyEntrySize> kGunLoopKey0 = kLayout.gunLoopKey0;

// The "other" values of a profile: DPI stage, report rate, LED twinkle type (profile 0's only).
constexpr int kOtherStage = kLayout.otherStage;
constexpr int kOtherRate = kLayout.otherRate;
constexpr int kOtherTwinkle = kLayout.otherTwinkle;
constexpr int kOtherMinLength = kLayout.otherMinLength;

constexpr int kProfileSwLength = kLayout.profileSwLength;

constexpr bool isProfileIndex(int profile)
{
    return profile >= 0 && profile < kProfileCount;
}

// The byte a list entry stands for: its unsigned integer value, low byte kept.
uchar byteOf(const QVariant &value);

// The list with zeros appended up to length; a longer list is returned whole.
QVariantList padded(QVariantList list, int length);

// count entries from offset, zeros where the list is short.
QVariantList slice(const QVariantList &list, int offset, int count);

// Replaces count entries from offset with the first count of src; list is first padded to a full block.
void assign(QVariantList &list, int offset, const QVariantList &src, int count);

// The 128 bytes to send for a mirror list; missing entries send 0.
Block toBlock(const QVariantList &list);

// Writes the eight lighting colours into a block list; colours 7 and 8 always repeat colour 6.
void applyLed8StageColor(QVariantList &block, const QVariantList &src24);

struct PressGun
{
    uchar xOffset = 0;
    uchar yOffset = 0;
    uchar times = 0;
    bool enable = false;
    bool cursorReturn = false;
};
void applyPressGun(QVariantList &block, const PressGun &gun);

// What the key-matrix setter sends. Without gun keys only main goes out, to the current profile; with them
// profile 0's option bit changes, main goes to profile 1 and gunLoop[i] to kGunLoopProfiles[i].
struct KeyMatrixPlan
{
    bool hasGunKeys = false;
    bool hasTwoGunLoop = false;
    Block main{};
    std::array<Block, 3> gunLoop{};
};
KeyMatrixPlan planKeyMatrix(const QVariantList &src64);

// Profile 0's option byte after a key matrix with gun keys.
uchar keyMatrixOptionBits(uchar optionBits, bool hasTwoGunLoop);

// The current profile after the mouse answered (or not): a value outside 0..5 is not a profile.
uchar syncedCurrentProfile(uchar current, std::optional<uchar> reported);

} // namespace profileblock
