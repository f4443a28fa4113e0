#include "lang/languagefiles.h"
#include "myqquickview.h"
#include "settings/settingsfile.h"
#include "viewlog.h"

#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString TotalKey = QStringLiteral("common/total");

// The global-settings page keeps 32 entries; the bound keeps a damaged "common/total" from filling memory.
constexpr int MaxConfigEntries = 1024;

// Message-table entries of the two boxes.
constexpr int PictureTitleMsg = 2;
constexpr int PictureTextMsg = 3;
constexpr int ConfirmTitleMsg = 4;
constexpr int ConfirmTextMsg = 5;

QString configKey(int entry)
{
    return QStringLiteral("common/%1").arg(entry);
}

} // namespace

QVariantList myQQuickView::loadApConfig()
{
    QVariantList apConfigs;
    int total = apConfigStore->value(TotalKey).toInt();
    if (total > MaxConfigEntries) {
        qCWarning(lcView) << "the application configuration claims" << total << "entries; reading"
                          << MaxConfigEntries;
        total = MaxConfigEntries;
    }
    for (int i = 0; i < total; ++i)
        apConfigs.append(apConfigStore->value(configKey(i), 0));
    return apConfigs;
}

void myQQuickView::saveApConfig(const QVariantList &apConfigs)
{
    // Keys of a longer earlier list stay: loading stops at the total.
    apConfigStore->setValue(TotalKey, int(apConfigs.size()));
    for (int i = 0; i < apConfigs.size(); ++i)
        apConfigStore->setValue(configKey(i), apConfigs.at(i));
}

void myQQuickView::resetApconfig()
{
    const QString workingPath = apConfigStore->fileName();
    QFile defaults(m_model.product.configDefaultsFile);
    if (!defaults.open(QIODevice::ReadOnly)) {
        qCWarning(lcView) << "the configuration defaults cannot be read, the configuration is kept:"
                          << defaults.errorString();
        return;
    }
    const QByteArray content = defaults.readAll();

    // Flushed and released before the file is replaced, so that nothing of it is written over the defaults.
    apConfigStore->sync();
    delete apConfigStore;
    apConfigStore = nullptr;
    const settingsfile::Stamp before = settingsfile::stampOf(workingPath);

    // The working file is replaced in one step: a failed write leaves the old configuration as it was.
    QSaveFile working(workingPath);
    if (!working.open(QIODevice::WriteOnly) || working.write(content) != content.size() || !working.commit())
        qCWarning(lcView) << "the configuration could not be reset, the old one is kept:"
                          << working.errorString();
    else
        settingsfile::markReplaced(workingPath, before);

    apConfigStore = new QSettings(m_model.product.configFile, QSettings::IniFormat, this);
}

QVariant myQQuickView::vesk_getApConfig(const QString &key)
{
    return apConfigStore->value(m_model.product.name + QLatin1Char('/') + key, 0);
}

QString myQQuickView::getCustomFilePath()
{
    const QString start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString path = askOpenFileName(tr("Open File"), start, tr("Image Files(*.png)"));
    if (path.isEmpty())
        return path;

    QFile picture(path);
    if (!picture.open(QIODevice::ReadOnly)) {
        qCDebug(lcView) << "the background picture" << path << "cannot be read:" << picture.errorString();
        askWarning(tr("%1").arg(LanguageFiles::message(msgTable, PictureTitleMsg)),
                   QStringLiteral("%1%2").arg(LanguageFiles::message(msgTable, PictureTextMsg), path),
                   QMessageBox::Ok, QMessageBox::NoButton);
        return QString();
    }
    return path;
}

bool myQQuickView::getMsgAns_FoolProofing()
{
    // Cancel is the default and the answer of Escape and of the close button: only OK goes on.
    const QMessageBox::StandardButton answer =
        askWarning(tr("%1").arg(LanguageFiles::message(msgTable, ConfirmTitleMsg)),
                   QStringLiteral("%1").arg(LanguageFiles::message(msgTable, ConfirmTextMsg)),
                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    return answer == QMessageBox::Ok;
}
