// The backgrounds of the page area (one per page kind) and of the global-settings panel.

#include "skin.h"
#include "skinstyle.h"

using namespace style;

namespace {

const QSize kPage = kPageArea.size();

// The raised glass of a page: plate, faint lattice, lit corner notches.
QImage pageBase()
{
    QImage image = paint::canvas(kPage);
    QPainter p;
    paint::begin(p, image);
    const QRectF all(QPointF(0, 0), QSizeF(kPage));
    paint::plate(p, all, kPanelRadius, paint::rgba(kSurfaceHi, 0.96).rgba(),
                 paint::rgba(kSurfaceLo, 0.96).rgba(), kEdge);
    p.end();
    QPainterPath notches;
    const qreal arm = 14;
    notches.moveTo(1, arm);
    notches.lineTo(1, kPanelRadius);
    notches.quadTo(1, 1, kPanelRadius, 1);
    notches.lineTo(arm + 10, 1);
    const qreal r = kPage.width() - 1;
    const qreal b = kPage.height() - 1;
    notches.moveTo(r, b - arm);
    notches.lineTo(r, b - kPanelRadius);
    notches.quadTo(r, b, r - kPanelRadius, b);
    notches.lineTo(r - arm - 10, b);
    paint::luminousOutline(image, notches, kAccent, 1.2, 3, 0.7);
    paint::grain(image, kSeed + 1, kGrain);
    return image;
}

QImage pageWith(std::initializer_list<QRect> wells)
{
    QImage image = pageBase();
    QPainter p;
    paint::begin(p, image);
    for (const QRect &w : wells)
        paint::well(p, w, kPanelRadius - 2);
    return image;
}

QImage settingsPanel()
{
    const QSize size = kSettingsPanel.size();
    QImage image = paint::canvas(size);
    QPainter p;
    paint::begin(p, image);
    const QRectF all(QPointF(0, 0), QSizeF(size));
    paint::plate(p, all, kPanelRadius, paint::rgba(kSurfaceHi, 0.97).rgba(),
                 paint::rgba(kSurfaceLo, 0.97).rgba(), kEdge);
    // Header and footer bands; the rows lie between them.
    const QRectF header(1, 1, size.width() - 2, 36);
    const QRectF footer(1, size.height() - 53, size.width() - 2, 52);
    p.setPen(Qt::NoPen);
    p.setBrush(paint::rgba(kShadow, 0.24));
    p.setClipPath(paint::rounded(all.adjusted(1, 1, -1, -1), kPanelRadius - 1));
    p.drawRect(header);
    p.drawRect(footer);
    p.setClipping(false);
    QLinearGradient line(0, 0, size.width(), 0);
    line.setColorAt(0, Qt::transparent);
    line.setColorAt(0.5, paint::rgba(kAccent, 0.55));
    line.setColorAt(1, Qt::transparent);
    p.setPen(QPen(QBrush(line), 1));
    p.drawLine(QPointF(12, header.bottom() + 0.5), QPointF(size.width() - 12, header.bottom() + 0.5));
    p.drawLine(QPointF(12, footer.top() - 0.5), QPointF(size.width() - 12, footer.top() - 0.5));
    // Six row guides: short lit ticks at the left margin.
    p.setPen(Qt::NoPen);
    p.setBrush(paint::rgba(kAccent, 0.5));
    for (int row = 0; row < 6; ++row)
        p.drawRect(QRectF(8, 52 + row * 52, 2, 14));
    p.end();
    QPainterPath top;
    top.moveTo(kPanelRadius, 0.5);
    top.lineTo(size.width() - kPanelRadius, 0.5);
    paint::luminousOutline(image, top, kAccent, 1.2, 3, 0.8);
    paint::grain(image, kSeed + 2, kGrain);
    return image;
}

} // namespace

void addPagePictures(PictureList &out)
{
    // Wells: where the model, lists and controls of each page sit (tools/skin/README.md gives them).
    paint::add(out, QStringLiteral("list_center/fnKeydefineBackground"),
               pageWith({QRect(12, 12, 256, 418), QRect(280, 12, 180, 418), QRect(472, 12, 275, 418)}));
    paint::add(out, QStringLiteral("list_center/fnColorBackground"),
               pageWith({QRect(12, 12, 256, 418), QRect(280, 12, 200, 418), QRect(492, 12, 255, 418)}));
    paint::add(out, QStringLiteral("list_center/fnMacroBackground"),
               pageWith({QRect(12, 12, 240, 418), QRect(264, 12, 300, 418), QRect(576, 12, 171, 418)}));
    paint::add(out, QStringLiteral("list_center/fnCommonBackground"), pageWith({QRect(12, 12, 735, 418)}));
    paint::add(out, QStringLiteral("list_center/globalsettingBackground"), settingsPanel());
}
