#include "profilestore.h"

#include "profileblock.h"

#include <QLoggingCategory>
#include <QSettings>
#include <QStringList>

Q_DECLARE_LOGGING_CATEGORY(lcView)

namespace profilestore {

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

uchar storedCurrentProfile(const QSettings &store, uchar fallback)
{
    const QVariant value = store.value(kCurProfileKey);
    if (!value.isValid())
        return 0;
    bool ok = false;
    const uint profile = value.toUInt(&ok);
    if (!ok || !profileblock::isProfileIndex(int(profile))) {
        qCWarning(lcView) << "the profile store names" << value << "as current profile; keeping profile"
                          << fallback;
        return fallback;
    }
    return uchar(profile);
}

bool holdsCompleteProfile(const QSettings &file, int profile, QString *why)
{
    struct Expected
    {
        QLatin1String group;
        int length;
        bool atLeast;
    };
    const Expected expected[] = {
        {kProfileSw, profileblock::kProfileSwLength, false},
        {kProfileFw, profileblock::kSize, false},
        {kMatrixFw, profileblock::kKeyMatrixSize, false},
        {kOtherFw, profileblock::kOtherMinLength, true},
    };
    for (const Expected &e : expected) {
        const QString k = key(e.group, profile);
        if (!file.contains(k)) {
            *why = k + QLatin1String(" is missing");
            return false;
        }
        const qsizetype n = storedList(file, k).size();
        if (e.atLeast ? n < e.length : n != e.length) {
            *why = QStringLiteral("%1 holds %2 entries instead of %3%4")
                       .arg(k)
                       .arg(n)
                       .arg(e.atLeast ? QStringLiteral("at least ") : QString())
                       .arg(e.length);
            return false;
        }
    }
    return true;
}

} // namespace profilestore
