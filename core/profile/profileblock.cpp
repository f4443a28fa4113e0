#include "profileblock.h"

#include <QMetaType>

#include <algorithm>
#include <cmath>

namespace profileblock {

uchar byteOf(const QVariant &value)
{
    // The scene hands over JavaScript numbers; converting a huge or non-finite double straight to an integer
    // is undefined, so doubles are reduced by hand.
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float) {
        const double d = std::trunc(value.toDouble());
        if (!std::isfinite(d))
            return 0;
        return uchar(static_cast<long long>(std::fmod(d, 256.0)) & 0xFF);
    }
    return uchar(value.toLongLong() & 0xFF);
}

QVariantList padded(QVariantList list, int length)
{
    list.reserve(length);
    while (list.size() < length)
        list.append(0);
    return list;
}

QVariantList slice(const QVariantList &list, int offset, int count)
{
    QVariantList out;
    out.reserve(count);
    for (int i = offset; i < offset + count; ++i)
        out.append(i < list.size() ? list.at(i) : QVariant(0));
    return out;
}

void assign(QVariantList &list, int offset, const QVariantList &src, int count)
{
    list = padded(list, kSize);
    for (int i = 0; i < count; ++i)
        list[offset + i] = src.at(i);
}

Block toBlock(const QVariantList &list)
{
    Block block{};
    const int n = std::min<int>(kSize, int(list.size()));
    for (int i = 0; i < n; ++i)
        block[std::size_t(i)] = byteOf(list.at(i));
    return block;
}

void applyLed8StageColor(QVariantList &block, const QVariantList &src24)
{
    assign(block, kLed8StageColor, src24, kLed8StageColorCount);
    // The mouse shows only six distinct lighting colours; slots 7 and 8 must mirror slot 6.
    for (int c = 0; c < kRgb; ++c) {
        block[kLedColour7 + c] = block.at(kLedColour6 + c);
        block[kLedColour8 + c] = block.at(kLedColour6 + c);
    }
}

void applyPressGun(QVariantList &block, const PressGun &gun)
{
    block = padded(block, kSize);
    block[kGunMarker] = int(kGunMarkerValue);
    block[kTimes] = int(gun.times);
    block[kXOffset] = int(gun.xOffset);
    block[kYOffset] = int(gun.yOffset);
    uchar flags = byteOf(block.at(kGunFlags));
    flags &= uchar(~kGunFlagCleared);
    flags = gun.enable ? uchar(flags | kGunFlagEnable) : uchar(flags & ~kGunFlagEnable);
    flags = gun.cursorReturn ? uchar(flags | kGunFlagCursorReturn) : uchar(flags & ~kGunFlagCursorReturn);
    block[kGunFlags] = int(flags);
}

KeyMatrixPlan planKeyMatrix(const QVariantList &src64)
{
    KeyMatrixPlan plan;
    const int n = std::min<int>(kKeyMatrixSize, int(src64.size()));
    for (int i = 0; i < n; ++i)
        plan.main[std::size_t(i)] = byteOf(src64.at(i));
    for (int key = 0; key < kKeyCount; ++key)
        plan.hasGunKeys = plan.hasGunKeys || plan.main[std::size_t(key * kKeyEntrySize)] == kKeyTypeGun;
    if (!plan.hasGunKeys)
        return plan;

    plan.gunLoop.fill(plan.main);
    // The firmware runs a gun loop by switching profiles: profile 1 keeps the key that starts the loop (or
    // none), profiles 2..4 carry the loop's own variant of it.
    for (int key = 0; key < kKeyCount; ++key) {
        const std::size_t at = std::size_t(key * kKeyEntrySize);
        if (plan.main[at] != kKeyTypeGun)
            continue;
        const uchar variant = plan.main[at + kGunVariantByte];
        if (variant == kGunLoopSwitch) {
            plan.main[at + kGunVariantByte] = 1;
            for (Block &g : plan.gunLoop)
                g[at + kGunVariantByte] = 0;
        } else if (variant == kGunTwoGunLoop || variant == kGunThreeGunLoop) {
            std::fill_n(plan.main.begin() + std::ptrdiff_t(at), kKeyEntrySize, uchar(0));
            for (Block &g : plan.gunLoop)
                g[at + kGunVariantByte] = 3;
            plan.hasTwoGunLoop = plan.hasTwoGunLoop || variant == kGunTwoGunLoop;
        }
    }
    for (Block &g : plan.gunLoop)
        std::copy(kGunLoopKey0.begin(), kGunLoopKey0.end(), g.begin());
    return plan;
}

uchar keyMatrixOptionBits(uchar optionBits, bool hasTwoGunLoop)
{
    return hasTwoGunLoop ? uchar(optionBits & ~kOptionNoTwoGunLoop) : uchar(optionBits | kOptionNoTwoGunLoop);
}

uchar syncedCurrentProfile(uchar current, std::optional<uchar> reported)
{
    if (!reported || !isProfileIndex(*reported))
        return current;
    return *reported;
}

} // namespace profileblock
