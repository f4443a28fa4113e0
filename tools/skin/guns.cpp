// The recoil page's weapons: one side view per game and gun, drawn from its parameters.

#include "gunshape.h"
#include "skin.h"
#include "skinstyle.h"

#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>

using namespace style;

namespace {

using Path = QPainterPath;

Path box(double x, double y, double w, double h, double r = 0)
{
    Path p;
    if (r > 0)
        p.addRoundedRect(QRectF(x, y, w, h), r, r);
    else
        p.addRect(QRectF(x, y, w, h));
    return p;
}

Path poly(std::initializer_list<QPointF> points)
{
    Path p;
    p.addPolygon(QPolygonF(points));
    p.closeSubpath();
    return p;
}

Path stroked(const Path &line, double width)
{
    QPainterPathStroker s;
    s.setWidth(width);
    s.setCapStyle(Qt::RoundCap);
    s.setJoinStyle(Qt::RoundJoin);
    return s.createStroke(line);
}

// A weapon as a silhouette plus the lines and cut-outs drawn on it.
struct Drawing
{
    Path parts;
    Path lines;  // dark engraved lines
    Path cuts;   // dark filled details: slots, ports
    Path glints; // lit details: lenses
    Path holes;  // cut through the silhouette at the end: the parts are merged with the winding rule
    void add(const Path &p) { parts.addPath(p); }
};

void addReceiver(const GunShape &g, Drawing &d)
{
    const double L = g.length, up = g.up, dn = g.down;
    switch (g.body) {
    case Body::Boxy:
        d.add(box(0, -up, L, up + dn, 2));
        break;
    case Body::Angular:
        d.add(poly({{0, -up}, {L, -up}, {L, dn * 0.3}, {0.8 * L, dn}, {0.15 * L, dn}, {0, dn * 0.5}}));
        d.lines.moveTo(0.15 * L, dn * 0.35);
        d.lines.lineTo(0.75 * L, dn * 0.35);
        break;
    case Body::Rounded:
        d.add(box(0, -up, L, up + dn, std::min(up, dn) * 0.8));
        break;
    case Body::Bullpup:
        d.add(poly({{0, -up * 0.7}, {0.12 * L, -up}, {L, -up}, {L, dn * 0.3}, {0.85 * L, dn}, {0, dn + 4}}));
        d.lines.moveTo(0.06 * L, -up * 0.2);
        d.lines.lineTo(0.4 * L, -up * 0.2);
        d.lines.moveTo(0.02 * L, -up * 0.7);
        d.lines.lineTo(0.02 * L, dn + 3);
        break;
    case Body::Pistol:
        d.add(box(0, -up, L, up * 0.95, 1.5));
        d.add(box(0.02 * L, -up * 0.1, 0.75 * L, dn + up * 0.1, 1.5));
        for (double x = 0.05 * L; x < 0.25 * L; x += 2.5) {
            d.lines.moveTo(x, -up + 1.5);
            d.lines.lineTo(x, -up * 0.2);
        }
        return;
    case Body::Tube:
        d.add(box(0, -up, L, up + dn, up));
        d.add(poly({{-8, -up - 3}, {6, -up}, {6, dn}, {-8, dn + 3}}));
        d.add(box(L - 10, -up - 1.5, 10, up + dn + 3, 1.5));
        d.lines.moveTo(0.3 * L, -up);
        d.lines.lineTo(0.3 * L, dn);
        d.lines.moveTo(0.62 * L, -up);
        d.lines.lineTo(0.62 * L, dn);
        return;
    case Body::Gatling:
        d.add(box(0, -up, L, up + dn, 5));
        d.add(box(-14, -up * 0.7, 16, (up + dn) * 0.7, 3));
        for (double x = 0.2 * L; x < 0.9 * L; x += 0.15 * L)
            d.cuts.addRoundedRect(QRectF(x, -up * 0.5, 0.08 * L, up), 1.5, 1.5);
        return;
    }
    d.cuts.addRoundedRect(QRectF(0.5 * L, -up * 0.5, 0.22 * L, up * 0.45), 1, 1); // ejection port
}

void addGuard(const GunShape &g, Drawing &d, double top)
{
    const double L = g.length, gL = g.guardLength, gH = g.guardHeight;
    if (g.guard == Guard::None || gL <= 0)
        return;
    d.add(box(L - 1, top, gL + 1, gH, g.guard == Guard::Plain || g.guard == Guard::Ribbed ? 3 : 1.5));
    switch (g.guard) {
    case Guard::Vented:
        for (double x = L + 5; x + 5 < L + gL - 2; x += 9)
            d.cuts.addRoundedRect(QRectF(x, top + gH * 0.3, 5, gH * 0.4), 2, 2);
        break;
    case Guard::Rail:
        for (double x = L + 3; x < L + gL - 2; x += 4) {
            d.lines.moveTo(x, top);
            d.lines.lineTo(x, top + 2.5);
            d.lines.moveTo(x, top + gH - 2.5);
            d.lines.lineTo(x, top + gH);
        }
        d.lines.moveTo(L + 2, top + gH * 0.5);
        d.lines.lineTo(L + gL - 2, top + gH * 0.5);
        break;
    case Guard::Ribbed:
        for (double x = L + 3; x < L + gL - 2; x += 3.5) {
            d.lines.moveTo(x, top + 2);
            d.lines.lineTo(x, top + gH - 2);
        }
        break;
    default:
        d.lines.moveTo(L + 3, top + gH * 0.5);
        d.lines.lineTo(L + gL - 3, top + gH * 0.5);
        break;
    }
}

// Returns the x where the muzzle ends.
double addBarrel(const GunShape &g, Drawing &d)
{
    const double L = g.length, bL = g.barrelLength, r = g.barrelRadius;
    const double x0 = (g.guardLength > 0 ? L + g.guardLength : L) - 2;
    if (bL <= 0 || g.body == Body::Tube)
        return L;
    if (g.body == Body::Gatling) {
        for (int i = -1; i <= 1; ++i)
            d.add(box(x0, i * r - r * 0.45, bL + 2, r * 0.9, r * 0.4));
        for (double f : {0.3, 0.75, 1.0})
            d.add(box(x0 + bL * f - 3, -r * 1.7, 5, r * 3.4, 1.5));
        return x0 + bL + 2;
    }
    d.add(box(x0, -1 - r, bL + 2, 2 * r));
    if (g.extra == Extra::DoubleBarrel) {
        d.add(box(x0, -1 + r, bL + 2, 2 * r));
        d.lines.moveTo(x0 + 2, -1 + r);
        d.lines.lineTo(x0 + bL, -1 + r);
    }
    if (g.mag == Mag::Tube) {
        d.add(box(L - 1, r - 0.5, g.guardLength + bL * 0.8, r * 1.6, r * 0.8));
    }
    const double xe = x0 + bL + 2;
    switch (g.muzzle) {
    case Muzzle::Brake:
        d.add(box(xe - 1, -1 - r * 1.7, 9, r * 3.4, 1));
        d.cuts.addRect(QRectF(xe + 1.5, -1 - r * 1.1, 1.5, r * 2.2));
        d.cuts.addRect(QRectF(xe + 4.5, -1 - r * 1.1, 1.5, r * 2.2));
        return xe + 8;
    case Muzzle::Suppressor: {
        const double len = std::max(22.0, bL * 0.45);
        d.add(box(xe - 1, -1 - r * 2.3, len, r * 4.6, r * 1.2));
        d.lines.moveTo(xe + 3, -1 - r * 2.3);
        d.lines.lineTo(xe + 3, -1 + r * 2.3);
        return xe + len - 1;
    }
    case Muzzle::FlashHider:
        d.add(poly({{xe - 1, -1 - r * 1.2},
                    {xe + 7, -1 - r * 1.6},
                    {xe + 7, -1 + r * 1.6},
                    {xe - 1, -1 + r * 1.2}}));
        d.lines.moveTo(xe + 2, -1);
        d.lines.lineTo(xe + 7, -1);
        return xe + 7;
    case Muzzle::Plain:
        d.add(box(xe - 1, -1 - r * 1.15, 3, r * 2.3));
        return xe + 2;
    }
    return xe;
}

void addStock(const GunShape &g, Drawing &d)
{
    const double S = g.stockLength, up = g.up, dn = g.down;
    if (S <= 0)
        return;
    const Path solid = poly({{2, -up * 0.6},
                             {-S, -up * 0.95},
                             {-S, dn + 14},
                             {-S + 5, dn + 15},
                             {-0.4 * S, dn + 4},
                             {2, dn * 0.9}});
    switch (g.stock) {
    case Stock::None:
        return;
    case Stock::Solid:
        d.add(solid);
        d.lines.moveTo(-S + 3, -up * 0.9);
        d.lines.lineTo(-S + 3, dn + 14);
        return;
    case Stock::Skeleton:
        d.add(solid);
        d.holes.addPath(
            poly({{-0.22 * S, -up * 0.25}, {-S + 8, -up * 0.5}, {-S + 8, dn + 8}, {-0.45 * S, dn - 0.5}}));
        return;
    case Stock::Telescoping:
        d.add(box(-0.6 * S, -3.5, 0.6 * S + 3, 7, 1));
        d.add(poly({{-S, -up * 0.9}, {-0.55 * S, -up * 0.55}, {-0.55 * S, dn * 0.7}, {-S, dn + 12}}));
        d.cuts.addRoundedRect(QRectF(-0.85 * S, -up * 0.2, 0.2 * S, 3), 1.5, 1.5);
        return;
    case Stock::Wood: {
        Path wood;
        wood.moveTo(2, -up * 0.55);
        wood.lineTo(-S, -up * 0.25);
        wood.lineTo(-S - 1, dn + 15);
        wood.lineTo(-S + 6, dn + 17);
        wood.quadTo(-0.5 * S, dn + 5, -0.2 * S, dn + 3);
        wood.quadTo(-0.05 * S, dn + 2.5, 2, dn * 0.6);
        wood.closeSubpath();
        d.add(wood);
        d.lines.moveTo(-S + 3, -up * 0.2);
        d.lines.lineTo(-S + 2.5, dn + 15);
        return;
    }
    case Stock::Wire: {
        Path frame;
        frame.moveTo(1, -up * 0.3);
        frame.lineTo(-S, -up * 0.3);
        frame.lineTo(-S, dn + 8);
        frame.lineTo(1, dn * 0.6);
        d.add(stroked(frame, 2.6));
        d.add(box(-S - 2.5, -up * 0.5, 4, up * 0.5 + dn + 12, 1.5));
        return;
    }
    case Stock::Thumbhole: {
        d.add(solid);
        d.holes.addEllipse(QPointF(-0.2 * S, dn * 0.3), 0.1 * S, (up + dn) * 0.22);
        d.add(box(-0.75 * S, -up * 1.25, 0.45 * S, up * 0.5, 2));
        return;
    }
    }
}

// The grip, the trigger guard and a magazine that runs through the grip.
void addGrip(const GunShape &g, Drawing &d)
{
    const double L = g.length, dn = g.down;
    const double gx = g.gripAt * L;
    const double k = g.body == Body::Pistol ? 1.25 : 1.0;
    double guardX = gx;
    if (g.grip == Grip::Pistol) {
        d.add(poly(
            {{gx, dn - 3}, {gx + 10 * k, dn - 3}, {gx + 6 * k, dn + 21 * k}, {gx - 6 * k, dn + 20 * k}}));
        guardX = gx + 10 * k;
        if (g.mag == Mag::InGrip) {
            const double e = std::max(0.0, g.magLength - 24);
            d.add(poly({{gx - 6 * k + 1, dn + 19 * k},
                        {gx + 6 * k - 1, dn + 20 * k},
                        {gx + 6 * k - 1 - 0.25 * e, dn + 20 * k + e},
                        {gx - 6 * k + 1 - 0.25 * e, dn + 19 * k + e}}));
            d.add(box(gx - 7 * k - 0.25 * e, dn + 19 * k + e, 15 * k, 3, 1));
        }
    } else if (g.grip == Grip::Vertical) {
        d.add(box(gx, dn - 3, 11, 25, 2));
        guardX = gx + 11;
        if (g.mag == Mag::InGrip) {
            d.add(box(gx + 1.5, dn + 20, 8, std::max(4.0, g.magLength - 18), 1));
            d.add(box(gx, dn + std::max(24.0, g.magLength + 2), 11, 3, 1));
        }
    }
    Path guard;
    guard.moveTo(guardX - 1, dn + 7.5);
    guard.lineTo(guardX + 11, dn + 7.5);
    guard.quadTo(guardX + 14, dn + 7.5, guardX + 14, dn - 1);
    d.add(stroked(guard, 2));
    Path trigger;
    trigger.moveTo(guardX + 5, dn);
    trigger.quadTo(guardX + 6, dn + 4, guardX + 4, dn + 6);
    d.add(stroked(trigger, 1.6));
}

void addMagazine(const GunShape &g, Drawing &d)
{
    const double L = g.length, up = g.up, dn = g.down, M = g.magLength;
    const double mx = g.magAt * L;
    const double top = dn - 4;
    switch (g.mag) {
    case Mag::Straight:
        d.add(poly({{mx, top}, {mx + 10, top}, {mx + 12.5, dn + M}, {mx + 2.5, dn + M}}));
        d.lines.moveTo(mx + 2.2, dn + M - 3);
        d.lines.lineTo(mx + 12.2, dn + M - 3);
        break;
    case Mag::Curved: {
        Path banana;
        banana.moveTo(mx, top);
        banana.lineTo(mx + 11, top);
        banana.quadTo(mx + 13, dn + M * 0.5, mx + M * 0.5 + 11, dn + M * 0.85);
        banana.lineTo(mx + M * 0.5 + 1, dn + M);
        banana.quadTo(mx + 2, dn + M * 0.55, mx, top);
        banana.closeSubpath();
        d.add(banana);
        break;
    }
    case Mag::Drum: {
        d.add(box(mx, top, 12, 8));
        Path drum;
        drum.addEllipse(QPointF(mx + 7, dn + M * 0.5), M * 0.5, M * 0.5);
        d.add(drum);
        d.lines.addEllipse(QPointF(mx + 7, dn + M * 0.5), M * 0.3, M * 0.3);
        d.cuts.addEllipse(QPointF(mx + 7, dn + M * 0.5), 2.5, 2.5);
        break;
    }
    case Mag::Box:
        d.add(box(mx, top, M, M * 0.75 + 4, 2));
        for (double x = mx + 4; x < mx + M - 2; x += 5) {
            d.lines.moveTo(x, dn + 2);
            d.lines.lineTo(x, dn + M * 0.75 - 2);
        }
        break;
    case Mag::Cylinder: {
        // A revolving cylinder stands proud of the frame, with a hammer spur behind it.
        const double w = std::max(16.0, L * 0.5);
        const double x = L * 0.4;
        d.add(box(x, -up - 3.5, w, up + dn + 7, 4));
        for (double y : {-up * 0.5, 0.0, dn * 0.5}) {
            d.cuts.addRoundedRect(QRectF(x + 3, y - 0.9, w - 6, 1.8), 0.9, 0.9);
        }
        d.add(poly({{x - 6, -up + 1}, {x - 1, -up + 1}, {x - 9, -up - 5}}));
        break;
    }
    case Mag::Tank:
        d.add(box(0.1 * L, -up - M * 0.55 - 2, 0.8 * L, M * 0.55, M * 0.27));
        for (double f : {0.3, 0.7}) {
            d.lines.moveTo(0.1 * L + 0.8 * L * f, -up - M * 0.55 - 2);
            d.lines.lineTo(0.1 * L + 0.8 * L * f, -up - 2);
        }
        break;
    case Mag::None:
    case Mag::InGrip:
    case Mag::Tube:
        break;
    }
}

void addSight(const GunShape &g, Drawing &d, double guardTop, double muzzleX)
{
    const double L = g.length, up = g.up, gL = g.guardLength;
    const double front = gL > 0 ? L + gL - 5 : (g.barrelLength > 0 ? muzzleX - 6 : L - 5);
    const double frontBase =
        gL > 0 ? guardTop + 0.5 : (g.barrelLength > 0 ? -1 - g.barrelRadius + 0.5 : -up + 0.5);
    switch (g.sight) {
    case Sight::None:
        break;
    case Sight::Iron:
        d.add(poly({{front - 2, frontBase},
                    {front + 2, frontBase},
                    {front + 1, frontBase - 6},
                    {front - 1, frontBase - 6}}));
        d.add(box(0.82 * L - 5, -up - 4, 5, 4.5, 1));
        break;
    case Sight::CarryHandle:
        d.add(box(0.12 * L, -up - 9, 0.62 * L, 9.5, 2));
        d.holes.addRoundedRect(QRectF(0.2 * L, -up - 6.5, 0.46 * L, 4), 1.5, 1.5);
        d.add(poly({{front - 3, frontBase},
                    {front + 3, frontBase},
                    {front + 1.2, -up - 9},
                    {front - 1.2, -up - 9}}));
        break;
    case Sight::RedDot:
        d.add(box(0.15 * L, -up - 2, 0.7 * L, 2.5));
        d.add(box(0.42 * L, -up - 10.5, 16, 9, 3));
        d.glints.addEllipse(QPointF(0.42 * L + 3, -up - 6), 1.4, 2.6);
        break;
    case Sight::Scope: {
        const double a = 0.14 * L, b = 0.86 * L;
        d.add(box(0.12 * L, -up - 2, 0.76 * L, 2.5));
        d.add(box(0.28 * L, -up - 6, 4, 5));
        d.add(box(0.66 * L, -up - 6, 4, 5));
        d.add(box(a, -up - 12, b - a, 7, 3.5));
        d.add(poly({{b, -up - 11.5},
                    {b + 4, -up - 14.5},
                    {b + 16, -up - 14.5},
                    {b + 16, -up - 2.5},
                    {b + 4, -up - 2.5},
                    {b, -up - 5.5}}));
        d.add(box(a - 10, -up - 13.5, 12, 10, 2));
        d.add(box(0.5 * L - 3, -up - 15, 6, 4, 1));
        d.glints.addEllipse(QPointF(b + 15, -up - 8.5), 1.2, 4.5);
        break;
    }
    case Sight::Rail:
        d.add(box(0.1 * L, -up - 3, 0.7 * L + gL * 0.9, 3.5));
        for (double x = 0.1 * L + 2; x < 0.8 * L + gL * 0.9 - 1; x += 4) {
            d.lines.moveTo(x, -up - 3);
            d.lines.lineTo(x, -up - 1);
        }
        break;
    }
}

Drawing build(const GunShape &g)
{
    Drawing d;
    const double L = g.length, dn = g.down;
    const double guardTop = g.mag == Mag::Tube ? -g.guardHeight * 0.25 : -g.up * 0.85;
    addStock(g, d);
    addReceiver(g, d);
    addGuard(g, d, guardTop);
    const double muzzleX = addBarrel(g, d);
    addGrip(g, d);
    addMagazine(g, d);
    addSight(g, d, guardTop, muzzleX);
    if (g.foregrip) {
        const double fx = g.guardLength > 0 ? L + g.guardLength * 0.45 : L * 0.75;
        const double fy = (g.guardLength > 0 ? guardTop + g.guardHeight : dn) - 2;
        d.add(box(fx, fy, 8, 18, 2));
    }
    if (g.bipod) {
        const double bx = g.guardLength > 0 ? L + g.guardLength - 8 : L - 6;
        const double by = g.guardLength > 0 ? guardTop + g.guardHeight - 1 : dn * 0.3;
        Path legs;
        legs.moveTo(bx + 10, by + 26);
        legs.lineTo(bx, by);
        legs.lineTo(bx - 14, by + 26);
        d.add(stroked(legs, 2.4));
        Path hinge;
        hinge.addEllipse(QPointF(bx, by), 2.5, 2.5);
        d.add(hinge);
    }
    if (g.extra == Extra::Bayonet) {
        d.add(poly({{muzzleX - 30, g.barrelRadius + 1.5},
                    {muzzleX + 16, g.barrelRadius + 2.5},
                    {muzzleX - 30, g.barrelRadius + 5.5}}));
        d.add(box(muzzleX - 32, -1 - g.barrelRadius, 4, g.barrelRadius * 2 + 6, 1));
    } else if (g.extra == Extra::BoltHandle) {
        Path bolt;
        bolt.moveTo(0.72 * L, -g.up * 0.2);
        bolt.lineTo(0.78 * L, dn + 3);
        d.add(stroked(bolt, 2.2));
        Path knob;
        knob.addEllipse(QPointF(0.79 * L, dn + 4), 3, 3);
        d.add(knob);
    }
    d.parts.setFillRule(Qt::WindingFill);
    d.parts = d.parts.simplified().subtracted(d.holes);
    return d;
}

} // namespace

QImage gunPicture(int game, const GunShape &shape)
{
    QImage image = paint::canvas(kGun);
    const Drawing d = build(shape);
    const QRectF bounds = d.parts.boundingRect();
    const double scale =
        std::min({(kGun.width() - 24.0) / bounds.width(), (kGun.height() - 26.0) / bounds.height(), 2.4});
    QTransform t;
    t.translate(kGun.width() / 2.0, kGun.height() / 2.0 - 3);
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    const Path body = t.map(d.parts);
    const QRectF area = body.boundingRect();
    const QRgb edge = kGameEdge[game];

    // A pool of light under the weapon.
    paint::glow(
        image,
        [&](QPainter &g) {
            g.setPen(Qt::NoPen);
            g.setBrush(paint::rgba(edge, 0.5));
            g.drawEllipse(QPointF(kGun.width() / 2.0, kGun.height() - 8), area.width() * 0.42, 2.5);
        },
        4, 0.8);
    paint::glow(
        image,
        [&](QPainter &g) {
            g.setPen(QPen(QColor::fromRgba(edge), 2.5));
            g.setBrush(Qt::NoBrush);
            g.drawPath(body);
        },
        kGlowRadius, 0.75);

    QPainter p;
    paint::begin(p, image);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, QColor::fromRgba(kGameBodyTop[game]));
    fill.setColorAt(1, QColor::fromRgba(kGameBodyBottom[game]));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(body);
    p.setClipPath(body);
    if (game == 2) {
        // The third game's look: a scan-line hologram.
        p.setPen(QPen(paint::rgba(edge, 0.16), 1));
        for (int y = 0; y < kGun.height(); y += 3)
            p.drawLine(QPointF(0, y + 0.5), QPointF(kGun.width(), y + 0.5));
    }
    QRadialGradient sheen(area.center() - QPointF(area.width() * 0.2, area.height() * 0.4),
                          area.width() * 0.5);
    sheen.setColorAt(0, paint::rgba(kLight, 0.10));
    sheen.setColorAt(1, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRect(area);
    p.setBrush(paint::rgba(kShadow, 0.6));
    p.drawPath(t.map(d.cuts));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(paint::rgba(kShadow, 0.6), 1.0));
    p.drawPath(t.map(d.lines));
    p.setPen(QPen(paint::rgba(edge, 0.25), 1.0));
    p.drawPath(t.map(d.lines).translated(0, 1));
    p.setClipping(false);
    p.setPen(QPen(QColor::fromRgba(edge), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(paint::mix(edge, kLight, 0.5));
    p.drawPath(t.map(d.glints));
    return image;
}
