#include "macrolibrary.h"

bool isValidMacroName(const QString &name)
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.contains(QChar(u'\0'));
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
