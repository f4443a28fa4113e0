#pragma once

// The recoil tables the recoil page edits: one file per game (gunData0.bin … gunData2.bin, twelve weapons of
// seven values each) and the weapon chosen for each fire key (selGunData.bin). The files are installed with
// the program; a missing one is never created, and what the page hands over is checked before anything is
// written.

#include <QVariant>
#include <QVariantList>

namespace recoilfiles {

constexpr int kGameCount = 3;
constexpr int kFireKeySlots = 3;
constexpr int kGunsPerGame = 12;
constexpr int kValuesPerGun = 7; // name, index, X, Y, times, switch, cursor return
constexpr int kGunTableValues = 84;
static_assert(kGunsPerGame * kValuesPerGun == kGunTableValues, "the page passes a game's table as 84 values");

// Game "0", "1" or "2": its twelve records; a table of another length is refused whole.
void saveTable(const QVariant &gameNo, const QVariantList &gunData);
QVariantList table(const QVariant &gameNo);

// Fire-key slot 0..2: the weapon chosen for it.
void saveSelection(const QVariant &selGun, const QVariantList &gunData);
QVariantList selection(const QVariant &selGun);

} // namespace recoilfiles
