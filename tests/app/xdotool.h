#pragma once

// Driving the program's window under X with xdotool, as a user would.

#include <QPoint>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace xdo {

// Runs xdotool and returns what it printed; empty when it failed or took over 10 s.
inline QString run(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(10000))
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

// The visible windows whose title is exactly the given one (the title is a regular expression's body).
inline QStringList windowsTitled(const QString &title)
{
    return run({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                QLatin1Char('^') + title + QLatin1Char('$')})
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The window's top-left corner on the screen; far off-screen when xdotool cannot tell.
inline QPoint windowPosition(const QString &id)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+)"))
                                              .match(run({QStringLiteral("getwindowgeometry"), id}));
    return match.hasMatch() ? QPoint(match.captured(1).toInt(), match.captured(2).toInt())
                            : QPoint(-99999, -99999);
}

} // namespace xdo
