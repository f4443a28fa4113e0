#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Language files are "./modules/i18n/lang_" + a six-digit code + ".ini": three digits of Qt 4's language
// number, three of its country number (0 = any country).
namespace LanguageFiles {

constexpr int kCodeLength = 6;

// Six ASCII digits, nothing else: the code becomes part of a file name.
bool isCode(const QString &code);

// The language's file, or an empty text when code is not a language code.
QString filePath(const QString &code);

// The name of the language menu: "ENGLISH (UNITED STATES)", "ENGLISH" for country 0, and the scene's own
// short forms "CHINESE (Simp)" and "CHINESE (Trad)" for China and Taiwan.
QString menuName(int language, int country);

// Message text `index` of the loaded language (the view's message table); where no language is loaded, or
// the language lacks that text, the built-in English one, so that no box ever shows up blank.
QString message(const QStringList &table, int index);

// The language menu: menu name → code, one entry per language file with a valid name.
QVariantMap available();

// The font family, then the scene's general strings 1..font/total; msgTable receives the seven message texts.
// An invalid code gives one empty string and seven empty messages.
QStringList globalStrings(const QString &langCode, QStringList &msgTable);

// count strings of group (a model's names of the keys on its picture); empty where the file has none.
QStringList layoutStrings(const QString &langCode, QLatin1String group, int count);

} // namespace LanguageFiles
