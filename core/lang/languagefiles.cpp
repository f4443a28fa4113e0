#include "languagefiles.h"

#include "corelog.h"
#include "qt4locale.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSettings>

#include <algorithm>
#include <memory>

Q_DECLARE_LOGGING_CATEGORY(lcStore)

namespace {

const QString LanguageDir = QStringLiteral("./modules/i18n/");
const QString FilePrefix = QStringLiteral("lang_");
const QString FileSuffix = QStringLiteral(".ini");
constexpr int kFileNameLength = 5 + LanguageFiles::kCodeLength + 4; // "lang_" code ".ini"

constexpr int MessageCount = 7;
// The scene indexes 145 strings; the bound keeps a damaged "font/total" from filling memory.
constexpr int MaxGeneralStrings = 1024;

// The English texts of the message table, for boxes shown before or without a language file.
constexpr const char *BuiltInMessages[MessageCount] = {
    "MACRO",      "Out of memory,\nsome command line has been cut.",
    "BACKGROUND", "This picture cannot be opened:\n",
    "WARNING",    "No other key will work as the left button.\nDo you want to go on?",
    "NOTICE",
};

constexpr int ChinaCountry = 44;
constexpr int TaiwanCountry = 208;

// A translator's unquoted comma makes the settings class read a list; the text is what was meant.
QString iniText(const QVariant &value)
{
    const int type = value.metaType().id();
    if (type != QMetaType::QStringList && type != QMetaType::QVariantList)
        return value.toString();
    QStringList parts;
    for (const QVariant &part : value.toList())
        parts.append(part.toString());
    return parts.join(QStringLiteral(", "));
}

// Language files are UTF-8, which is how Qt 6 reads every INI file.
std::unique_ptr<QSettings> openLanguageFile(const QString &langCode)
{
    const QString path = LanguageFiles::filePath(langCode);
    if (path.isEmpty()) {
        qCWarning(lcStore) << "not a language code:" << langCode;
        return nullptr;
    }
    if (!QFile::exists(path))
        qCDebug(lcStore) << "no language file" << path << "; its strings are empty";
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QString keyOf(const char *group, int index)
{
    return QStringLiteral("%1/%2").arg(QLatin1String(group)).arg(index);
}

} // namespace

bool LanguageFiles::isCode(const QString &code)
{
    if (code.size() != kCodeLength)
        return false;
    return std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString LanguageFiles::filePath(const QString &code)
{
    return isCode(code) ? LanguageDir + FilePrefix + code + FileSuffix : QString();
}

QString LanguageFiles::menuName(int language, int country)
{
    const QString name = qt4LanguageName(language).toUpper();
    switch (country) {
    case 0:
        return name;
    case ChinaCountry:
        return name + QStringLiteral(" (Simp)");
    case TaiwanCountry:
        return name + QStringLiteral(" (Trad)");
    default:
        return name + QStringLiteral(" (") + qt4CountryName(country).toUpper() + QLatin1Char(')');
    }
}

QString LanguageFiles::message(const QStringList &table, int index)
{
    const QString text = table.value(index);
    if (!text.isEmpty() || index < 0 || index >= MessageCount)
        return text;
    qCDebug(lcStore) << "message" << index
                     << "comes from no language file; the built-in English text stands in";
    return QString::fromLatin1(BuiltInMessages[index]);
}

QVariantMap LanguageFiles::available()
{
    QVariantMap languages;
    const QStringList names = QDir(LanguageDir)
                                  .entryList({FilePrefix + QLatin1Char('*') + FileSuffix}, QDir::Files,
                                             QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names) {
        const QString code = name.mid(FilePrefix.size(), LanguageFiles::kCodeLength);
        if (name.size() != kFileNameLength || !LanguageFiles::isCode(code)) {
            qCDebug(lcStore) << "passed over" << name << ": not lang_ with a six-digit code";
            continue;
        }
        const int language = code.left(3).toInt();
        const int country = code.mid(3).toInt();
        // Two files of one language and country make one entry; the later file wins.
        languages.insert(LanguageFiles::menuName(language, country), code);
    }
    return languages;
}

QStringList LanguageFiles::globalStrings(const QString &langCode, QStringList &msgTable)
{
    QStringList strings;
    msgTable.clear();
    const std::unique_ptr<QSettings> file = openLanguageFile(langCode);
    if (!file) {
        strings.append(QString());
        for (int i = 0; i < MessageCount; ++i)
            msgTable.append(QString());
        return strings;
    }

    strings.append(iniText(file->value(QStringLiteral("font/family"))));
    int total = file->value(QStringLiteral("font/total")).toInt();
    if (total > MaxGeneralStrings) {
        qCWarning(lcStore) << file->fileName() << "claims" << total << "strings; reading"
                           << MaxGeneralStrings;
        total = MaxGeneralStrings;
    }
    for (int i = 1; i <= total; ++i)
        strings.append(iniText(file->value(keyOf("strings", i))));
    for (int i = 0; i < MessageCount; ++i)
        msgTable.append(iniText(file->value(keyOf("msg", i))));
    return strings;
}

QStringList LanguageFiles::layoutStrings(const QString &langCode, QLatin1String group, int count)
{
    QStringList strings;
    const std::unique_ptr<QSettings> file = openLanguageFile(langCode);
    for (int i = 0; i < count; ++i)
        strings.append(file ? iniText(file->value(group + QLatin1Char('/') + QString::number(i)))
                            : QString());
    return strings;
}
