// The window's backdrop, its frame overlay, the decorations and the logo.

#include "skin.h"
#include "skinstyle.h"

#include <QRadialGradient>

#include <cmath>

using namespace style;

namespace {

const QRectF kWindowRect(QPointF(0, 0), QSizeF(kWindow));

QImage backgroundPicture()
{
    QImage image = paint::canvas(kWindow);
    QPainter p;
    paint::begin(p, image);
    const QPainterPath shape = paint::rounded(kWindowRect, kWindowRadius);
    p.setClipPath(shape);

    QRadialGradient base(QPointF(500, 250), 720);
    base.setColorAt(0, paint::mix(kDeep, kDeepGlow, 0.45));
    base.setColorAt(0.55, QColor::fromRgba(kDeep));
    base.setColorAt(1, QColor::fromRgba(kVoid));
    p.fillRect(kWindowRect, base);

    // A fine dot lattice, strongest in the middle of the window.
    p.setPen(Qt::NoPen);
    for (int y = 6; y < kWindow.height(); y += 12) {
        for (int x = 6 + ((y / 12) % 2) * 6; x < kWindow.width(); x += 12) {
            const qreal d = std::hypot((x - 500) / 500.0, (y - 300) / 300.0);
            const qreal fade = std::max(0.0, 1.0 - d);
            if (fade <= 0)
                continue;
            p.setBrush(paint::rgba(kGrid, 0.4 + 1.6 * fade));
            p.drawEllipse(QPointF(x, y), 0.8, 0.8);
        }
    }

    // Two soft pools of light: behind the logo and under the page area.
    const auto pool = [&p](QPointF centre, qreal rx, qreal ry, qreal alpha) {
        QRadialGradient g(QPointF(0, 0), 1);
        g.setColorAt(0, paint::rgba(kAccent, alpha));
        g.setColorAt(1, Qt::transparent);
        p.save();
        p.translate(centre);
        p.scale(rx, ry);
        p.setBrush(g);
        p.drawEllipse(QPointF(0, 0), 1, 1);
        p.restore();
    };
    pool(QPointF(500, 30), 320, 110, 0.10);
    pool(QPointF(550, 560), 420, 90, 0.05);
    p.end();
    paint::grain(image, kSeed, kGrain);
    return image;
}

void faintGrid(QPainter &p, const QRectF &rect, int step)
{
    p.save();
    p.setClipRect(rect);
    p.setPen(QPen(QColor::fromRgba(kGrid), 1));
    for (qreal x = rect.left() + step; x < rect.right(); x += step)
        p.drawLine(QPointF(x + 0.5, rect.top()), QPointF(x + 0.5, rect.bottom()));
    for (qreal y = rect.top() + step; y < rect.bottom(); y += step)
        p.drawLine(QPointF(rect.left(), y + 0.5), QPointF(rect.right(), y + 0.5));
    p.restore();
}

QImage frameBackgroundPicture()
{
    QImage image = paint::canvas(kWindow);
    QPainter p;
    paint::begin(p, image);
    const QRectF page = QRectF(kPageArea).adjusted(-4, -4, 4, 4);
    paint::well(p, page, kPanelRadius);
    faintGrid(p, page.adjusted(2, 2, -2, -2), 24);
    // A faint emblem marks the empty page area before a function is chosen.
    p.setPen(Qt::NoPen);
    p.setBrush(paint::rgba(kAccent, 0.05));
    p.drawPath(piece::emblem(QRectF(page.center() - QPointF(70, 52), QSizeF(140, 104))));

    const int menuHeight = 5 * kFnButton.height() + 4 * kFnGap;
    paint::well(p, QRectF(kFnMenu.x() - 5, kFnMenu.y() - 8, kFnButton.width() + 10, menuHeight + 16),
                kPanelRadius);
    paint::well(p,
                QRectF(kWindow.width() - kProfileMenu.width() - 12, kProfileMenuY - 4,
                       kProfileMenu.width() + 8, kProfileMenu.height() + 8),
                kPanelRadius);
    p.end();

    // The rim of the window: a thin edge, lit cyan along the middle of the top and bottom.
    const QPainterPath rim = paint::rounded(kWindowRect.adjusted(0.5, 0.5, -0.5, -0.5), kWindowRadius);
    paint::begin(p, image);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromRgba(kEdge), kEdgeWidth));
    p.drawPath(rim);
    p.end();
    QLinearGradient light(0, 0, kWindow.width(), 0);
    light.setColorAt(0.15, Qt::transparent);
    light.setColorAt(0.5, QColor::fromRgba(kAccent));
    light.setColorAt(0.85, Qt::transparent);
    paint::glow(
        image,
        [&](QPainter &g) {
            g.setPen(QPen(QBrush(light), 2));
            g.drawLine(QPointF(150, 1), QPointF(850, 1));
            g.drawLine(QPointF(150, kWindow.height() - 1), QPointF(850, kWindow.height() - 1));
        },
        kGlowRadius, 0.6);
    return image;
}

// Corner brackets around the page area and tick rows along its top edge.
QImage decoration1Picture()
{
    QImage image = paint::canvas(kWindow);
    const QRectF page = QRectF(kPageArea).adjusted(-9, -9, 9, 9);
    const qreal arm = 22;
    QPainterPath brackets;
    const auto corner = [&brackets, arm](QPointF at, qreal dx, qreal dy) {
        brackets.moveTo(at + QPointF(dx * arm, 0));
        brackets.lineTo(at);
        brackets.lineTo(at + QPointF(0, dy * arm));
    };
    corner(page.topLeft(), 1, 1);
    corner(page.topRight(), -1, 1);
    corner(page.bottomLeft(), 1, -1);
    corner(page.bottomRight(), -1, -1);
    paint::luminousOutline(image, brackets, kAccent, 1.5, kGlowRadius, kGlowStrength);

    QPainter p;
    paint::begin(p, image);
    p.setPen(QPen(paint::rgba(kAccent, 0.35), 1));
    for (int i = 0; i < 12; ++i) {
        const qreal x = page.left() + 40 + i * 6 + 0.5;
        p.drawLine(QPointF(x, page.top() - 1), QPointF(x, page.top() + 3));
        const qreal xr = page.right() - 40 - i * 6 - 0.5;
        p.drawLine(QPointF(xr, page.bottom() - 3), QPointF(xr, page.bottom() + 1));
    }
    return image;
}

// Segmented light rails along both sides of the window.
QImage decoration2Picture()
{
    QImage image = paint::canvas(kWindow);
    const auto rail = [&image](qreal x, qreal top, qreal bottom) {
        paint::glow(
            image,
            [&](QPainter &g) {
                g.setPen(QPen(QColor::fromRgba(kAccent), 2));
                g.drawLine(QPointF(x, top), QPointF(x, bottom));
            },
            kGlowRadius, 0.5);
        QPainter p;
        paint::begin(p, image);
        for (qreal y = top; y < bottom; y += 10) {
            const qreal t = (y - top) / (bottom - top);
            const qreal alpha = 0.25 + 0.75 * std::sin(t * M_PI);
            p.fillRect(QRectF(x - 1, y, 2, 6), paint::rgba(kAccent, alpha));
        }
    };
    rail(2, 190, 410);
    rail(kWindow.width() - 2, 210, 430);

    QPainter p;
    paint::begin(p, image);
    // Chevrons above the bottom bar's corners.
    p.setPen(QPen(paint::rgba(kAccent, 0.45), 1.5, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    for (int i = 0; i < 3; ++i) {
        const qreal x = 24 + i * 9;
        p.drawPolyline(QPolygonF({QPointF(x, 542), QPointF(x + 5, 547), QPointF(x, 552)}));
        const qreal xr = kWindow.width() - 24 - i * 9;
        p.drawPolyline(QPolygonF({QPointF(xr, 542), QPointF(xr - 5, 547), QPointF(xr, 552)}));
    }
    return image;
}

QImage logoPicture(bool hover)
{
    QImage image = paint::canvas(kLogo);
    const QRectF box(QPointF(0, 0), QSizeF(kLogo));
    QPainterPath mark = piece::emblem(QRectF(box.center().x() - 30, 6, 60, 44));
    // Swept blades either side of the emblem.
    const auto blade = [&](qreal dir) {
        const qreal cx = box.center().x();
        QPolygonF poly;
        poly << QPointF(cx + dir * 36, 14) << QPointF(cx + dir * 84, 20) << QPointF(cx + dir * 88, 25)
             << QPointF(cx + dir * 33, 22);
        QPainterPath path;
        path.addPolygon(poly);
        path.closeSubpath();
        QPolygonF small;
        small << QPointF(cx + dir * 31, 28) << QPointF(cx + dir * 70, 31) << QPointF(cx + dir * 72, 35)
              << QPointF(cx + dir * 29, 34);
        path.addPolygon(small);
        path.closeSubpath();
        return path;
    };
    mark = mark.united(blade(-1)).united(blade(1));

    const QRgb edge = hover ? kAccent : kEdgeHi;
    paint::glow(
        image,
        [&](QPainter &g) {
            g.setPen(Qt::NoPen);
            g.setBrush(QColor::fromRgba(hover ? kAccent : kAccentDeep));
            g.drawPath(mark);
        },
        hover ? 5 : 4, hover ? 1.0 : 0.45);
    QPainter p;
    paint::begin(p, image);
    QLinearGradient fill(0, 6, 0, 50);
    if (hover) {
        fill.setColorAt(0, QColor::fromRgba(kAccentPale));
        fill.setColorAt(1, QColor::fromRgba(kAccent));
    } else {
        fill.setColorAt(0, QColor::fromRgba(kEdgeHi));
        fill.setColorAt(1, QColor::fromRgba(kSurfaceHi));
    }
    p.setBrush(fill);
    p.setPen(QPen(QColor::fromRgba(edge), kEdgeWidth));
    p.drawPath(mark);
    return image;
}

} // namespace

namespace piece {

QPainterPath emblem(const QRectF &box)
{
    const auto at = [&box](qreal x, qreal y) {
        return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
    };
    QPainterPath v;
    v.addPolygon(QPolygonF({at(0.0, 0.0), at(0.24, 0.0), at(0.5, 0.62), at(0.76, 0.0), at(1.0, 0.0),
                            at(0.56, 1.0), at(0.44, 1.0)}));
    v.closeSubpath();
    QPainterPath core;
    core.addPolygon(QPolygonF({at(0.5, 0.08), at(0.6, 0.26), at(0.5, 0.44), at(0.4, 0.26)}));
    core.closeSubpath();
    return v.united(core);
}

} // namespace piece

namespace {
// Where the decorations hold light; each rectangle leaves room for the glow. The scene places the pieces at
// these points (modules/qml/basic/Environment_Decoration.qml).
const std::vector<paint::Piece> kDecoration1Pieces = {
    {"frame/decoBracketTopLeft", {146, 71, 54, 54}},
    {"frame/decoBracketTopRight", {901, 71, 54, 54}},
    {"frame/decoBracketBottomLeft", {146, 509, 54, 54}},
    {"frame/decoBracketBottomRight", {901, 509, 54, 54}},
    {"frame/decoTicksTop", {200, 84, 72, 8}},
    {"frame/decoTicksBottom", {830, 542, 72, 8}},
};
const std::vector<paint::Piece> kDecoration2Pieces = {
    {"frame/decoRailLeft", {0, 174, 18, 252}},
    {"frame/decoRailRight", {982, 194, 18, 252}},
    {"frame/decoChevronsLeft", {20, 538, 32, 18}},
    {"frame/decoChevronsRight", {948, 538, 32, 18}},
};
} // namespace

const std::vector<paint::Piece> &decorationPieces()
{
    static const std::vector<paint::Piece> all = [] {
        std::vector<paint::Piece> pieces = kDecoration1Pieces;
        pieces.insert(pieces.end(), kDecoration2Pieces.begin(), kDecoration2Pieces.end());
        return pieces;
    }();
    return all;
}

void addFramePictures(PictureList &out)
{
    paint::add(out, QStringLiteral("background"), backgroundPicture());
    paint::add(out, QStringLiteral("frame/frameBackground"), frameBackgroundPicture());
    // The decorations are drawn over the whole window, where they are placed, and shipped as the small pieces
    // that hold their light: a window-sized picture that is almost all transparent would cost the scene
    // 2.3 MB of memory per picture and a full-window blend on every frame.
    paint::addPieces(out, decoration1Picture(), kDecoration1Pieces);
    paint::addPieces(out, decoration2Picture(), kDecoration2Pieces);
    paint::add(out, QStringLiteral("frame/web_0"), logoPicture(false));
    paint::add(out, QStringLiteral("frame/web_1"), logoPicture(true));
}
