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

// The file of a picture drawn at a pixel ratio: "name.png" at 1, "name@2x.png" at 2. Given "name.png", Qt
// Quick's Image and BorderImage load "name@2x.png" instead on a screen whose device pixel ratio is above 1.
QString pictureFile(const QString &path, int ratio);

namespace paint {

using DrawFn = std::function<void(QPainter &)>;

// The pixel density the pictures are drawn at: 1 for the scene's pixels, 2 for the "@2x" pictures of a
// HiDPI screen. The drawing code works in scene pixels throughout; canvas() makes images of this density,
// and a QPainter on them scales geometry and pen widths, while glow() scales its blur radius.
void setPixelRatio(int ratio);

// A transparent picture of `size` scene pixels at the current pixel ratio.
QImage canvas(QSize size);
QColor rgba(QRgb rgb, qreal alpha = 1.0);
QColor mix(QRgb a, QRgb b, qreal t);

// Antialiased painter on an image.
void begin(QPainter &p, QImage &image);

// Three passes of a box blur on a premultiplied image; integer arithmetic keeps the output identical run to
// run.
void blur(QImage &image, int radius);

// Paints `draw` blurred under what is already there: the halo of a luminous part. `radius` is in scene
// pixels.
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

// A piece of a larger picture: its name and its rectangle in the larger picture's scene pixels, which is
// where the scene places it.
struct Piece
{
    const char *path;
    QRect rect;
};

// Adds the pieces of `whole`. Refuses (exits) when a lit pixel of `whole` lies outside every piece, so that a
// drawing change cannot silently cut off part of a glow.
void addPieces(PictureList &out, const QImage &whole, const std::vector<Piece> &pieces);

} // namespace paint
