#include "macrolibrary.h"

#include "corelog.h"
#include "macroini.h"
#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool isValidMacroName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')) || !name.isValidUtf16())
        return false;
    for (const QChar c : name) {
        const QChar::Category category = c.category();
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || category == QChar::Other_Control ||
            category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            return false;
    }
    return QFile::encodeName(name + QStringLiteral(".bin")).size() <= kMaxFileNameBytes;
}

QString macroLibraryDir(int productNo)
{
    return QStringLiteral("./modules/macro/") + QString::number(productNo) + QLatin1Char('/');
}

QString macroFilePath(int productNo, const QString &name)
{
    return macroLibraryDir(productNo) + name + QStringLiteral(".bin");
}

QString generatedMacroName(int n)
{
    return QStringLiteral("Macro. %1").arg(n, 3, 10, QLatin1Char('0'));
}

std::optional<QByteArray> readMacroFileBytes(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        qCDebug(lcStore) << path << "is no macro file";
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcStore) << "cannot read" << path << file.errorString();
        return std::nullopt;
    }
    QByteArray content = file.read(kMaxMacroFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcStore) << "cannot read" << path << file.errorString();
        return std::nullopt;
    }
    if (content.size() > kMaxMacroFileBytes) {
        qCDebug(lcStore) << path << "is bigger than any macro file; not read";
        return std::nullopt;
    }
    return content;
}

bool writeMacroFileBytes(const QString &path, const QByteArray &content,
                         std::optional<QFileDevice::Permissions> permissions)
{
    const settingsfile::Stamp before = settingsfile::stampOf(path);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        qCWarning(lcStore) << "cannot write" << path << out.errorString();
        return false;
    }
    if (permissions)
        out.setPermissions(*permissions);
    else if (!before.exists)
        out.setPermissions(kMacroFilePermissions);
    // Until the commit the file stays as it was.
    if (out.write(content) != content.size() || !out.commit()) {
        qCWarning(lcStore) << "cannot replace" << path << out.errorString();
        return false;
    }
    // QSettings would take a file of the same size and time stamp for the one it read before.
    settingsfile::markReplaced(path, before);
    return true;
}

QByteArray portableMacroFile(const QByteArray &content, const QString &origin)
{
    QStringList dropped;
    const QByteArray safe = iniWithoutStreamedValues(content, &dropped);
    if (!dropped.isEmpty())
        qCDebug(lcStore) << origin
                         << "holds values that would be decoded from a data stream; dropped:" << dropped;
    return iniWithQt4Escapes(safe);
}

MacroFileReader::MacroFileReader(const QString &path)
{
    const std::optional<QByteArray> content = readMacroFileBytes(path);
    if (!content)
        return;
    QStringList refused;
    const QByteArray safe = iniWithoutStreamedValues(*content, &refused);
    if (refused.isEmpty()) {
        m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
        return;
    }
    // QSettings decodes every value of a section it reads; the refused ones must never reach it.
    qCDebug(lcStore) << path
                     << "holds values that would be decoded from a data stream; read without:" << refused;
    m_copy = std::make_unique<QTemporaryFile>();
    if (!m_copy->open() || m_copy->write(safe) != safe.size() || !m_copy->flush()) {
        qCWarning(lcStore) << "no private copy of" << path << "could be made; it reads as empty";
        return;
    }
    m_copy->close();
    m_settings = std::make_unique<QSettings>(m_copy->fileName(), QSettings::IniFormat);
}

QVariant MacroFileReader::value(const QString &key, const QVariant &fallback) const
{
    return m_settings ? m_settings->value(key, fallback) : fallback;
}

bool editMacroFile(const QString &path, const std::function<void(QSettings &)> &edit)
{
    const std::optional<QByteArray> before = readMacroFileBytes(path);
    if (!before)
        return false;
    QStringList dropped;
    const QByteArray safe = iniWithoutStreamedValues(*before, &dropped);
    if (!dropped.isEmpty()) {
        qCDebug(lcStore) << path << "loses values that would be decoded from a data stream:" << dropped;
        if (!writeMacroFileBytes(path, safe))
            return false;
    }
    {
        QSettings settings(path, QSettings::IniFormat);
        edit(settings);
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            qCWarning(lcStore) << "macro file not written:" << path;
            return false;
        }
    }
    // Qt 6 writes non-ASCII text as UTF-8, which Qt 4 readers without a codec take for Latin-1.
    const std::optional<QByteArray> written = readMacroFileBytes(path);
    if (!written)
        return false;
    const QByteArray escaped = iniWithQt4Escapes(*written);
    return escaped == *written || writeMacroFileBytes(path, escaped);
}

QString macroSlotClaimant(int productNo, int index, const QString &except)
{
    const QDir dir(macroLibraryDir(productNo));
    const QStringList files =
        dir.entryList({QStringLiteral("*.bin")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &file : files) {
        const QString name = file.chopped(4);
        if (name != except && MacroFileReader(dir.filePath(file)).value(macroIndexKey(), -1).toInt() == index)
            return name;
    }
    return {};
}
