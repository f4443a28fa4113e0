#include "profilestore.h"

#include "corelog.h"
#include "profileblock.h"

#include <QDebug>
#include <QFile>
#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <optional>

namespace profilestore {

namespace {
constexpr int kMaxCorruptCopies = 100;
} // namespace

QString key(QLatin1String group, int profile)
{
    return group + QLatin1Char('/') + QString::number(profile);
}

QString dirtyKey(QLatin1String group)
{
    return group + QLatin1String("/dirty");
}

QVariantList storedList(const QSettings &store, const QString &key)
{
    const QVariant value = store.value(key);
    switch (value.typeId()) {
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return value.toList();
    case QMetaType::UnknownType:
        return {};
    default: {
        const QString text = value.toString();
        if (text.isEmpty())
            return {};
        return {text};
    }
    }
}

QVariantList normalisedDirtyList(QVariantList list, int count)
{
    if (list.size() == count)
        return list;
    while (list.size() < count)
        list.append(false);
    for (int p = 0; p < count; ++p)
        list[p] = false;
    return list;
}

void keepUnparsableStore(const QSettings &store)
{
    QFile file(store.fileName());
    const bool unparsable =
        store.status() == QSettings::FormatError || (file.size() > 0 && store.allKeys().isEmpty());
    if (!unparsable)
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcStore) << "the profile store could not be read, nor kept aside:" << file.errorString();
        return;
    }
    const QByteArray contents = file.readAll();
    file.close();
    const QString base = store.fileName() + QStringLiteral(".corrupt");
    for (int n = 0; n < kMaxCorruptCopies; ++n) {
        const QString aside = n == 0 ? base : base + QLatin1Char('.') + QString::number(n);
        QFile existing(aside);
        if (existing.exists()) {
            if (existing.open(QIODevice::ReadOnly) && existing.readAll() == contents)
                return; // kept on an earlier start
            continue;
        }
        if (file.copy(aside))
            qCWarning(lcStore) << "the profile store could not be read; kept as" << aside;
        else
            qCWarning(lcStore) << "the profile store could not be read, nor kept aside:"
                               << file.errorString();
        return;
    }
    qCWarning(lcStore) << "the profile store could not be read; no free name to keep it aside beside" << base;
}

uchar storedCurrentProfile(const QSettings &store, uchar fallback)
{
    const QVariant value = store.value(kCurProfileKey);
    if (!value.isValid())
        return 0;
    bool ok = false;
    const uint profile = value.toUInt(&ok);
    if (!ok || !profileblock::isProfileIndex(int(profile))) {
        qCWarning(lcStore) << "the profile store names" << value << "as current profile; keeping profile"
                           << fallback;
        return fallback;
    }
    return uchar(profile);
}

namespace {

constexpr int kMaxByte = 255;

struct GroupShape
{
    QLatin1String group;
    int length;
    bool atLeast;
};

constexpr GroupShape kShapes[] = {
    {kProfileSw, profileblock::kProfileSwLength, false},
    {kProfileFw, profileblock::kSize, false},
    {kMatrixFw, profileblock::kKeyMatrixSize, false},
    {kOtherFw, profileblock::kOtherMinLength, true},
};

// A file's entry is text; QSettings hands back the typed value only for what this process wrote itself.
// Anything else (a byte array, a point, ...) is not one of ours.
std::optional<qlonglong> integerEntry(const QVariant &entry)
{
    bool ok = false;
    qlonglong n = 0;
    switch (entry.typeId()) {
    case QMetaType::QString:
        n = entry.toString().toLongLong(&ok);
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        n = entry.toLongLong(&ok);
        break;
    default:
        break;
    }
    return ok ? std::optional<qlonglong>(n) : std::nullopt;
}

bool isFlagText(const QVariant &entry)
{
    if (entry.typeId() == QMetaType::Bool)
        return true;
    const QString text = entry.typeId() == QMetaType::QString ? entry.toString().trimmed() : QString();
    return text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}

// Every entry is a byte, except that the pointer settings begin with the acceleration flag. (Their indices
// above 10 are read as 10, so a byte is in range there too.)
bool entryInRange(QLatin1String group, int index, const QVariant &entry)
{
    if (group == kProfileSw && index == 0 && isFlagText(entry))
        return true;
    const std::optional<qlonglong> n = integerEntry(entry);
    return n && *n >= 0 && *n <= kMaxByte;
}

} // namespace

bool holdsGroup(const QSettings &file, QLatin1String group, int profile, QString *why)
{
    const GroupShape *shape = std::find_if(std::begin(kShapes), std::end(kShapes),
                                           [group](const GroupShape &s) { return s.group == group; });
    if (shape == std::end(kShapes)) {
        *why = group + QLatin1String(" is not a profile group");
        return false;
    }
    const QString k = key(group, profile);
    if (!file.contains(k)) {
        *why = k + QLatin1String(" is missing");
        return false;
    }
    const QVariantList list = storedList(file, k);
    const qsizetype n = list.size();
    if (shape->atLeast ? n < shape->length : n != shape->length) {
        *why = QStringLiteral("%1 holds %2 entries instead of %3%4")
                   .arg(k)
                   .arg(n)
                   .arg(shape->atLeast ? QStringLiteral("at least ") : QString())
                   .arg(shape->length);
        return false;
    }
    for (int i = 0; i < n; ++i) {
        if (!entryInRange(group, i, list.at(i))) {
            QString shown;
            QDebug(&shown) << list.at(i);
            shown.truncate(80);
            *why = QStringLiteral("entry %1 of %2 is %3, not a value the mouse or the program takes")
                       .arg(i)
                       .arg(k, shown);
            return false;
        }
    }
    return true;
}

bool holdsCompleteProfile(const QSettings &file, int profile, QString *why)
{
    return std::all_of(std::begin(kShapes), std::end(kShapes),
                       [&](const GroupShape &s) { return holdsGroup(file, s.group, profile, why); });
}

} // namespace profilestore
