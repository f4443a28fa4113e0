// The mouse seen from above: with its sixteen keys for the key page and with its lit zones for the lighting
// page. Both pictures share the outline and key positions, so the scene can lay out one on the other.

#include "skin.h"
#include "skinstyle.h"

#include <QPainterPathStroker>
#include <QRadialGradient>

using namespace style;

namespace {

enum class KeyShape { Region, Rounded, Round, ChevronUp, ChevronDown };

struct Key
{
    KeyShape shape;
    QRectF box; // in model coordinates, 240 x 400
};

// Key numbers as the key matrix counts them: 0 left, 1 right, 2 wheel, 3 forward, 4 backward, 5 DPI up,
// 6 fire, 7 DPI down, 8 mode, 9-11 thumb row, 12-13 right side, 14 wheel up, 15 wheel down.
const Key kKeys[16] = {
    {KeyShape::Region, QRectF(42, 16, 69, 166)},   {KeyShape::Region, QRectF(129, 16, 69, 166)},
    {KeyShape::Rounded, QRectF(112, 66, 16, 44)},  {KeyShape::Rounded, QRectF(40, 186, 14, 30)},
    {KeyShape::Rounded, QRectF(40, 222, 14, 30)},  {KeyShape::Rounded, QRectF(113, 134, 14, 12)},
    {KeyShape::Rounded, QRectF(36, 98, 12, 28)},   {KeyShape::Rounded, QRectF(113, 152, 14, 12)},
    {KeyShape::Round, QRectF(112, 198, 16, 16)},   {KeyShape::Rounded, QRectF(45, 262, 14, 18)},
    {KeyShape::Rounded, QRectF(43, 286, 14, 18)},  {KeyShape::Rounded, QRectF(41, 310, 14, 18)},
    {KeyShape::Rounded, QRectF(186, 192, 14, 28)}, {KeyShape::Rounded, QRectF(186, 226, 14, 28)},
    {KeyShape::ChevronUp, QRectF(113, 50, 14, 9)}, {KeyShape::ChevronDown, QRectF(113, 117, 14, 9)},
};

QPainterPath shell()
{
    QPainterPath path;
    path.moveTo(120, 16);
    path.cubicTo(166, 16, 194, 40, 198, 92);
    path.cubicTo(201, 134, 190, 168, 190, 205);
    path.cubicTo(190, 250, 212, 296, 206, 342);
    path.cubicTo(200, 382, 160, 392, 120, 392);
    path.cubicTo(80, 392, 38, 384, 32, 344);
    path.cubicTo(26, 304, 50, 250, 50, 205);
    path.cubicTo(50, 168, 39, 134, 42, 92);
    path.cubicTo(46, 40, 74, 16, 120, 16);
    path.closeSubpath();
    return path;
}

// The two main buttons: the shell cut by the wheel channel and a curved seam behind the buttons.
QPainterPath mainButton(bool right)
{
    QPainterPath cut;
    cut.moveTo(0, 0);
    cut.lineTo(110, 0);
    cut.lineTo(110, 168);
    cut.quadTo(80, 182, 0, 180);
    cut.closeSubpath();
    if (right) {
        QTransform mirror(-1, 0, 0, 1, 240, 0);
        cut = mirror.map(cut);
    }
    return shell().intersected(cut);
}

QPainterPath keyPath(int k)
{
    const Key &key = kKeys[k];
    QPainterPath path;
    const QRectF &b = key.box;
    switch (key.shape) {
    case KeyShape::Region:
        return mainButton(k == 1);
    case KeyShape::Rounded:
        path.addRoundedRect(b, std::min(b.width(), b.height()) / 2.4, std::min(b.width(), b.height()) / 2.4);
        break;
    case KeyShape::Round:
        path.addEllipse(b);
        break;
    case KeyShape::ChevronUp:
        path.addPolygon(QPolygonF({QPointF(b.center().x(), b.top()), b.bottomRight(), b.bottomLeft()}));
        path.closeSubpath();
        break;
    case KeyShape::ChevronDown:
        path.addPolygon(QPolygonF({b.topLeft(), b.topRight(), QPointF(b.center().x(), b.bottom())}));
        path.closeSubpath();
        break;
    }
    return path;
}

void dropShadow(QImage &image, const QPainterPath &body)
{
    paint::glow(
        image,
        [&](QPainter &g) {
            g.setPen(Qt::NoPen);
            g.setBrush(paint::rgba(kShadow, 0.8));
            g.drawPath(body.translated(3, 7));
        },
        6, 1.0);
}

// Shell, buttons, channel and keys. `keyEdge` outlines every key; the key page lights it, the lighting page
// not.
void drawMouse(QImage &image, QRgb keyEdge)
{
    const QPainterPath body = shell();
    dropShadow(image, body);
    QPainter p;
    paint::begin(p, image);
    QRadialGradient skin(QPointF(95, 150), 260);
    skin.setColorAt(0, QColor::fromRgba(kSurfaceHi));
    skin.setColorAt(0.6, QColor::fromRgba(kSurface));
    skin.setColorAt(1, QColor::fromRgba(kVoid));
    p.setPen(QPen(QColor::fromRgba(kEdge), 1.2));
    p.setBrush(skin);
    p.drawPath(body);

    // Palm sheen.
    QRadialGradient sheen(QPointF(104, 270), 70);
    sheen.setColorAt(0, paint::rgba(kLight, 0.08));
    sheen.setColorAt(1, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawPath(body);

    // Main buttons as separate plates with a dark seam around them.
    for (int k = 0; k < 2; ++k) {
        QLinearGradient fill(0, 16, 0, 182);
        fill.setColorAt(0, paint::mix(kSurfaceHi, kEdgeHi, 0.25));
        fill.setColorAt(1, QColor::fromRgba(kSurface));
        p.setPen(QPen(QColor::fromRgba(kVoid), 2));
        p.setBrush(fill);
        p.drawPath(keyPath(k));
        p.setPen(QPen(QColor::fromRgba(keyEdge), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(keyPath(k));
    }
    p.setPen(QPen(QColor::fromRgba(kVoid), 1));
    p.setBrush(QColor::fromRgba(kSurfaceLo));
    p.drawRoundedRect(QRectF(110, 40, 20, 134), 9, 9);

    for (int k = 2; k < 16; ++k) {
        QLinearGradient fill(kKeys[k].box.topLeft(), kKeys[k].box.bottomLeft());
        fill.setColorAt(0, paint::mix(kSurfaceHi, kEdgeHi, 0.45));
        fill.setColorAt(1, QColor::fromRgba(kSurface));
        p.setPen(QPen(QColor::fromRgba(keyEdge), 1));
        p.setBrush(fill);
        p.drawPath(keyPath(k));
    }
    // Wheel grooves.
    p.setPen(QPen(paint::rgba(kShadow, 0.47), 1));
    for (qreal y = 70.5; y < 108; y += 4)
        p.drawLine(QPointF(114, y), QPointF(126, y));
}

QImage keyModel()
{
    QImage image = paint::canvas(kModel);
    drawMouse(image, paint::rgba(kAccent, 0.55).rgba());
    return image;
}

// Lit zones: 0 wheel, 1 DPI keys, 2 logo, 3 left strip, 4 right strip, 5 rear arc; each its spectrum colour.
QImage colourModel()
{
    QImage image = paint::canvas(kModel);
    drawMouse(image, kEdge);

    // Strips follow the rim of the shell; each is the rim band clipped to its stretch of the outline.
    QPainterPathStroker stroker;
    stroker.setWidth(10);
    const QPainterPath rim = stroker.createStroke(shell());
    const auto stretch = [](const QRectF &r) {
        QPainterPath box;
        box.addRect(r);
        return shell().intersected(box);
    };
    QPainterPath everywhere;
    everywhere.addRect(QRectF(QPointF(0, 0), QSizeF(kModel)));
    struct Zone
    {
        QPainterPath path;
        QPainterPath clip;
        QRgb colour;
    };
    const Zone zones[6] = {
        {paint::rounded(QRectF(111, 65, 18, 46), 8), everywhere, kSpectrum[4]},
        {keyPath(5).united(keyPath(7)), everywhere, kSpectrum[5]},
        {piece::emblem(QRectF(104, 286, 32, 26)), everywhere, kSpectrum[0]},
        {rim, stretch(QRectF(0, 112, 118, 240)), kSpectrum[3]},
        {rim, stretch(QRectF(122, 112, 118, 240)), kSpectrum[1]},
        {rim, stretch(QRectF(70, 366, 100, 40)), kSpectrum[2]},
    };
    for (const Zone &z : zones) {
        paint::glow(
            image,
            [&](QPainter &g) {
                g.setClipPath(z.clip);
                g.setPen(Qt::NoPen);
                g.setBrush(QColor::fromRgba(z.colour));
                g.drawPath(z.path);
            },
            6, 1.0);
    }
    QPainter p;
    paint::begin(p, image);
    for (const Zone &z : zones) {
        p.setClipPath(z.clip);
        p.setPen(Qt::NoPen);
        p.setBrush(paint::mix(z.colour, kLight, 0.45));
        p.drawPath(z.path);
    }
    return image;
}

} // namespace

void addModelPictures(PictureList &out)
{
    paint::add(out, QStringLiteral("model_ms/model_Vesk_KeyDefine"), keyModel());
    paint::add(out, QStringLiteral("model_ms/model_Vesk_Color"), colourModel());
}
