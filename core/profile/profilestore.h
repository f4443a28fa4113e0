#pragma once

// The keys of the profile store files and the checks the view applies when it reads them.

#include <QLatin1String>
#include <QString>
#include <QVariantList>

class QSettings;

namespace profilestore {

inline constexpr QLatin1String kProfileSw{"profile_sw"};
inline constexpr QLatin1String kProfileFw{"profile_fw"};
inline constexpr QLatin1String kMatrixFw{"matrix_fw"};
inline constexpr QLatin1String kOtherFw{"other_fw"};
inline constexpr QLatin1String kCurProfileKey{"common/curProfile"};
inline constexpr QLatin1String kImportProfileKey{"common/importProfile"};

// The four per-profile groups in the order import and reset copy them.
inline constexpr QLatin1String kProfileGroups[] = {kProfileSw, kProfileFw, kMatrixFw, kOtherFw};

// "group/<profile>", "group/dirty".
QString key(QLatin1String group, int profile);
QString dirtyKey(QLatin1String group);

// A stored list: a single text reads as a list of one entry (Qt would split it into characters), anything
// missing or empty as an empty list.
QVariantList storedList(const QSettings &store, const QString &key);

// Six flags (count), whatever the file held: a list of another length has its first count entries cleared (a
// longer list keeps its tail), a shorter one is first extended.
QVariantList normalisedDirtyList(QVariantList list, int count);

// A store the settings class cannot parse would be overwritten by the first write with whatever it did make
// of it; the user's file is kept beside it first (".corrupt", ".corrupt.1", ...). An earlier copy with other
// contents is never replaced.
void keepUnparsableStore(const QSettings &store);

// "common/curProfile" when it names a profile 0..5, otherwise fallback (logged).
uchar storedCurrentProfile(const QSettings &store, uchar fallback);

// Whether group/profile is present with the length the program sends (profile_fw 128, matrix_fw 64,
// profile_sw 4, other_fw at least 3) and holds nothing but integers 0..255 (profile_sw's first entry may be
// the flag "true" or "false"). why receives the problem.
bool holdsGroup(const QSettings &file, QLatin1String group, int profile, QString *why);

// holdsGroup for the four groups of one profile; why receives the first problem found.
bool holdsCompleteProfile(const QSettings &file, int profile, QString *why);

} // namespace profilestore
