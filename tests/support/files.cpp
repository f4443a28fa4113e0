#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace support {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray readFileOrMissing(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        // A file the test made read-only is replaced, not written through.
        QFile::remove(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
    }
    return file.write(bytes) == bytes.size();
}

QString shippedPath(const QString &relative)
{
    return QStringLiteral(VESK_SHIPPED_MODULES "/") + relative;
}

QByteArray shippedFile(const QString &relative)
{
    return readFile(shippedPath(relative));
}

QString iniText(const QByteArray &file, const QString &section, const QString &key)
{
    QString current;
    for (const QString &line : QString::fromUtf8(file).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2);
        } else if (current == section && line.startsWith(key + QLatin1Char('='))) {
            return line.mid(key.size() + 1);
        }
    }
    return QString();
}

QFileDevice::Permissions modeBits(const QString &path)
{
    return QFile::permissions(path) & QFileDevice::Permissions(0x7077);
}

QStringList texts(const QVariantList &values)
{
    QStringList result;
    for (const QVariant &value : values)
        result.append(value.toString());
    return result;
}

} // namespace support
