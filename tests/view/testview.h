#pragma once

#include "myqquickview.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The view with its questions to the user answered by the test, or, with realDialogs, shown for real.
class TestView : public myQQuickView
{
public:
    bool realDialogs = false;
    int cutWarnings = 0;
    int openDialogs = 0;
    int saveDialogs = 0;
    QString openAnswer;
    QString saveAnswer;

protected:
    QMessageBox::StandardButton askWarning(const QString &title, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override
    {
        if (realDialogs)
            return myQQuickView::askWarning(title, text, buttons, defaultButton);
        ++cutWarnings;
        return QMessageBox::Ok;
    }
    QString askOpenFileName(const QString &caption, const QString &directory, const QString &filter) override
    {
        if (realDialogs)
            return myQQuickView::askOpenFileName(caption, directory, filter);
        ++openDialogs;
        return openAnswer;
    }
    QString askSaveFileName(const QString &caption, const QString &directory, const QString &filter) override
    {
        if (realDialogs)
            return myQQuickView::askSaveFileName(caption, directory, filter);
        ++saveDialogs;
        return saveAnswer;
    }
};

namespace macrotest {

inline const QString Library = QStringLiteral("modules/macro/1/");

inline QString libraryFile(const QString &name)
{
    return Library + name + QStringLiteral(".bin");
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// Owner, group and other bits: what "ls -l" shows (the "user" bits describe whoever runs the test).
inline QFileDevice::Permissions modeBits(const QString &path)
{
    return QFile::permissions(path) & QFileDevice::Permissions(0x7077);
}

constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace macrotest
