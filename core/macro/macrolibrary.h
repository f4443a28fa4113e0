#pragma once

#include "model/mousemodel.h"

#include <QFileDevice>
#include <QSettings>
#include <QString>
#include <QTemporaryFile>

#include <functional>
#include <memory>
#include <optional>

// The macro library: one INI file per macro, "<name>.bin" in ./modules/macro/<productNo>/.

// Recorded macros can hold passwords typed while recording.
constexpr QFileDevice::Permissions kMacroFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// The mouse's macro slots: a macro whose "config/index" is i plays from macro ID i + 1.
constexpr int kMacroSlotCount = kSupportedModel.layout.macroSlotCount;
// A file that claims more lines than this is damaged: the mouse plays 63 events at most.
constexpr int kMaxMacroLines = 4096;
// Far beyond any macro; a bigger file is not one.
constexpr qint64 kMaxMacroFileBytes = 4 * 1024 * 1024;
// What a file system takes as one file name, in bytes, extension included.
constexpr int kMaxFileNameBytes = 255;

// A name from the scene becomes part of a path. Refused: empty names, names with a path separator, a control
// character or a line break, names beginning with a dot ("..", hidden files) and names whose file name is too
// long for the file system; nothing outside the library may ever be touched.
bool isValidMacroName(const QString &name);

QString macroLibraryDir(int productNo);
QString macroFilePath(int productNo, const QString &name);

inline bool isMacroSlotIndex(int index)
{
    return index >= 0 && index < kMacroSlotCount;
}

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

// The bytes of a macro file, at most kMaxMacroFileBytes; nullopt (logged) when it cannot be read or is
// bigger.
std::optional<QByteArray> readMacroFileBytes(const QString &path);

// Replaces path with content in one step; an existing file keeps its permissions unless permissions are
// given, a new one is owner-only.
bool writeMacroFileBytes(const QString &path, const QByteArray &content,
                         std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// The content as it may leave this program or be given to QSettings: values QSettings would decode from a
// data stream dropped, non-ASCII text in the escapes Qt 4 readers understand. `origin` names the file in the
// log.
QByteArray portableMacroFile(const QByteArray &content, const QString &origin);

// Reading a macro file through QSettings without decoding what a macro file cannot be trusted with: a file
// holding such values is read from a private copy without them; a file that cannot be read reads as empty.
class MacroFileReader
{
public:
    explicit MacroFileReader(const QString &path);
    QVariant value(const QString &key, const QVariant &fallback = {}) const;

private:
    std::unique_ptr<QTemporaryFile> m_copy;
    std::unique_ptr<QSettings> m_settings;
};

// The library macro other than `except` whose "config/index" is `index`; empty when there is none.
QString macroSlotClaimant(int productNo, int index, const QString &except);

// Changes a macro file through QSettings, which reads every value of a file it writes: the file loses the
// values it must not decode first, and its values go back in the escapes Qt 4 readers understand afterwards.
// False, logged, when the file cannot be read or written.
bool editMacroFile(const QString &path, const std::function<void(QSettings &)> &edit);
