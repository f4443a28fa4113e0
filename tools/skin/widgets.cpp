// The reusable widgets' pictures: sliders, groups, inputs, palette, lists, buttons and frames.

#include "skin.h"
#include "skinstyle.h"

#include <QtMath>

#include <algorithm>

using namespace style;

namespace {

QRectF whole(QSize size)
{
    return QRectF(QPointF(0, 0), QSizeF(size));
}

QRectF trackOf(QSize size)
{
    return QRectF(0.5, size.height() / 2.0 - 3.5, size.width() - 1, 7);
}

qreal positionX(QSize size, int positions, int i)
{
    return kSliderInset + i * (size.width() - 2.0 * kSliderInset) / (positions - 1);
}

QImage sliderBase(QSize size, int positions)
{
    QImage image = paint::canvas(size);
    QPainter p;
    paint::begin(p, image);
    paint::well(p, trackOf(size), 3.5);
    p.setPen(QPen(QColor::fromRgba(kIdleDim), 1));
    for (int i = 0; i < positions; ++i) {
        const qreal x = std::round(positionX(size, positions, i)) + 0.5;
        p.drawLine(QPointF(x, 0), QPointF(x, 2.5));
        p.drawLine(QPointF(x, size.height() - 2.5), QPointF(x, size.height()));
    }
    return image;
}

QImage sliderFiller(QSize size, int positions, bool lit)
{
    QImage image = paint::canvas(size);
    const QRectF bar = trackOf(size).adjusted(1, 1.5, -1, -1.5);
    const QPainterPath shape = paint::rounded(bar, bar.height() / 2);
    if (lit) {
        paint::glow(
            image,
            [&](QPainter &g) {
                g.setPen(Qt::NoPen);
                g.setBrush(QColor::fromRgba(kAccent));
                g.drawPath(shape);
            },
            3, 0.8);
    }
    QPainter p;
    paint::begin(p, image);
    QLinearGradient fill(0, 0, size.width(), 0);
    fill.setColorAt(0, QColor::fromRgba(kAccentDeep));
    fill.setColorAt(1, lit ? QColor::fromRgba(kAccent) : paint::mix(kAccentDeep, kAccent, 0.55));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    p.setBrush(paint::rgba(kLight, lit ? 0.35 : 0.18));
    p.drawRect(QRectF(bar.left() + 2, bar.top() + 0.5, bar.width() - 4, 1));
    p.setPen(QPen(paint::rgba(kAccent, lit ? 1.0 : 0.6), 1));
    for (int i = 0; i < positions; ++i) {
        const qreal x = std::round(positionX(size, positions, i)) + 0.5;
        p.drawLine(QPointF(x, 0), QPointF(x, 2.5));
        p.drawLine(QPointF(x, size.height() - 2.5), QPointF(x, size.height()));
    }
    return image;
}

QImage lineRule()
{
    QImage image = paint::canvas(kLine);
    QPainter p;
    paint::begin(p, image);
    const auto row = [&](qreal y, qreal alpha) {
        QLinearGradient g(0, 0, kLine.width(), 0);
        g.setColorAt(0, Qt::transparent);
        g.setColorAt(0.5, paint::rgba(kAccent, alpha));
        g.setColorAt(1, Qt::transparent);
        p.fillRect(QRectF(0, y, kLine.width(), 1), g);
    };
    row(0, 0.15);
    row(1, 0.75);
    row(2, 0.15);
    return image;
}

QImage plainWell(QSize size, qreal radius, bool accentLip)
{
    QImage image = paint::canvas(size);
    QPainter p;
    paint::begin(p, image);
    paint::well(p, whole(size), radius);
    if (accentLip) {
        QLinearGradient g(0, 0, size.width(), 0);
        g.setColorAt(0, Qt::transparent);
        g.setColorAt(0.5, paint::rgba(kAccent, 0.55));
        g.setColorAt(1, Qt::transparent);
        p.fillRect(QRectF(radius, size.height() - 1.5, size.width() - 2 * radius, 1), g);
    }
    return image;
}

// Hue runs left to right over 0-359 degrees, saturation from 1 at the top row to 0 at the bottom, value 1:
// the scene turns a position back into a colour with that rule.
QImage palette()
{
    QImage image = paint::canvas(kPalette);
    const int w = kPalette.width();
    const int h = kPalette.height();
    // Each pixel takes the colour at its centre in scene pixels (x itself at ratio 1), so that a denser
    // picture shows the same palette.
    const qreal ratio = image.devicePixelRatio();
    const auto scenePixel = [ratio](int pixel, int length) {
        return std::clamp((pixel + 0.5) / ratio - 0.5, 0.0, length - 1.0);
    };
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const qreal sy = scenePixel(y, h);
        for (int x = 0; x < image.width(); ++x) {
            const qreal sx = scenePixel(x, w);
            const QColor c = QColor::fromHsvF(sx * (359.0 / 360.0) / (w - 1), 1.0 - sy / (h - 1), 1.0);
            line[x] = c.rgb();
        }
    }
    // Round the corners by clearing outside a rounded rectangle, then draw the rim.
    QImage mask = paint::canvas(kPalette);
    {
        QPainter m;
        paint::begin(m, mask);
        m.setPen(Qt::NoPen);
        m.setBrush(Qt::white);
        m.drawPath(paint::rounded(whole(kPalette), kButtonRadius));
    }
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, mask);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor::fromRgba(kEdge), kEdgeWidth));
    p.setBrush(Qt::NoBrush);
    p.drawPath(paint::rounded(whole(kPalette).adjusted(0.5, 0.5, -0.5, -0.5), kButtonRadius));
    return image;
}

QImage paletteIndex()
{
    QImage image = paint::canvas(kPaletteIndex);
    QPainter p;
    paint::begin(p, image);
    const QPointF c = whole(kPaletteIndex).center();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(paint::rgba(kShadow, 0.67), 3.5));
    p.drawEllipse(c, 4.8, 4.8);
    p.setPen(QPen(QColor::fromRgba(kLight), 1.6));
    p.drawEllipse(c, 4.8, 4.8);
    return image;
}

QImage checkbox(bool checked)
{
    QImage image = paint::canvas(kCheckbox);
    const QRectF box = whole(kCheckbox).adjusted(1, 1, -1, -1);
    QPainterPath mark;
    mark.moveTo(box.left() + 3, box.center().y() + 0.5);
    mark.lineTo(box.left() + 6, box.bottom() - 3.5);
    mark.lineTo(box.right() - 2.5, box.top() + 3);
    if (checked) {
        paint::glow(
            image,
            [&](QPainter &g) {
                g.setPen(QPen(QColor::fromRgba(kAccent), 3));
                g.drawPath(mark);
            },
            2, 0.8);
    }
    QPainter p;
    paint::begin(p, image);
    paint::well(p, box, 3);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor::fromRgba(checked ? kAccent : kEdgeHi), 1));
    p.drawPath(paint::rounded(box.adjusted(0.5, 0.5, -0.5, -0.5), 3));
    if (checked) {
        p.setPen(QPen(QColor::fromRgba(kAccent), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(mark);
    }
    return image;
}

void resetGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    const QPointF c = g.center();
    const qreal r = g.width() * 0.38;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c - QPointF(r, r), QSizeF(2 * r, 2 * r)), 110 * 16, 290 * 16);
    const qreal a = qDegreesToRadians(110.0);
    const QPointF tip = c + QPointF(std::cos(a), -std::sin(a)) * r;
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawPolygon(QPolygonF({tip + QPointF(-4.5, -1.5), tip + QPointF(1.5, -4.5), tip + QPointF(1.0, 2.5)}));
}

void applyGlyph(QPainter &p, const QRectF &g, const QColor &ink)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(g.left() + 1.5, g.center().y() + 0.5),
                              QPointF(g.left() + g.width() * 0.4, g.bottom() - 2.5),
                              QPointF(g.right() - 1, g.top() + 2.5)}));
}

using Glyph = void (*)(QPainter &, const QRectF &, const QColor &);

// A text button of the pages: a glyph at the left, the scene's text from x = 30.
QImage pageButton(QSize size, Glyph glyph, bool lit)
{
    QImage image = paint::canvas(size);
    const QRectF all = whole(size);
    const QRectF glyphBox(8, (size.height() - 16) / 2.0, 16, 16);
    const QColor ink = QColor::fromRgba(lit ? kAccent : kIdle);
    QPainter p;
    paint::begin(p, image);
    if (lit)
        paint::plate(p, all, kButtonRadius, paint::mix(kSurfaceHi, kAccentDeep, 0.4).rgba(), kSurfaceLo,
                     kAccent);
    else
        paint::plate(p, all, kButtonRadius, kSurfaceHi, kSurfaceLo, kEdge);
    p.end();
    if (lit) {
        paint::luminousOutline(image, paint::rounded(all.adjusted(0.5, 0.5, -0.5, -0.5), kButtonRadius),
                               kAccent, 1.0, 3, 0.6);
        paint::glow(
            image, [&](QPainter &g) { glyph(g, glyphBox, ink); }, 2, 0.9);
    }
    paint::begin(p, image);
    glyph(p, glyphBox, ink);
    return image;
}

QImage twoButtonFrame()
{
    QImage image = paint::canvas(kTwoButtonFrame);
    QPainter p;
    paint::begin(p, image);
    paint::well(p, whole(kTwoButtonFrame), kPanelRadius - 2);
    p.setPen(QPen(paint::rgba(kAccent, 0.5), 1));
    const qreal mid = kTwoButtonFrame.width() / 2.0;
    p.drawLine(QPointF(mid + 0.5, 12), QPointF(mid + 0.5, kTwoButtonFrame.height() - 12));
    return image;
}

QImage groupBase(QSize segment, int count)
{
    const QSize size(segment.width() * count, segment.height());
    QImage image = paint::canvas(size);
    QPainter p;
    paint::begin(p, image);
    paint::well(p, whole(size), kButtonRadius);
    p.setPen(QPen(QColor::fromRgba(kWellEdge), 1));
    for (int i = 1; i < count; ++i) {
        const qreal x = i * segment.width() + 0.5;
        p.drawLine(QPointF(x, 5), QPointF(x, size.height() - 5));
    }
    return image;
}

QImage groupFiller(QSize size, bool lit)
{
    QImage image = paint::canvas(size);
    const QRectF r = whole(size).adjusted(1.5, 1.5, -1.5, -1.5);
    const QPainterPath shape = paint::rounded(r, kButtonRadius - 1);
    QPainter p;
    paint::begin(p, image);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, paint::rgba(kAccent, lit ? 0.42 : 0.16));
    fill.setColorAt(1, paint::rgba(kAccent, lit ? 0.12 : 0.05));
    p.setPen(QPen(paint::rgba(kAccent, lit ? 1.0 : 0.45), 1));
    p.setBrush(fill);
    p.drawPath(shape);
    if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgba(kAccent));
        p.drawRect(QRectF(r.left() + 8, r.bottom() - 2, r.width() - 16, 1.5));
    }
    return image;
}

QImage fileListButton()
{
    QImage image = paint::canvas(kFileListButton);
    const QRectF all = whole(kFileListButton);
    QPainter p;
    paint::begin(p, image);
    paint::plate(p, all, kButtonRadius, kSurfaceHi, kSurfaceLo, kEdgeHi);
    const qreal split = all.right() - 26;
    p.setPen(QPen(QColor::fromRgba(kEdge), 1));
    p.drawLine(QPointF(split + 0.5, 5), QPointF(split + 0.5, all.bottom() - 5));
    const QPointF c(split + 13, all.center().y() + 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(kAccent));
    p.drawPolygon(QPolygonF({c + QPointF(-5, -3), c + QPointF(5, -3), c + QPointF(0, 3)}));
    return image;
}

QImage buttonFrame()
{
    QImage image = paint::canvas(kButtonFrame);
    const qreal w = kButtonFrame.width() - 0.5;
    const qreal h = kButtonFrame.height() - 0.5;
    const qreal cut = 7;
    QPainterPath shape;
    shape.addPolygon(QPolygonF({QPointF(0.5 + cut, 0.5), QPointF(w, 0.5), QPointF(w, h - cut),
                                QPointF(w - cut, h), QPointF(0.5, h), QPointF(0.5, 0.5 + cut)}));
    shape.closeSubpath();
    QPainter p;
    paint::begin(p, image);
    QLinearGradient fill(0, 0, 0, kButtonFrame.height());
    fill.setColorAt(0, QColor::fromRgba(kSurfaceHi));
    fill.setColorAt(1, QColor::fromRgba(kSurfaceLo));
    p.setBrush(fill);
    p.setPen(QPen(QColor::fromRgba(kEdgeHi), kEdgeWidth));
    p.drawPath(shape);
    p.setPen(Qt::NoPen);
    p.setBrush(paint::rgba(kAccent, 0.8));
    p.drawRect(QRectF(w - 18, h - 2.5, 12, 1.5));
    p.drawRect(QRectF(6.5, 1.5, 12, 1.5));
    return image;
}

} // namespace

void addCommonPictures(PictureList &out)
{
    paint::add(out, QStringLiteral("common/slider_BASE"), sliderBase(kSlider8, 8));
    paint::add(out, QStringLiteral("common/slider_FILLER_0"), sliderFiller(kSlider8, 8, false));
    paint::add(out, QStringLiteral("common/slider_FILLER_1"), sliderFiller(kSlider8, 8, true));
    paint::add(out, QStringLiteral("common/slider_11_BASE"), sliderBase(kSlider11, 11));
    paint::add(out, QStringLiteral("common/slider_11_FILLER_0"), sliderFiller(kSlider11, 11, false));
    paint::add(out, QStringLiteral("common/slider_11_FILLER_1"), sliderFiller(kSlider11, 11, true));
    paint::add(out, QStringLiteral("common/draw_line"), lineRule());
    paint::add(out, QStringLiteral("common/filelist_BASE"), plainWell(kFileList, kPanelRadius - 2, false));
    paint::add(out, QStringLiteral("common/draw_inputValue"), plainWell(kInputValue, 3, true));
    paint::add(out, QStringLiteral("common/draw_palette"), palette());
    paint::add(out, QStringLiteral("common/draw_paletteIndex"), paletteIndex());
    paint::add(out, QStringLiteral("common/checkbox_0"), checkbox(false));
    paint::add(out, QStringLiteral("common/checkbox_1"), checkbox(true));
    paint::add(out, QStringLiteral("common/reset_0"), pageButton(kPageButton, resetGlyph, false));
    paint::add(out, QStringLiteral("common/reset_1"), pageButton(kPageButton, resetGlyph, true));
    paint::add(out, QStringLiteral("common/apply_0"), pageButton(kPageButton, applyGlyph, false));
    paint::add(out, QStringLiteral("common/apply_1"), pageButton(kPageButton, applyGlyph, true));
    paint::add(out, QStringLiteral("common/fram_2btn"), twoButtonFrame());
    paint::add(out, QStringLiteral("common/btnGroup_4_BASE"), groupBase(kGroup4Segment, 4));
    paint::add(out, QStringLiteral("common/btnGroup_8_BASE"), groupBase(kGroup8Segment, 8));
    paint::add(out, QStringLiteral("common/btnGroup_FILLER_0"), groupFiller(kGroup4Segment, false));
    paint::add(out, QStringLiteral("common/btnGroup_FILLER_1"), groupFiller(kGroup4Segment, true));
    paint::add(out, QStringLiteral("common/btnGroup2_FILLER_0"), groupFiller(kGroup8Segment, false));
    paint::add(out, QStringLiteral("common/btnGroup2_FILLER_1"), groupFiller(kGroup8Segment, true));
    paint::add(out, QStringLiteral("common/btnFileListFrame"), fileListButton());
    paint::add(out, QStringLiteral("common/btnFrame"), buttonFrame());

    // The recoil page's apply button is the page button with a reticle instead of the check mark.
    const Glyph reticle = [](QPainter &p, const QRectF &g, const QColor &ink) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.4));
        p.drawEllipse(g.center(), g.width() * 0.34, g.width() * 0.34);
        p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::FlatCap));
        const QPointF c = g.center();
        const qreal r = g.width() / 2;
        p.drawLine(c - QPointF(r, 0), c - QPointF(r * 0.4, 0));
        p.drawLine(c + QPointF(r * 0.4, 0), c + QPointF(r, 0));
        p.drawLine(c - QPointF(0, r), c - QPointF(0, r * 0.4));
        p.drawLine(c + QPointF(0, r * 0.4), c + QPointF(0, r));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawEllipse(c, 1.3, 1.3);
    };
    paint::add(out, QStringLiteral("gun/apply_gun0"), pageButton(kPageButton, reticle, false));
    paint::add(out, QStringLiteral("gun/apply_gun1"), pageButton(kPageButton, reticle, true));
}
