// The recoil page's pictures: the weapons, the gun grid, its frames and the fire key buttons.

#include "gunshape.h"
#include "skin.h"
#include "skinstyle.h"

using namespace style;

namespace {

QPainterPath cornerBrackets(const QRectF &r, qreal arm)
{
    QPainterPath path;
    const auto corner = [&path, arm](QPointF at, qreal dx, qreal dy) {
        path.moveTo(at + QPointF(dx * arm, 0));
        path.lineTo(at);
        path.lineTo(at + QPointF(0, dy * arm));
    };
    corner(r.topLeft(), 1, 1);
    corner(r.topRight(), -1, 1);
    corner(r.bottomLeft(), 1, -1);
    corner(r.bottomRight(), -1, -1);
    return path;
}

QImage framedWell(QSize size, qreal arm)
{
    QImage image = paint::canvas(size);
    const QRectF all(QPointF(0, 0), QSizeF(size));
    QPainter p;
    paint::begin(p, image);
    paint::well(p, all.adjusted(2, 2, -2, -2), kPanelRadius - 2);
    p.end();
    paint::luminousOutline(image, cornerBrackets(all.adjusted(1.5, 1.5, -1.5, -1.5), arm), kAccent, 1.2, 2,
                           0.8);
    return image;
}

QImage gunGrid()
{
    const QSize size(2 * kGunGridMargin + kGunColumns * kGunCell.width() + (kGunColumns - 1) * kGunGridGap,
                     2 * kGunGridMargin + kGunRows * kGunCell.height() + (kGunRows - 1) * kGunGridGap);
    QImage image = paint::canvas(size);
    QPainter p;
    paint::begin(p, image);
    paint::plate(p, QRectF(QPointF(0, 0), QSizeF(size)), kPanelRadius, paint::rgba(kSurfaceHi, 0.97).rgba(),
                 paint::rgba(kSurfaceLo, 0.97).rgba(), kEdgeHi);
    for (int r = 0; r < kGunRows; ++r) {
        for (int c = 0; c < kGunColumns; ++c) {
            const QPointF at(kGunGridMargin + c * (kGunCell.width() + kGunGridGap),
                             kGunGridMargin + r * (kGunCell.height() + kGunGridGap));
            paint::well(p, QRectF(at, QSizeF(kGunCell)), kButtonRadius);
        }
    }
    return image;
}

QImage selectionFrame()
{
    QImage image = paint::canvas(kGunCell);
    const QRectF all(QPointF(0, 0), QSizeF(kGunCell));
    QPainter p;
    paint::begin(p, image);
    p.setPen(Qt::NoPen);
    p.setBrush(paint::rgba(kAccent, 0.08));
    p.drawPath(paint::rounded(all.adjusted(1, 1, -1, -1), kButtonRadius));
    p.end();
    paint::luminousOutline(image, paint::rounded(all.adjusted(2.5, 2.5, -2.5, -2.5), kButtonRadius), kAccent,
                           1.2, 2, 0.9);
    return image;
}

QImage fireKey(bool lit)
{
    QImage image = paint::canvas(kFireKey);
    const QRectF all(QPointF(0, 0), QSizeF(kFireKey));
    QPainter p;
    paint::begin(p, image);
    if (lit)
        paint::plate(p, all, kButtonRadius, paint::mix(kSurfaceHi, kAccentDeep, 0.55).rgba(), kSurfaceLo,
                     kAccent);
    else
        paint::plate(p, all, kButtonRadius, kSurfaceHi, kSurfaceLo, kEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? QColor::fromRgba(kAccent) : QColor::fromRgba(kIdleDim));
    p.drawRect(QRectF(10, kFireKey.height() - 4, kFireKey.width() - 20, 1.5));
    p.end();
    if (lit)
        paint::luminousOutline(image, paint::rounded(all.adjusted(0.5, 0.5, -0.5, -0.5), kButtonRadius),
                               kAccent, 1.0, 3, 0.6);
    return image;
}

} // namespace

void addGunPictures(PictureList &out)
{
    paint::add(out, QStringLiteral("gun/gunlist"), gunGrid());
    paint::add(out, QStringLiteral("gun/gunFrame"), framedWell(kGunFrame, 16));
    paint::add(out, QStringLiteral("gun/gunFrame_s"), selectionFrame());
    paint::add(out, QStringLiteral("gun/frame"), framedWell(kGunPanel, 22));
    paint::add(out, QStringLiteral("gun/fireKey"), fireKey(false));
    paint::add(out, QStringLiteral("gun/fireKey_H"), fireKey(true));
    for (int game = 0; game < kGames; ++game) {
        for (int gun = 0; gun < kGunsPerGame; ++gun)
            paint::add(out, QStringLiteral("gun/%1/%2").arg(game).arg(gun),
                       gunPicture(game, kGunShapes[game][gun]));
    }
}
