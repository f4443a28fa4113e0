// Glyphs: the function menu's icons and the tool buttons of the pages.

#include "skin.h"
#include "skinstyle.h"

#include <QtMath>

using namespace style;

namespace {

QPointF at(const QRectF &box, qreal x, qreal y)
{
    return QPointF(box.left() + x * box.width(), box.top() + y * box.height());
}

void keyIcon(QPainter &p, const QRectF &box, const QColor &ink)
{
    const QRectF body(at(box, 0.22, 0.02), at(box, 0.78, 0.98));
    const QPainterPath shell = paint::rounded(body, body.width() / 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.4));
    p.drawPath(shell);
    QPainterPath left;
    left.addRect(QRectF(body.topLeft(), QPointF(body.center().x() - 0.8, body.top() + body.height() * 0.42)));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(shell.intersected(left));
    p.setPen(QPen(ink, 1.2));
    p.drawLine(QPointF(body.left() + 1, body.top() + body.height() * 0.42),
               QPointF(body.right() - 1, body.top() + body.height() * 0.42));
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(body.center().x() + 0.2, body.top() + 3.5),
               QPointF(body.center().x() + 0.2, body.top() + 7));
}

void macroIcon(QPainter &p, const QRectF &box, const QColor &ink)
{
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    const qreal lengths[3] = {0.55, 0.4, 0.5};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 0.2 + i * 0.3;
        p.drawPoint(at(box, 0.04, y));
        p.drawLine(at(box, 0.2, y), at(box, 0.2 + lengths[i], y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({at(box, 0.7, 0.45), at(box, 1.0, 0.67), at(box, 0.7, 0.89)}));
}

void colourIcon(QPainter &p, const QRectF &box, const QColor &ink)
{
    const qreal r = box.width() * 0.27;
    const QPointF centres[3] = {at(box, 0.5, 0.32), at(box, 0.33, 0.64), at(box, 0.67, 0.64)};
    QColor fill = ink;
    fill.setAlphaF(0.22);
    p.setBrush(fill);
    p.setPen(QPen(ink, 1.3));
    for (const QPointF &c : centres)
        p.drawEllipse(c, r, r);
}

void sensorIcon(QPainter &p, const QRectF &box, const QColor &ink)
{
    const QPointF c = at(box, 0.5, 0.62);
    const qreal r = box.width() * 0.46;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r)), -20 * 16, 220 * 16);
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= 4; ++i) {
        const qreal a = qDegreesToRadians(200.0 - i * 55.0);
        const QPointF dir(std::cos(a), -std::sin(a));
        p.drawLine(c + dir * (r - 4), c + dir * (r - 1.5));
    }
    const qreal needle = qDegreesToRadians(48.0);
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c, c + QPointF(std::cos(needle), -std::sin(needle)) * (r - 3));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(c, 2.2, 2.2);
}

void gunIcon(QPainter &p, const QRectF &box, const QColor &ink)
{
    QPainterPath gun;
    gun.addRect(QRectF(at(box, 0.18, 0.34), at(box, 0.7, 0.52))); // receiver
    gun.addRect(QRectF(at(box, 0.7, 0.38), at(box, 1.0, 0.46)));  // barrel
    gun.addPolygon(QPolygonF({at(box, 0.0, 0.38), at(box, 0.2, 0.36), at(box, 0.2, 0.52), at(box, 0.04, 0.66),
                              at(box, 0.0, 0.64)})); // stock
    gun.addPolygon(
        QPolygonF({at(box, 0.3, 0.5), at(box, 0.4, 0.5), at(box, 0.34, 0.78), at(box, 0.24, 0.76)}));
    gun.addPolygon(
        QPolygonF({at(box, 0.5, 0.5), at(box, 0.6, 0.5), at(box, 0.66, 0.8), at(box, 0.56, 0.82)}));
    gun.addRect(QRectF(at(box, 0.36, 0.26), at(box, 0.56, 0.34))); // sight
    gun.setFillRule(Qt::WindingFill);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(gun.simplified());
}

// The rounded square behind every tool glyph.
void toolFrame(QPainter &p, const QRectF &box, const QColor &ink)
{
    QColor fill = ink;
    fill.setAlphaF(0.10);
    QColor edge = ink;
    edge.setAlphaF(0.55);
    p.setBrush(fill);
    p.setPen(QPen(edge, 1.0));
    p.drawPath(paint::rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), kButtonRadius));
}

using Glyph = void (*)(QPainter &, const QRectF &, const QColor &);

void plusGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(g, 0.5, 0.15), at(g, 0.5, 0.85));
    p.drawLine(at(g, 0.15, 0.5), at(g, 0.85, 0.5));
}

void minusGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(g, 0.15, 0.5), at(g, 0.85, 0.5));
}

void recordGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    const bool lit = ink.rgba() == kAccent;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.2));
    p.drawEllipse(g.center(), g.width() * 0.46, g.width() * 0.46);
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? QColor::fromRgba(kRecord) : paint::mix(kRecord, kIdleDim, 0.45));
    p.drawEllipse(g.center(), g.width() * 0.3, g.width() * 0.3);
}

void stopGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(at(g, 0.18, 0.18), at(g, 0.82, 0.82)), 1.5, 1.5);
}

void trashGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    QPainterPath bin;
    bin.addPolygon(QPolygonF({at(g, 0.2, 0.3), at(g, 0.8, 0.3), at(g, 0.72, 1.0), at(g, 0.28, 1.0)}));
    bin.closeSubpath();
    QPainterPath grooves;
    for (qreal x : {0.38, 0.5, 0.62})
        grooves.addRect(QRectF(at(g, x - 0.025, 0.42), at(g, x + 0.025, 0.88)));
    p.drawPath(bin.subtracted(grooves));
    p.drawRect(QRectF(at(g, 0.1, 0.14), at(g, 0.9, 0.24)));
    p.drawRect(QRectF(at(g, 0.38, 0.02), at(g, 0.62, 0.14)));
}

void cutGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.6));
    const qreal r = g.width() * 0.15;
    p.drawEllipse(at(g, 0.25, 0.8), r, r);
    p.drawEllipse(at(g, 0.75, 0.8), r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({at(g, 0.33, 0.66), at(g, 0.78, 0.0), at(g, 0.84, 0.06), at(g, 0.42, 0.72)}));
    p.drawPolygon(QPolygonF({at(g, 0.67, 0.66), at(g, 0.22, 0.0), at(g, 0.16, 0.06), at(g, 0.58, 0.72)}));
}

void pasteGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    QPainterPath board = paint::rounded(QRectF(at(g, 0.12, 0.1), at(g, 0.88, 1.0)), 1.5);
    QPainterPath sheet;
    sheet.addRect(QRectF(at(g, 0.26, 0.34), at(g, 0.74, 0.88)));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(board.subtracted(sheet));
    for (qreal y : {0.48, 0.6, 0.72})
        p.drawRect(QRectF(at(g, 0.34, y), at(g, 0.66, y + 0.05)));
    p.drawRoundedRect(QRectF(at(g, 0.32, 0.0), at(g, 0.68, 0.2)), 1.5, 1.5);
}

void copyGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    QPainterPath back = paint::rounded(QRectF(at(g, 0.08, 0.02), at(g, 0.64, 0.7)), 1.5);
    QPainterPath front = paint::rounded(QRectF(at(g, 0.36, 0.3), at(g, 0.92, 0.98)), 1.5);
    QPainterPath gap = paint::rounded(QRectF(at(g, 0.28, 0.22), at(g, 1.0, 1.06)), 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPath(back.subtracted(gap));
    p.drawPath(front);
}

void addTool(PictureList &out, const QString &path, Glyph glyph)
{
    paint::iconPair(out, path, kToolIcon, [glyph](QPainter &p, const QColor &ink) {
        const QRectF box(QPointF(0, 0), QSizeF(kToolIcon));
        toolFrame(p, box, ink);
        glyph(p, box.adjusted(6, 6, -6, -6), ink);
    });
}

} // namespace

namespace piece {

void fnIcon(QPainter &p, int function, const QRectF &box, const QColor &ink)
{
    switch (function) {
    case 0:
        keyIcon(p, box, ink);
        break;
    case 1:
        macroIcon(p, box, ink);
        break;
    case 2:
        colourIcon(p, box, ink);
        break;
    case 3:
        sensorIcon(p, box, ink);
        break;
    default:
        gunIcon(p, box, ink);
        break;
    }
}

} // namespace piece

void addToolIcons(PictureList &out)
{
    addTool(out, QStringLiteral("common/add"), plusGlyph);
    addTool(out, QStringLiteral("common/delete"), minusGlyph);
    addTool(out, QStringLiteral("common/record"), recordGlyph);
    addTool(out, QStringLiteral("common/stop"), stopGlyph);
    addTool(out, QStringLiteral("common/solid-delete"), trashGlyph);
    addTool(out, QStringLiteral("common/solid-cut"), cutGlyph);
    addTool(out, QStringLiteral("common/solid-paste"), pasteGlyph);
    addTool(out, QStringLiteral("common/solid-copy"), copyGlyph);
}
