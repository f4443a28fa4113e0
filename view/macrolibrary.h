#pragma once

#include <QFileDevice>
#include <QString>

// The macro library: one INI file per macro, "<name>.bin" in ./modules/macro/<productNo>/.

// Recorded macros can hold passwords typed while recording.
constexpr QFileDevice::Permissions MacroFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A name from the scene becomes part of a path. Refused: empty names, names with a path separator (or a NUL),
// and names beginning with a dot ("..", hidden files); nothing outside the library may ever be touched.
bool isValidMacroName(const QString &name);

QString macroLibraryDir(int productNo);
QString macroFilePath(int productNo, const QString &name);

// "Macro. 001" … "Macro. 999", "Macro. 1000" …
QString generatedMacroName(int n);

// The settings keys of a macro file.
inline QString macroIndexKey()
{
    return QStringLiteral("config/index");
}
inline QString macroTotalKey()
{
    return QStringLiteral("config/total");
}
inline QString macroRepeatKey()
{
    return QStringLiteral("config/repeat");
}
inline QString macroGroup()
{
    return QStringLiteral("macro");
}
inline QString macroLineKey(qsizetype i)
{
    return QStringLiteral("macro/") + QString::number(i);
}
