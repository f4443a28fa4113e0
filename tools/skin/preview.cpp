// Mock screens and contact sheets: the pictures placed as the scene places them, with sample captions.

#include "preview.h"

#include "paint.h"
#include "skin.h"
#include "skinstyle.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPainter>
#include <QRegularExpression>

#include <functional>

Q_DECLARE_LOGGING_CATEGORY(lcSkin)

using namespace style;

namespace {

class Mock
{
public:
    Mock(const QString &skin, int ratio)
        : m_skin(skin)
        , m_ratio(ratio)
    {}

    // The picture at the mock's pixel ratio; placed with QPainter it covers its size in scene pixels.
    QImage picture(const QString &name)
    {
        const QString file = pictureFile(name, m_ratio);
        QImage image(m_skin.filePath(file));
        if (image.isNull()) {
            qCWarning(lcSkin) << "missing picture" << file;
            image = QImage(QSize(24, 24) * m_ratio, QImage::Format_ARGB32);
            image.fill(Qt::magenta);
            ++m_missing;
        }
        image.setDevicePixelRatio(m_ratio);
        return image;
    }

    // An empty image of `size` scene pixels at the mock's pixel ratio.
    QImage blank(QSize size) const
    {
        QImage image(size * m_ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(m_ratio);
        image.fill(Qt::transparent);
        return image;
    }

    void put(QPainter &p, int x, int y, const QString &name) { p.drawImage(x, y, picture(name)); }

    void text(QPainter &p, qreal x, qreal y, const QString &s, bool lit = false, int size = 11)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(size);
        p.setFont(font);
        p.setPen(lit ? QColor(0x00, 0xff, 0xff) : QColor(0xaa, 0xaa, 0xaa));
        p.drawText(QPointF(x, y), s);
    }

    // The window with its frame, menus and bars; `page` fills the page area, `overlay` goes above the bars.
    QImage screen(int function, const std::function<void(QPainter &, QPoint)> &page,
                  const std::function<void(QPainter &)> &overlay = {})
    {
        QImage image = blank(kWindow);
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing);
        put(p, 0, 0, QStringLiteral("background"));
        put(p, 0, 0, QStringLiteral("frame/frameBackground"));
        const char *names[] = {"fnKeydefine", "fnMacro", "fnColor", "fnSensor", "fnpressGun"};
        const char *captions[] = {"KEY", "MACRO", "COLOR", "SENSOR", "Game"};
        for (int i = 0; i < 5; ++i) {
            const int y = kFnMenu.y() + i * (kFnButton.height() + kFnGap);
            const QLatin1String state(i == function ? "_1" : "_0");
            put(p, kFnMenu.x(), y, QLatin1String("list_fn/listFnBtn") + state);
            put(p, kFnMenu.x() + kFnIconAt.x(), y + kFnIconAt.y(),
                QLatin1String("list_fn/") + QLatin1String(names[i]) + state);
            text(p, kFnMenu.x() + 44, y + 23, QLatin1String(captions[i]), i == function, 12);
        }
        const int pfX = kWindow.width() - kProfileMenu.width() - 8;
        put(p, pfX, kProfileMenuY, QStringLiteral("list_pf/listPfContainer"));
        const int entryY = kProfileMenuY + 2 * kProfileEntryGap + kProfileEntry.height();
        put(p, pfX + kProfileEntryGap, entryY, QStringLiteral("list_pf/profileFW_1"));
        text(p, pfX + 16, entryY + 25, QStringLiteral("P01"), true);
        if (page) {
            p.save();
            p.setClipRect(kPageArea);
            page(p, kPageArea.topLeft());
            p.restore();
        }
        for (const paint::Piece &piece : decorationPieces())
            put(p, piece.rect.x(), piece.rect.y(), QString::fromLatin1(piece.path));
        const int bottomY = kWindow.height() - kBottomBar.height();
        put(p, 0, bottomY, QStringLiteral("list_dn/listDnContainer"));
        put(p, 372, bottomY + 9, QStringLiteral("common/btnFrame"));
        put(p, 508, bottomY + 9, QStringLiteral("common/btnFrame"));
        text(p, 402, bottomY + 28, QStringLiteral("ALL RESET"));
        text(p, 542, bottomY + 28, QStringLiteral("ALL SAVE"));
        put(p, 0, 0, QStringLiteral("list_up/listUpContainer"));
        put(p, 8, 2, QStringLiteral("list_up/applicationSetting_0"));
        put(p, kWindow.width() - 8 - kTopIcon.width(), 2, QStringLiteral("list_up/applicationMinimize_0"));
        put(p, (kWindow.width() - kLogo.width()) / 2, 4, QStringLiteral("frame/web_0"));
        if (overlay)
            overlay(p);
        p.end();
        // On a neutral desktop, so that the window's transparent corners show.
        const QSize deskSize = kWindow + QSize(60, 60);
        QImage desk = blank(deskSize);
        QPainter d(&desk);
        QLinearGradient g(0, 0, 0, deskSize.height());
        g.setColorAt(0, QColor(70, 78, 90));
        g.setColorAt(1, QColor(40, 44, 52));
        d.fillRect(QRect(QPoint(0, 0), deskSize), g);
        d.drawImage(30, 30, image);
        return desk;
    }

    void twoButtons(QPainter &p, int x, int y)
    {
        put(p, x, y, QStringLiteral("common/fram_2btn"));
        put(p, x + 10, y + 8, QStringLiteral("common/reset_0"));
        put(p, x + 130, y + 8, QStringLiteral("common/apply_1"));
        text(p, x + 46, y + 28, QStringLiteral("RESET"));
        text(p, x + 166, y + 28, QStringLiteral("APPLY"), true);
    }

    void slider(QPainter &p, int x, int y, bool eleven, int position)
    {
        const QString base = eleven ? QStringLiteral("common/slider_11_") : QStringLiteral("common/slider_");
        const int positions = eleven ? 11 : 8;
        const QImage track = picture(base + QLatin1String("BASE"));
        const QImage filler = picture(base + QLatin1String("FILLER_1"));
        p.drawImage(x, y, track);
        const qreal step = (track.deviceIndependentSize().width() - 2.0 * kSliderInset) / (positions - 1);
        const int width = qRound(kSliderInset + position * step + 4);
        // The source rectangle is in the picture's own pixels.
        p.drawImage(QPoint(x, y), filler, QRect(0, 0, width * m_ratio, filler.height()));
    }

    int ratio() const { return m_ratio; }
    int missing() const { return m_missing; }

private:
    QDir m_skin;
    int m_ratio;
    int m_missing = 0;
};

void keyPage(Mock &m, QPainter &p, QPoint o)
{
    m.put(p, o.x(), o.y(), QStringLiteral("list_center/fnKeydefineBackground"));
    m.put(p, o.x() + 20, o.y() + 21, QStringLiteral("model_ms/model_Vesk_KeyDefine"));
    for (int i = 0; i < 9; ++i) {
        if (i == 3)
            m.put(p, o.x() + 290, o.y() + 22 + i * 30, QStringLiteral("common/btnGroup_FILLER_1"));
        m.text(p, o.x() + 300, o.y() + 40 + i * 30, QStringLiteral("KEY %1").arg(i + 1), i == 3);
    }
    m.put(p, o.x() + 490, o.y() + 30, QStringLiteral("common/btnFileListFrame"));
    m.text(p, o.x() + 500, o.y() + 48, QStringLiteral("KEYBOARD"), true);
    m.put(p, o.x() + 490, o.y() + 80, QStringLiteral("common/draw_inputValue"));
    m.text(p, o.x() + 498, o.y() + 96, QStringLiteral("KEY  A"));
    m.put(p, o.x() + 490, o.y() + 120, QStringLiteral("common/draw_line"));
    m.twoButtons(p, o.x() + 492, o.y() + 370);
}

void macroPage(Mock &m, QPainter &p, QPoint o)
{
    m.put(p, o.x(), o.y(), QStringLiteral("list_center/fnMacroBackground"));
    m.put(p, o.x() + 12, o.y() + 12 + 44, QStringLiteral("common/filelist_BASE"));
    m.text(p, o.x() + 24, o.y() + 40, QStringLiteral("MACRO"), true, 12);
    m.put(p, o.x() + 180, o.y() + 22, QStringLiteral("common/add_0"));
    m.put(p, o.x() + 212, o.y() + 22, QStringLiteral("common/delete_1"));
    for (int i = 0; i < 3; ++i)
        m.text(p, o.x() + 24, o.y() + 80 + i * 24, QStringLiteral("macro_%1").arg(i + 1), i == 1);
    m.text(p, o.x() + 276, o.y() + 40, QStringLiteral("ACTION"), true, 12);
    const char *rows[] = {"A    [Down]", "50   [Delay]", "A      [Up]", "MS-L    [Down]", "MS-L      [Up]"};
    for (int i = 0; i < 5; ++i)
        m.text(p, o.x() + 280, o.y() + 80 + i * 24, QLatin1String(rows[i]), i == 2);
    const char *tools[] = {"record_1",    "stop_0",        "solid-delete_0",
                           "solid-cut_0", "solid-paste_0", "solid-copy_1"};
    for (int i = 0; i < 6; ++i)
        m.put(p, o.x() + 592, o.y() + 30 + i * 40, QLatin1String("common/") + QLatin1String(tools[i]));
    m.put(p, o.x() + 586, o.y() + 300, QStringLiteral("common/draw_inputValue"));
}

void colourPage(Mock &m, QPainter &p, QPoint o)
{
    m.put(p, o.x(), o.y(), QStringLiteral("list_center/fnColorBackground"));
    m.put(p, o.x() + 20, o.y() + 21, QStringLiteral("model_ms/model_Vesk_Color"));
    const char *effects[] = {"LED POWER ON", "STATIC", "TWINKLING", "BREATHING", "NEON", "WAVE"};
    for (int i = 0; i < 6; ++i) {
        m.put(p, o.x() + 292, o.y() + 26 + i * 28, QStringLiteral("common/checkbox_%1").arg(i == 3 ? 1 : 0));
        m.text(p, o.x() + 316, o.y() + 39 + i * 28, QLatin1String(effects[i]), i == 3);
    }
    m.put(p, o.x() + 520, o.y() + 30, QStringLiteral("common/draw_palette"));
    m.put(p, o.x() + 520 + 120, o.y() + 30 + 40, QStringLiteral("common/draw_paletteIndex"));
    m.text(p, o.x() + 510, o.y() + 180, QStringLiteral("BRIGHTNESS"));
    m.slider(p, o.x() + 510, o.y() + 190, false, 5);
    m.text(p, o.x() + 510, o.y() + 230, QStringLiteral("SPEED"));
    m.slider(p, o.x() + 510, o.y() + 240, false, 2);
    m.twoButtons(p, o.x() + 497, o.y() + 370);
}

void sensorPage(Mock &m, QPainter &p, QPoint o)
{
    m.put(p, o.x(), o.y(), QStringLiteral("list_center/fnCommonBackground"));
    m.text(p, o.x() + 30, o.y() + 40, QStringLiteral("POLLING RATE"));
    m.put(p, o.x() + 200, o.y() + 24, QStringLiteral("common/btnGroup_4_BASE"));
    m.put(p, o.x() + 200 + 3 * kGroup4Segment.width(), o.y() + 24,
          QStringLiteral("common/btnGroup_FILLER_1"));
    m.put(p, o.x() + 200 + 1 * kGroup4Segment.width(), o.y() + 24,
          QStringLiteral("common/btnGroup_FILLER_0"));
    const char *rates[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
    for (int i = 0; i < 4; ++i)
        m.text(p, o.x() + 210 + i * 60, o.y() + 42, QLatin1String(rates[i]), i == 3);
    const char *rows[] = {"CURSOR SPEED", "VERTICAL SCROLL SPEED", "DOUBLE CLICK SPEED"};
    for (int i = 0; i < 3; ++i) {
        m.text(p, o.x() + 30, o.y() + 90 + i * 40, QLatin1String(rows[i]));
        m.slider(p, o.x() + 200, o.y() + 78 + i * 40, true, (i * 4 + 5) % 11);
    }
    m.text(p, o.x() + 30, o.y() + 230, QStringLiteral("DPI LEVEL"));
    m.put(p, o.x() + 200, o.y() + 214, QStringLiteral("common/btnGroup_8_BASE"));
    m.put(p, o.x() + 200 + 2 * kGroup8Segment.width(), o.y() + 214,
          QStringLiteral("common/btnGroup2_FILLER_1"));
    for (int i = 0; i < 8; ++i)
        m.text(p, o.x() + 210 + i * 56, o.y() + 232, QString::number(400 * (i + 1)), i == 2);
    m.twoButtons(p, o.x() + 497, o.y() + 370);
}

void gunPage(Mock &m, QPainter &p, QPoint o, bool gridOpen)
{
    m.put(p, o.x(), o.y(), QStringLiteral("list_center/fnCommonBackground"));
    m.put(p, o.x() + 24, o.y() + 60, QStringLiteral("gun/gunFrame"));
    m.put(p, o.x() + 34, o.y() + 70, QStringLiteral("gun/0/7"));
    for (int i = 0; i < 3; ++i) {
        m.put(p, o.x() + 24 + i * 48, o.y() + 20,
              i == 1 ? QStringLiteral("gun/fireKey_H") : QStringLiteral("gun/fireKey"));
        m.text(p, o.x() + 40 + i * 48, o.y() + 40, QString::number(i + 1), i == 1);
    }
    m.put(p, o.x() + 370, o.y() + 60, QStringLiteral("gun/frame"));
    m.text(p, o.x() + 390, o.y() + 96, QStringLiteral("Y ADJUST"));
    m.slider(p, o.x() + 490, o.y() + 84, false, 4);
    m.text(p, o.x() + 390, o.y() + 136, QStringLiteral("TIMES"));
    m.put(p, o.x() + 490, o.y() + 120, QStringLiteral("common/draw_inputValue"));
    m.put(p, o.x() + 390, o.y() + 160, QStringLiteral("common/checkbox_1"));
    m.text(p, o.x() + 412, o.y() + 173, QStringLiteral("CURSOR RETURN"));
    m.put(p, o.x() + 627, o.y() + 390, QStringLiteral("gun/apply_gun1"));
    m.text(p, o.x() + 663, o.y() + 410, QStringLiteral("APPLY"), true);
    if (!gridOpen)
        return;
    const int gx = o.x() + 24, gy = o.y() + 200;
    m.put(p, gx, gy, QStringLiteral("gun/gunlist"));
    for (int i = 0; i < 12; ++i) {
        const int cx = gx + kGunGridMargin + (i % kGunColumns) * (kGunCell.width() + kGunGridGap);
        const int cy = gy + kGunGridMargin + (i / kGunColumns) * (kGunCell.height() + kGunGridGap);
        p.drawImage(QRect(cx + 10, cy + 4, kGunCell.width() - 20, kGunCell.height() - 8),
                    m.picture(QStringLiteral("gun/0/%1").arg(i)));
        if (i == 7)
            m.put(p, cx, cy, QStringLiteral("gun/gunFrame_s"));
    }
}

void settingsPanel(Mock &m, QPainter &p)
{
    const QPoint o = kSettingsPanel.topLeft();
    m.put(p, o.x(), o.y(), QStringLiteral("list_center/globalsettingBackground"));
    const char *rows[] = {"ANIMATED", "LANGUAGE", "BACKGROUND", "TEXT SIZE", "TEXT COLOR", "BRIGHTNESS"};
    for (int i = 0; i < 6; ++i)
        m.text(p, o.x() + 18, o.y() + 64 + i * 52, QLatin1String(rows[i]));
    m.put(p, o.x() + 130, o.y() + 50, QStringLiteral("common/checkbox_1"));
    m.put(p, o.x() + 130, o.y() + 100, QStringLiteral("common/btnFileListFrame"));
    m.put(p, o.x() + 130, o.y() + 154, QStringLiteral("common/checkbox_0"));
    m.slider(p, o.x() + 118, o.y() + 310, false, 7);
    m.put(p, o.x() + 45, o.y() + 420 - 46 - 3, QStringLiteral("common/fram_2btn"));
    m.put(p, o.x() + 55, o.y() + 420 - 38 - 3, QStringLiteral("common/reset_1"));
    m.put(p, o.x() + 175, o.y() + 420 - 38 - 3, QStringLiteral("common/apply_0"));
}

// The pictures of the skin folder by path without ".png": the ones drawn in scene pixels.
QStringList picturePaths(const QString &folder)
{
    static const QRegularExpression denser(QStringLiteral("@[0-9]+x$"));
    // QDir::relativeFilePath() relates absolute paths only; a relative one it returns unchanged.
    const QDir root(QFileInfo(folder).absoluteFilePath());
    QStringList paths;
    QDirIterator it(root.path(), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString path = root.relativeFilePath(it.next());
        path.chop(4);
        if (!denser.match(path).hasMatch())
            paths << path;
    }
    paths.sort();
    return paths;
}

// Every picture at the mock's pixel ratio on a checker board, with its name and pixel size below it.
QImage contactSheet(Mock &m, const QStringList &paths)
{
    if (paths.isEmpty())
        return {};
    const QSize cell(250, 190);
    const int columns = 8;
    QImage sheet =
        m.blank(QSize(columns * cell.width(), int((paths.size() + columns - 1) / columns) * cell.height()));
    sheet.fill(QColor(30, 33, 38));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    p.setFont(font);
    for (int i = 0; i < paths.size(); ++i) {
        const QPoint at((i % columns) * cell.width(), (i / columns) * cell.height());
        const QRect area(at + QPoint(5, 5), QSize(cell.width() - 10, cell.height() - 30));
        for (int y = area.top(); y < area.bottom(); y += 8)
            for (int x = area.left(); x < area.right(); x += 8)
                p.fillRect(QRect(x, y, 8, 8).intersected(area),
                           ((x + y) / 8) % 2 ? QColor(52, 56, 62) : QColor(44, 48, 54));
        const QImage image = m.picture(paths[i]);
        const QSize size = image.deviceIndependentSize().toSize();
        const QSize shown =
            size.boundedTo(area.size()) == size ? size : size.scaled(area.size(), Qt::KeepAspectRatio);
        p.drawImage(QRect(area.topLeft() + QPoint((area.width() - shown.width()) / 2,
                                                  (area.height() - shown.height()) / 2),
                          shown),
                    image);
        p.setPen(QColor(190, 190, 190));
        p.drawText(QRect(at.x() + 4, at.y() + cell.height() - 24, cell.width() - 8, 20), Qt::AlignCenter,
                   QStringLiteral("%1  %2x%3")
                       .arg(pictureFile(paths[i], m.ratio()))
                       .arg(image.width())
                       .arg(image.height()));
    }
    return sheet;
}

} // namespace

int runPreview(int argc, char **argv, const QString &skinFolder, const QString &outFolder)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (!QDir().mkpath(outFolder)) {
        qCCritical(lcSkin) << "cannot create" << outFolder;
        return 1;
    }
    const QDir out(outFolder);
    const QStringList paths = picturePaths(skinFolder);
    bool ok = true;
    int missing = 0;
    // The mocks and the sheet once from the pictures in scene pixels and once, named "@2x", from the denser
    // ones as a HiDPI screen shows them.
    for (const int ratio : {1, 2}) {
        Mock m(skinFolder, ratio);
        const auto save = [&out, ratio](const QImage &image, const char *name) {
            return image.save(out.filePath(pictureFile(QLatin1String(name), ratio)), "png");
        };
        ok &= save(m.screen(-1, {}), "mock_start");
        ok &= save(m.screen(0, [&m](QPainter &p, QPoint o) { keyPage(m, p, o); }), "mock_key");
        ok &= save(m.screen(1, [&m](QPainter &p, QPoint o) { macroPage(m, p, o); }), "mock_macro");
        ok &= save(m.screen(2, [&m](QPainter &p, QPoint o) { colourPage(m, p, o); }), "mock_color");
        ok &= save(m.screen(3, [&m](QPainter &p, QPoint o) { sensorPage(m, p, o); }), "mock_sensor");
        ok &= save(m.screen(4, [&m](QPainter &p, QPoint o) { gunPage(m, p, o, true); }), "mock_gun");
        ok &= save(m.screen(
                       0, [&m](QPainter &p, QPoint o) { keyPage(m, p, o); },
                       [&m](QPainter &p) { settingsPanel(m, p); }),
                   "mock_settings");
        const QImage sheet = contactSheet(m, paths);
        ok &= !sheet.isNull() && save(sheet, "sheet");
        missing += m.missing();
    }
    if (!ok || missing > 0) {
        qCCritical(lcSkin) << "preview incomplete:" << missing << "pictures missing";
        return 1;
    }
    return 0;
}
