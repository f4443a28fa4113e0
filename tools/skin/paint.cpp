#include "paint.h"

#include "skinstyle.h"

#include <QLinearGradient>
#include <QPainterPathStroker>

#include <algorithm>

QString pictureFile(const QString &path, int ratio)
{
    return ratio == 1 ? path + QLatin1String(".png") : path + QStringLiteral("@%1x.png").arg(ratio);
}

namespace paint {

namespace {
int g_pixelRatio = 1;

QImage canvasAt(QSize size, int ratio)
{
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    return image;
}
} // namespace

void setPixelRatio(int ratio)
{
    g_pixelRatio = ratio;
}

QImage canvas(QSize size)
{
    return canvasAt(size, g_pixelRatio);
}

QColor rgba(QRgb rgb, qreal alpha)
{
    QColor c = QColor::fromRgba(rgb);
    c.setAlphaF(c.alphaF() * alpha);
    return c;
}

QColor mix(QRgb a, QRgb b, qreal t)
{
    const auto lerp = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(lerp(qRed(a), qRed(b)), lerp(qGreen(a), qGreen(b)), lerp(qBlue(a), qBlue(b)),
                  lerp(qAlpha(a), qAlpha(b)));
}

void begin(QPainter &p, QImage &image)
{
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

namespace {

// One box pass along rows or columns; pixels beyond the edge count as transparent so halos fade out.
void boxPass(QImage &image, int radius, bool horizontal)
{
    const QImage source = image.copy();
    const int w = image.width();
    const int h = image.height();
    const int length = horizontal ? w : h;
    const int lines = horizontal ? h : w;
    const int span = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        const auto at = [&](int i) -> QRgb {
            if (i < 0 || i >= length)
                return 0;
            return horizontal ? reinterpret_cast<const QRgb *>(source.constScanLine(line))[i]
                              : reinterpret_cast<const QRgb *>(source.constScanLine(i))[line];
        };
        int sum[4] = {0, 0, 0, 0};
        const auto accumulate = [&sum](QRgb px, int sign) {
            sum[0] += sign * qAlpha(px);
            sum[1] += sign * qRed(px);
            sum[2] += sign * qGreen(px);
            sum[3] += sign * qBlue(px);
        };
        for (int i = -radius; i <= radius; ++i)
            accumulate(at(i), 1);
        for (int i = 0; i < length; ++i) {
            const auto avg = [&](int c) { return (sum[c] + span / 2) / span; };
            const QRgb px = qRgba(avg(1), avg(2), avg(3), avg(0));
            if (horizontal)
                reinterpret_cast<QRgb *>(image.scanLine(line))[i] = px;
            else
                reinterpret_cast<QRgb *>(image.scanLine(i))[line] = px;
            accumulate(at(i - radius), -1);
            accumulate(at(i + radius + 1), 1);
        }
    }
}

} // namespace

void blur(QImage &image, int radius)
{
    if (radius <= 0)
        return;
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(image, radius, true);
        boxPass(image, radius, false);
    }
}

void glow(QImage &target, const DrawFn &draw, int radius, qreal opacity)
{
    const int ratio = qRound(target.devicePixelRatio());
    QImage layer = canvasAt(target.size() / ratio, ratio);
    {
        QPainter p;
        begin(p, layer);
        draw(p);
    }
    blur(layer, radius * ratio);
    QPainter p(&target);
    p.setOpacity(opacity);
    p.drawImage(0, 0, layer);
}

void grain(QImage &image, quint32 seed, int amplitude)
{
    quint32 state = seed;
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            const int alpha = qAlpha(line[x]);
            if (alpha == 0)
                continue;
            const int n =
                static_cast<int>((state >> 16) % static_cast<quint32>(2 * amplitude + 1)) - amplitude;
            const auto shift = [&](int c) { return std::clamp(c + n, 0, alpha); };
            line[x] = qRgba(shift(qRed(line[x])), shift(qGreen(line[x])), shift(qBlue(line[x])), alpha);
        }
    }
}

QPainterPath rounded(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void plate(QPainter &p, const QRectF &rect, qreal radius, QRgb top, QRgb bottom, QRgb edge)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, QColor::fromRgba(top));
    fill.setColorAt(1, QColor::fromRgba(bottom));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(rounded(r, radius));
    // The sheen: a lighter line along the top inside edge, fading out half way down.
    QLinearGradient sheen(r.topLeft(), QPointF(r.left(), r.top() + std::min(r.height() / 2, 12.0)));
    sheen.setColorAt(0, QColor::fromRgba(style::kSheen));
    sheen.setColorAt(1, Qt::transparent);
    p.setPen(QPen(QBrush(sheen), style::kEdgeWidth));
    p.setBrush(Qt::NoBrush);
    p.drawPath(rounded(r.adjusted(1, 1, -1, -1), std::max(0.0, radius - 1)));
    p.setPen(QPen(QColor::fromRgba(edge), style::kEdgeWidth));
    p.drawPath(rounded(r, radius));
    p.restore();
}

void well(QPainter &p, const QRectF &rect, qreal radius)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath path = rounded(r, radius);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(style::kWell));
    p.drawPath(path);
    p.setClipPath(path);
    QLinearGradient shade(r.topLeft(), QPointF(r.left(), r.top() + 14));
    shade.setColorAt(0, rgba(style::kShadow, 0.47));
    shade.setColorAt(1, Qt::transparent);
    p.setBrush(shade);
    p.drawRect(r);
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromRgba(style::kWellEdge), style::kEdgeWidth));
    p.drawPath(path);
    // Light catches the lower lip of a recess.
    QLinearGradient lip(r.bottomLeft(), r.bottomRight());
    lip.setColorAt(0, Qt::transparent);
    lip.setColorAt(0.5, rgba(style::kLight, 0.09));
    lip.setColorAt(1, Qt::transparent);
    p.setPen(QPen(QBrush(lip), 1.0));
    p.drawLine(QPointF(r.left() + radius, r.bottom() + 0.5), QPointF(r.right() - radius, r.bottom() + 0.5));
    p.restore();
}

void luminousOutline(QImage &image, const QPainterPath &path, QRgb colour, qreal width, int glowRadius,
                     qreal glowOpacity)
{
    const QPen pen(QColor::fromRgba(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    glow(
        image,
        [&](QPainter &p) {
            p.setPen(QPen(pen.color(), width + 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        },
        glowRadius, glowOpacity);
    QPainter p;
    begin(p, image);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void iconPair(PictureList &out, const QString &path, QSize size,
              const std::function<void(QPainter &, const QColor &ink)> &drawIcon)
{
    QImage normal = canvas(size);
    {
        QPainter p;
        begin(p, normal);
        drawIcon(p, QColor::fromRgba(style::kIdle));
    }
    add(out, path + QLatin1String("_0"), normal);

    QImage hover = canvas(size);
    const QColor accent = QColor::fromRgba(style::kAccent);
    glow(
        hover, [&](QPainter &p) { drawIcon(p, accent); }, 2, style::kGlowStrength);
    {
        QPainter p;
        begin(p, hover);
        drawIcon(p, accent);
    }
    add(out, path + QLatin1String("_1"), hover);
}

void add(PictureList &out, const QString &path, const QImage &image)
{
    out.push_back({path, image.convertToFormat(QImage::Format_ARGB32)});
}

void addPieces(PictureList &out, const QImage &whole, const std::vector<Piece> &pieces)
{
    const int ratio = qRound(whole.devicePixelRatio());
    const auto inPixels = [ratio](const QRect &r) { return QRect(r.topLeft() * ratio, r.size() * ratio); };
    for (int y = 0; y < whole.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(whole.constScanLine(y));
        for (int x = 0; x < whole.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            const bool covered = std::any_of(pieces.begin(), pieces.end(), [&](const Piece &piece) {
                return inPixels(piece.rect).contains(x, y);
            });
            if (!covered) {
                qFatal("pieces of %s leave out the lit pixel (%d, %d) at ratio %d", pieces.front().path, x, y,
                       ratio);
            }
        }
    }
    for (const Piece &piece : pieces) {
        QImage image = whole.copy(inPixels(piece.rect));
        image.setDevicePixelRatio(ratio);
        add(out, QString::fromLatin1(piece.path), image);
    }
}

} // namespace paint
