// The recoil page's tables (core/recoil).
#include "myqquickview.h"
#include "recoil/recoilfiles.h"

void myQQuickView::saveGundata(const QVariant &gameNo, const QVariantList &gunData)
{
    recoilfiles::saveTable(gameNo, gunData);
}

QVariantList myQQuickView::getGundata(const QVariant &gameNo)
{
    return recoilfiles::table(gameNo);
}

void myQQuickView::saveSelGundata(const QVariant &selGun, const QVariantList &gunData)
{
    recoilfiles::saveSelection(selGun, gunData);
}

QVariantList myQQuickView::getSelGundata(const QVariant &selGun)
{
    return recoilfiles::selection(selGun);
}
