#pragma once

// Drawing helpers shared by every picture: canvases, luminous edges, panels and icon pairs.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <functional>
#include <vector>

struct Picture
{
    QString path; // below the skin folder, without ".png"
    QImage image;
};
using PictureList = std::vector<Picture>;

namespace paint {

using DrawFn = std::function<void(QPainter &)>;

QImage canvas(QSize size);
QColor rgba(QRgb rgb, qreal alpha = 1.0);
QColor mix(QRgb a, QRgb b, qreal t);

// Antialiased painter on an image.
void begin(QPainter &p, QImage &image);

// Three passes of a box blur on a premultiplied image; integer arithmetic keeps the output identical run to
// run.
void blur(QImage &image, int radius);

// Paints `draw` blurred under what is already there: the halo of a luminous part.
void glow(QImage &target, const DrawFn &draw, int radius, qreal opacity);

// Deterministic +-amplitude grain on every visible pixel, so that wide gradients do not band.
void grain(QImage &image, quint32 seed, int amplitude);

QPainterPath rounded(const QRectF &rect, qreal radius);

// A raised plate: vertical gradient, top sheen, thin edge.
void plate(QPainter &p, const QRectF &rect, qreal radius, QRgb top, QRgb bottom, QRgb edge);
// A recessed well: translucent dark fill, inner shadow at the top, rim.
void well(QPainter &p, const QRectF &rect, qreal radius);
// A thin luminous outline with its halo.
void luminousOutline(QImage &image, const QPainterPath &path, QRgb colour, qreal width, int glowRadius,
                     qreal glowOpacity);

// Normal (_0, idle grey) and hover (_1, highlight with glow) versions of an icon drawn by `drawIcon` in
// `ink`.
void iconPair(PictureList &out, const QString &path, QSize size,
              const std::function<void(QPainter &, const QColor &ink)> &drawIcon);

void add(PictureList &out, const QString &path, const QImage &image);

} // namespace paint
