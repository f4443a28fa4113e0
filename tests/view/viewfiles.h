#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>

// Files of the program's data tree, relative to the current folder (a TestRunFolder).
inline void putFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file as the program ships it (the source tree's modules/).
inline QByteArray shippedFile(const QString &relative)
{
    return fileBytes(QStringLiteral(VESK_SHIPPED_MODULES "/") + relative);
}

inline QStringList texts(const QVariantList &values)
{
    QStringList result;
    for (const QVariant &value : values)
        result.append(value.toString());
    return result;
}
