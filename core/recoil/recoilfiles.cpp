#include "recoilfiles.h"

#include "corelog.h"

#include <QFile>
#include <QSettings>

#include <optional>

namespace {

using namespace recoilfiles;

const QString GunTablePrefix = QStringLiteral("./modules/gun/gunData");
const QString GunFileSuffix = QStringLiteral(".bin");
const QString SelectionPath = QStringLiteral("./modules/gun/selGunData.bin");

QString recordKey(int record)
{
    return QStringLiteral("gunData/%1").arg(record);
}

// The game number becomes part of a file name: only "0", "1" and "2" name a table.
std::optional<QString> gunTablePath(const QVariant &gameNo)
{
    const QString game = gameNo.toString();
    for (int g = 0; g < kGameCount; ++g) {
        if (game == QString::number(g))
            return GunTablePrefix + game + GunFileSuffix;
    }
    qCWarning(lcStore) << "no recoil table for game" << gameNo;
    return std::nullopt;
}

std::optional<int> fireKeySlot(const QVariant &selGun)
{
    bool ok = false;
    const int slot = selGun.toInt(&ok);
    if (ok && slot >= 0 && slot < kFireKeySlots)
        return slot;
    qCWarning(lcStore) << "no recoil selection for fire-key slot" << selGun;
    return std::nullopt;
}

// The tables are installed with the program; a missing one is never created.
bool installed(const QString &path)
{
    if (QFile::exists(path))
        return true;
    qCDebug(lcStore) << "the recoil file" << path << "is not installed";
    return false;
}

// Only a list is a record: Qt 6 would turn a lone text into a list of its characters.
QVariantList storedList(const QVariant &value)
{
    const int type = value.metaType().id();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList)
        return value.toList();
    if (value.isValid())
        qCDebug(lcStore) << "a recoil record that is not a list is passed over:" << value;
    return {};
}

void reportWrite(QSettings &file)
{
    file.sync();
    if (file.status() != QSettings::NoError)
        qCWarning(lcStore) << "the recoil file" << file.fileName() << "could not be written";
}

} // namespace

namespace recoilfiles {

void saveTable(const QVariant &gameNo, const QVariantList &gunData)
{
    const std::optional<QString> path = gunTablePath(gameNo);
    if (!path || !installed(*path))
        return;
    // A table of another length cannot be cut into the twelve records: the stored one is kept whole.
    if (gunData.size() != kGunTableValues) {
        qCWarning(lcStore) << "a recoil table of" << gunData.size() << "values is refused; it takes"
                           << kGunTableValues;
        return;
    }
    QSettings file(*path, QSettings::IniFormat);
    for (int w = 0; w < kGunsPerGame; ++w)
        file.setValue(recordKey(w), gunData.mid(w * kValuesPerGun, kValuesPerGun));
    reportWrite(file);
}

QVariantList table(const QVariant &gameNo)
{
    const std::optional<QString> path = gunTablePath(gameNo);
    if (!path || !installed(*path))
        return {};
    QSettings file(*path, QSettings::IniFormat);
    QVariantList table;
    for (int w = 0; w < kGunsPerGame; ++w)
        table.append(storedList(file.value(recordKey(w))));
    return table;
}

void saveSelection(const QVariant &selGun, const QVariantList &gunData)
{
    const std::optional<int> slot = fireKeySlot(selGun);
    if (!slot || !installed(SelectionPath))
        return;
    QSettings file(SelectionPath, QSettings::IniFormat);
    file.setValue(recordKey(*slot), gunData);
    reportWrite(file);
}

QVariantList selection(const QVariant &selGun)
{
    const std::optional<int> slot = fireKeySlot(selGun);
    if (!slot || !installed(SelectionPath))
        return {};
    QSettings file(SelectionPath, QSettings::IniFormat);
    return storedList(file.value(recordKey(*slot)));
}

} // namespace recoilfiles
