// The top and bottom bars, the profile menu and the function menu with its icons.

#include "skin.h"
#include "skinstyle.h"

#include <QtMath>

using namespace style;

namespace {

QPainterPath polygonPath(const QPolygonF &poly)
{
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

// A bar across the window with a tab for the logo or the two buttons; `contour` is its edge towards the
// scene.
QImage barPicture(QSize size, const QPainterPath &shape, const QPainterPath &contour, quint32 seed)
{
    QImage image = paint::canvas(size);
    QPainter p;
    paint::begin(p, image);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor::fromRgba(kSurfaceHi));
    fill.setColorAt(1, QColor::fromRgba(kSurfaceLo));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    p.end();
    paint::grain(image, seed, kGrain);

    QLinearGradient light(0, 0, size.width(), 0);
    light.setColorAt(0, paint::rgba(kAccent, 0.25));
    light.setColorAt(0.35, paint::rgba(kAccent, 0.7));
    light.setColorAt(0.5, QColor::fromRgba(kAccent));
    light.setColorAt(0.65, paint::rgba(kAccent, 0.7));
    light.setColorAt(1, paint::rgba(kAccent, 0.25));
    paint::glow(
        image,
        [&](QPainter &g) {
            g.setPen(QPen(QBrush(light), 2.5));
            g.drawPath(contour);
        },
        kGlowRadius, kGlowStrength);
    paint::begin(p, image);
    p.setPen(QPen(QBrush(light), 1.2));
    p.drawPath(contour);
    return image;
}

void ventSlits(QPainter &p, qreal x, qreal y, int count, qreal dir)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(kIdleDim));
    for (int i = 0; i < count; ++i) {
        const qreal left = x + dir * i * 9;
        p.drawPolygon(QPolygonF(
            {QPointF(left, y), QPointF(left + 5, y), QPointF(left + 2, y + 6), QPointF(left - 3, y + 6)}));
    }
}

QImage topBar()
{
    const qreal band = kTopBand;
    const QRectF tab(kTopTab);
    QPainterPath shape = paint::rounded(QRectF(0, 0, kTopBar.width(), band + kWindowRadius), kWindowRadius)
                             .intersected(polygonPath(QRectF(0, 0, kTopBar.width(), band)));
    const qreal bottom = tab.bottom() - 6;
    shape = shape.united(
        polygonPath(QPolygonF({QPointF(tab.left(), band - 1), QPointF(tab.right(), band - 1),
                               QPointF(tab.right() - 24, bottom), QPointF(tab.left() + 24, bottom)})));
    QPainterPath contour;
    contour.moveTo(0, band - 0.5);
    contour.lineTo(tab.left(), band - 0.5);
    contour.lineTo(tab.left() + 24, bottom - 0.5);
    contour.lineTo(tab.right() - 24, bottom - 0.5);
    contour.lineTo(tab.right(), band - 0.5);
    contour.lineTo(kTopBar.width(), band - 0.5);
    QImage image = barPicture(kTopBar, shape, contour, kSeed + 3);
    QPainter p;
    paint::begin(p, image);
    ventSlits(p, tab.left() - 20, 11, 5, -1);
    ventSlits(p, tab.right() + 17, 11, 5, 1);
    return image;
}

QImage bottomBar()
{
    const qreal top = kBottomBar.height() - kBottomBand;
    const QRectF tab(kBottomTab);
    QPainterPath shape =
        paint::rounded(QRectF(0, top - kWindowRadius, kBottomBar.width(), kBottomBand + kWindowRadius),
                       kWindowRadius)
            .intersected(polygonPath(QRectF(0, top, kBottomBar.width(), kBottomBand)));
    shape =
        shape.united(polygonPath(QPolygonF({QPointF(tab.left(), top + 1), QPointF(tab.left() + 24, 2),
                                            QPointF(tab.right() - 24, 2), QPointF(tab.right(), top + 1)})));
    QPainterPath contour;
    contour.moveTo(0, top + 0.5);
    contour.lineTo(tab.left(), top + 0.5);
    contour.lineTo(tab.left() + 24, 2.5);
    contour.lineTo(tab.right() - 24, 2.5);
    contour.lineTo(tab.right(), top + 0.5);
    contour.lineTo(kBottomBar.width(), top + 0.5);
    QImage image = barPicture(kBottomBar, shape, contour, kSeed + 4);
    QPainter p;
    paint::begin(p, image);
    ventSlits(p, tab.left() - 24, top + 12, 6, -1);
    ventSlits(p, tab.right() + 21, top + 12, 6, 1);
    return image;
}

void gear(QPainter &p, const QColor &ink, const QRectF &box)
{
    const QPointF c = box.center();
    const qreal outer = box.width() * 0.46;
    const qreal inner = box.width() * 0.34;
    QPolygonF teeth;
    const int count = 8;
    for (int i = 0; i < count; ++i) {
        const qreal a = i * 2 * M_PI / count;
        const qreal half = M_PI / count;
        const qreal angles[4] = {a - half * 0.95, a - half * 0.45, a + half * 0.45, a + half * 0.95};
        const qreal radii[4] = {inner, outer, outer, inner};
        for (int k = 0; k < 4; ++k)
            teeth << c + QPointF(std::cos(angles[k]) * radii[k], std::sin(angles[k]) * radii[k]);
    }
    QPainterPath hole;
    hole.addEllipse(c, box.width() * 0.15, box.width() * 0.15);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(polygonPath(teeth).subtracted(hole));
}

void closeMark(QPainter &p, const QColor &ink, const QRectF &box)
{
    const QPointF c = box.center();
    const qreal r = box.width() * 0.42;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.3));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    const qreal d = r * 0.45;
    p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    p.drawLine(c + QPointF(-d, d), c + QPointF(d, -d));
}

QImage profileContainer()
{
    QImage image = paint::canvas(kProfileMenu);
    QPainter p;
    paint::begin(p, image);
    paint::plate(p, QRectF(QPointF(0, 0), QSizeF(kProfileMenu)), kButtonRadius + 2, kSurfaceHi, kSurfaceLo,
                 kEdge);
    p.end();
    QPainterPath side;
    side.moveTo(0.5, 12);
    side.lineTo(0.5, kProfileMenu.height() - 12);
    paint::luminousOutline(image, side, kAccent, 1.2, 3, 0.8);
    return image;
}

QImage profileEntry(bool selected)
{
    QImage image = paint::canvas(kProfileEntry);
    const QRectF all(QPointF(0, 0), QSizeF(kProfileEntry));
    QPainter p;
    paint::begin(p, image);
    if (selected)
        paint::plate(p, all, kButtonRadius, paint::mix(kSurfaceHi, kAccentDeep, 0.45).rgba(), kSurfaceLo,
                     kAccent);
    else
        paint::plate(p, all, kButtonRadius, kSurface, kSurfaceLo, kEdge);
    p.setPen(Qt::NoPen);
    p.setBrush(selected ? QColor::fromRgba(kAccent) : QColor::fromRgba(kIdleDim));
    p.drawRect(QRectF(3, 10, 2, kProfileEntry.height() - 20));
    p.end();
    if (selected) {
        QPainterPath edge = paint::rounded(all.adjusted(0.5, 0.5, -0.5, -0.5), kButtonRadius);
        paint::luminousOutline(image, edge, kAccent, 1.0, 3, 0.6);
    }
    return image;
}

QPainterPath chamfered(QSizeF size, qreal cut)
{
    const qreal w = size.width() - 0.5;
    const qreal h = size.height() - 0.5;
    return polygonPath(QPolygonF({QPointF(0.5, 0.5), QPointF(w - cut, 0.5), QPointF(w, cut), QPointF(w, h),
                                  QPointF(0.5 + cut, h), QPointF(0.5, h - cut)}));
}

QImage functionButton(bool selected)
{
    QImage image = paint::canvas(kFnButton);
    const QPainterPath shape = chamfered(kFnButton, 9);
    QPainter p;
    paint::begin(p, image);
    QLinearGradient fill(0, 0, 0, kFnButton.height());
    fill.setColorAt(0, QColor::fromRgba(kSurfaceHi));
    fill.setColorAt(1, QColor::fromRgba(kSurfaceLo));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    if (selected) {
        QLinearGradient tint(0, 0, kFnButton.width(), 0);
        tint.setColorAt(0, paint::rgba(kAccent, 0.30));
        tint.setColorAt(1, paint::rgba(kAccent, 0.03));
        p.setBrush(tint);
        p.drawPath(shape);
    }
    p.setBrush(selected ? QColor::fromRgba(kAccent) : QColor::fromRgba(kIdleDim));
    p.drawRect(QRectF(2, 9, 2, kFnButton.height() - 18));
    if (!selected) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor::fromRgba(kEdge), kEdgeWidth));
        p.drawPath(shape);
    }
    p.end();
    if (selected)
        paint::luminousOutline(image, shape, kAccent, 1.0, 3, 0.7);
    return image;
}

} // namespace

void addMenuPictures(PictureList &out)
{
    paint::add(out, QStringLiteral("list_up/listUpContainer"), topBar());
    paint::iconPair(out, QStringLiteral("list_up/applicationSetting"), kTopIcon,
                    [](QPainter &p, const QColor &ink) {
                        gear(p, ink, QRectF(QPointF(0, 0), QSizeF(kTopIcon)).adjusted(2, 2, -2, -2));
                    });
    paint::iconPair(out, QStringLiteral("list_up/applicationMinimize"), kTopIcon,
                    [](QPainter &p, const QColor &ink) {
                        closeMark(p, ink, QRectF(QPointF(0, 0), QSizeF(kTopIcon)).adjusted(2, 2, -2, -2));
                    });
    paint::add(out, QStringLiteral("list_dn/listDnContainer"), bottomBar());
    paint::add(out, QStringLiteral("list_pf/listPfContainer"), profileContainer());
    paint::add(out, QStringLiteral("list_pf/profileFW_0"), profileEntry(false));
    paint::add(out, QStringLiteral("list_pf/profileFW_1"), profileEntry(true));
    paint::add(out, QStringLiteral("list_fn/listFnBtn_0"), functionButton(false));
    paint::add(out, QStringLiteral("list_fn/listFnBtn_1"), functionButton(true));

    const QLatin1String names[] = {QLatin1String("fnKeydefine"), QLatin1String("fnMacro"),
                                   QLatin1String("fnColor"), QLatin1String("fnSensor"),
                                   QLatin1String("fnpressGun")};
    for (int f = 0; f < 5; ++f) {
        paint::iconPair(
            out, QLatin1String("list_fn/") + names[f], kFnIcon, [f](QPainter &p, const QColor &ink) {
                piece::fnIcon(p, f, QRectF(QPointF(0, 0), QSizeF(kFnIcon)).adjusted(2, 2, -2, -2), ink);
            });
    }
}
