#pragma once

// The mouse's 128-byte firmware profile block and its key-matrix block, as the view mirrors them: offsets,
// lengths and the rules the setters follow. No I/O here, so every rule can be checked byte by byte.

#include <QVariantList>
#include <QtGlobal>

#include <array>
#include <cstddef>
#include <optional>

namespace profileblock {

constexpr int kProfileCount = 6; // on-board profiles 0..5

constexpr int kSize = 128;
using Block = std::array<uchar, kSize>;
static_assert(sizeof(Block) == 128, "the mouse moves profile and key-matrix blocks of exactly 128 bytes");

// Offsets into the firmware profile block. Bytes not named here are carried unchanged.
constexpr int kOptionBits = 2;
constexpr uchar kOptionNoTwoGunLoop = 0x10; // kept by the key-matrix setter in profile 0's block
constexpr int kDpi8Io = 16;                 // palette index 0..7 per DPI stage, profile 0 only
constexpr int kDpi8IoCount = 8;
constexpr int kLed8StageColor = 24; // eight lighting colours R, G, B, profile 0 only
constexpr int kLed8StageColorCount = 24;
constexpr int kRgb = 3;
constexpr int kLedColour6 = kLed8StageColor + 5 * kRgb;
constexpr int kLedColour7 = kLed8StageColor + 6 * kRgb;
constexpr int kLedColour8 = kLed8StageColor + 7 * kRgb;
constexpr int kGunFlags = 65;
constexpr uchar kGunFlagCleared = 0x04;
constexpr uchar kGunFlagEnable = 0x08;
constexpr uchar kGunFlagCursorReturn = 0x10;
constexpr int kMaxDpiStage = 70;
constexpr int kEffect = 71; // then brightness and speed
constexpr int kLight = 72;
constexpr int kSpeed = 73;
constexpr int kEffectCount = 3;
constexpr int kGunMarker = 78;
constexpr uchar kGunMarkerValue = 0xF0;
constexpr int kTimes = 79;
constexpr int kXOffset = 80;
constexpr int kYOffset = 81;
constexpr int kDpi8Stage = 84; // eight stages in units of the DPI base, then the same eight again
constexpr int kDpi8StageCount = 16;
constexpr int kDpi8Color = 104; // indicator colour R, G, B per DPI stage
constexpr int kDpi8ColorCount = 24;

static_assert(kDpi8Io + kDpi8IoCount == kLed8StageColor, "Dpi8Io runs up to the lighting colours");
static_assert(kLedColour8 + kRgb == kLed8StageColor + kLed8StageColorCount, "colour 8 closes the colours");
static_assert(kEffect + kEffectCount == kSpeed + 1, "effect, brightness and speed are adjacent");
static_assert(kYOffset < kDpi8Stage && kDpi8Stage + kDpi8StageCount <= kDpi8Color, "no overlap");
static_assert(kDpi8Color + kDpi8ColorCount == kSize, "the DPI colours close the block");

// The key matrix: 16 keys of 4 bytes (type, then three parameters), sent padded to a full block.
constexpr int kKeyCount = 16;
constexpr int kKeyEntrySize = 4;
constexpr int kKeyMatrixSize = kKeyCount * kKeyEntrySize;
static_assert(kKeyMatrixSize == 64 && kKeyMatrixSize <= kSize, "the key matrix fills half a block");
constexpr uchar kKeyTypeGun = 0x08;
constexpr int kGunVariantByte = 2;
constexpr uchar kGunLoopSwitch = 4;
constexpr uchar kGunTwoGunLoop = 5;
constexpr uchar kGunThreeGunLoop = 6;
// The profiles that carry a gun loop: profile 1 gets the matrix the user sees, 2..4 the loop's variants.
constexpr uchar kGunMainProfile = 1;
constexpr std::array<uchar, 3> kGunLoopProfiles = {2, 3, 4};
// Key 0 of every gun-loop profile: a left-button fire key.
constexpr std::array<uchar, kKeyEntrySize> kGunLoopKey0 = {0x0A, 0xF0, 0x21, 0x00};

// The "other" values of a profile: DPI stage, report rate, LED twinkle type (profile 0's only).
constexpr int kOtherStage = 0;
constexpr int kOtherRate = 1;
constexpr int kOtherTwinkle = 2;
constexpr int kOtherMinLength = 3;

constexpr int kProfileSwLength = 4; // pointer acceleration, cursor speed, scroll lines, double-click speed

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
