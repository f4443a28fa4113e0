// The whole scene as the program shows it: the real window, view and controller with the shipped pictures,
// languages and configuration, on a real display. Any warning the scene gives fails the test.
#include "files.h"
#include "myqquickview.h"
#include "testrunfolder.h"
#include "ui_controler.h"
#include "vmouse.h"
#include "widget.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

using support::shippedFile;

namespace {

const QString Shipped = QStringLiteral(VESK_SHIPPED_MODULES);

QStringList s_warnings;
QtMessageHandler s_previous = nullptr;

// Everything from warning up counts, except the program's own debug log (its categories are "vesk.*").
void recordWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool program = context.category && QByteArray(context.category).startsWith("vesk.");
    if (type != QtDebugMsg && type != QtInfoMsg && !program)
        s_warnings << message;
    if (s_previous)
        s_previous(type, context, message);
}

// The shipped configuration with one entry of the global-settings list replaced.
QByteArray apConfigWith(int entry, const QByteArray &value)
{
    QByteArray config = shippedFile(QStringLiteral("setting/apConfig.bin"));
    const QByteArray key = '\n' + QByteArray::number(entry) + '=';
    const int at = config.indexOf(key);
    if (at < 0)
        return config;
    const int end = config.indexOf('\n', at + 1);
    return config.left(at + key.size()) + value + config.mid(end);
}

// A run folder with the shipped configuration (or the given one), languages and pictures.
class SceneFolder : public TestRunFolder
{
public:
    explicit SceneFolder(const QByteArray &apConfig = shippedFile(QStringLiteral("setting/apConfig.bin")))
        : TestRunFolder(apConfig)
    {
        QDir(path()).mkpath(QStringLiteral("modules/i18n"));
        copy(QStringLiteral("setting/apConfigD.bin"));
        const QStringList languages =
            QDir(Shipped + QStringLiteral("/i18n")).entryList({QStringLiteral("*.ini")}, QDir::Files);
        for (const QString &language : languages)
            copy(QStringLiteral("i18n/") + language);
        QFile::link(Shipped + QStringLiteral("/img"), path() + QStringLiteral("/modules/img"));
    }

private:
    void copy(const QString &relative)
    {
        QFile::copy(Shipped + QLatin1Char('/') + relative, path() + QStringLiteral("/modules/") + relative);
    }
};

vmouse::Block storedBlock(const QSettings &store, const QString &key)
{
    vmouse::Block block{};
    const QVariantList values = store.value(key).toList();
    for (int i = 0; i < values.size() && i < int(block.size()); ++i)
        block[std::size_t(i)] = std::uint8_t(values.at(i).toString().trimmed().toInt());
    return block;
}

// Everything the mouse keeps that the pages can change, as text to compare.
QStringList mouseState()
{
    QStringList state;
    const auto hex = [](const vmouse::Block &b) {
        return QByteArray(reinterpret_cast<const char *>(b.data()), int(b.size())).toHex(' ');
    };
    for (int p = 0; p < 6; ++p) {
        vmouse::Block block = vmouse::profileBlock(p);
        // The recoil page sends its fire keys' values from its own tables: those bytes are its to change.
        if (p >= 2 && p <= 4)
            for (int i : {65, 78, 79, 80, 81})
                block[std::size_t(i)] = 0;
        state << QStringLiteral("profile %1: stage %2 rate %3 block %4 matrix %5")
                     .arg(p)
                     .arg(vmouse::dpiStage(p))
                     .arg(vmouse::reportRate(p))
                     .arg(QString::fromLatin1(hex(block)), QString::fromLatin1(hex(vmouse::keyMatrix(p))));
    }
    state << QStringLiteral("current %1 twinkle %2").arg(vmouse::currentProfile()).arg(vmouse::twinkleType());
    return state;
}

// The roles of the controls a user works: a screen reader tells the user what each one is by its role and
// name.
bool isControlRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::ListItem:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::ColorChooser:
        return true;
    default:
        return false;
    }
}

// What the scene's QML said of an item's accessibility (its Accessible attached object), if anything.
const QObject *accessibleAttached(const QQuickItem *item)
{
    for (const QObject *child : item->children()) {
        if (qstrcmp(child->metaObject()->className(), "QQuickAccessibleAttached") == 0)
            return child;
    }
    return nullptr;
}

QString itemPath(const QQuickItem *item)
{
    QStringList path;
    for (const QQuickItem *i = item; i; i = i->parentItem())
        path.prepend(i->objectName().isEmpty() ? QString::fromLatin1(i->metaObject()->className())
                                               : i->objectName());
    return path.join(QLatin1Char('/'));
}

// Every item under item that takes the pointer or the keyboard (a mouse area that is not switched off, a text
// field), counted in checked; those that no control with a role and a name covers (the item itself or the
// nearest accessible item above it) are listed. An item that the scene keeps from screen readers on purpose
// (Accessible.ignored: a second way to the same control, the window's drag area) is passed over.
QStringList unnamedControls(QQuickItem *item, int &checked)
{
    QStringList unnamed;
    const bool mouseArea = item->inherits("QQuickMouseArea") && item->property("enabled").toBool();
    const QObject *own = accessibleAttached(item);
    if ((mouseArea || item->inherits("QQuickTextInput")) && !(own && own->property("ignored").toBool())) {
        ++checked;
        QAccessibleInterface *control = nullptr;
        for (QQuickItem *i = item; i && !control; i = i->parentItem())
            control = QAccessible::queryAccessibleInterface(i);
        if (!control || !isControlRole(control->role()) ||
            control->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << itemPath(item);
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        unnamed << unnamedControls(child, checked);
    return unnamed;
}

QString languageString(const QString &file, int index)
{
    QSettings language(Shipped + QStringLiteral("/i18n/") + file, QSettings::IniFormat);
    return language.value(QStringLiteral("strings/%1").arg(index)).toString();
}

} // namespace

class TestScene : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void openingSceneShowsEveryPicture();
    void openPanelShowsEveryPicture();
    void stringsAtStartFollowTheMouse_data();
    void stringsAtStartFollowTheMouse();
    void choosingALanguageReadsItsFile();
    void applyWritesTheConfigurationAndResetBringsBackTheDefaults();
    void busyGuardFromTheProgramHoldsTheScene();
    void mousePluggedInLaterIsShownNotOverwritten();
    void mouseThatDoesNotAnswerLeavesTheSceneLive();
    void closeControlClosesTheWindow();
    void everyControlHasAnAccessibleName();

private:
    static QQuickItem *root(Widget &window) { return window.view()->rootObject(); }
    static QObject *part(Widget &window, const char *name)
    {
        return root(window)->findChild<QObject *>(QLatin1String(name));
    }
    static void open(Widget &window, bool mouseFound);
    static QStringList picturesNotShown(QQuickItem *item);
};

void TestScene::initTestCase()
{
    qRegisterMetaType<QList<uchar>>("QList<uchar>");
    // The sensor page sets the desktop's pointer settings: never those of whoever runs the test.
    qputenv("GSETTINGS_BACKEND", "memory");
    s_previous = qInstallMessageHandler(recordWarnings);
}

void TestScene::cleanup()
{
    const QStringList warnings = s_warnings;
    s_warnings.clear();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

// Shows the window and starts the scene the way the program does, with animations as configured.
void TestScene::open(Widget &window, bool mouseFound)
{
    vmouse::reset();
    vmouse::setPlugged(mouseFound);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.view()->status(), QQuickWidget::Ready);
    QSignalSpy checked(&window, &Widget::deviceChecked);
    window.checkDevice();
    window.startUi();
    QVERIFY(checked.wait(15000));
    QCOMPARE(window.view()->deviceConnected, mouseFound);
    // What the end of the check queued for the scene (its result, initUI) runs before the test goes on.
    QCoreApplication::sendPostedEvents();
    QTRY_VERIFY(root(window)->isVisible());
    // The view has the scene build its frame once the first frame is on screen.
    QTRY_VERIFY(root(window)->property("partsBuilt").toBool());
    QTRY_COMPARE_WITH_TIMEOUT(part(window, "menuUp")->property("y").toReal(), 0.0, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(part(window, "menuFunc")->property("x").toReal(), 8.0, 10000);
}

// Every picture item under item whose picture is set but not on screen (missing, unreadable).
QStringList TestScene::picturesNotShown(QQuickItem *item)
{
    QStringList missing;
    // Pictures only: a page's loader has a source too, and loads it only when the page is first opened.
    if (item->inherits("QQuickImageBase")) {
        const QUrl source = item->property("source").toUrl();
        if (!source.isEmpty() && item->property("status").toInt() != 1 /* Image.Ready */)
            missing << source.toString();
    }
    const QList<QQuickItem *> children = item->childItems();
    for (QQuickItem *child : children)
        missing << picturesNotShown(child);
    return missing;
}

void TestScene::openingSceneShowsEveryPicture()
{
    SceneFolder folder;
    Widget window;
    open(window, false);
    QCOMPARE(picturesNotShown(root(window)), QStringList());
    QVERIFY(part(window, "logo"));
    QTRY_COMPARE(part(window, "logo")->property("y").toReal(), 4.0);
}

void TestScene::openPanelShowsEveryPicture()
{
    SceneFolder folder;
    Widget window;
    open(window, true);
    QObject *panel = part(window, "globalSetting");
    root(window)->setProperty("globalSettingOpen", true);
    panel->setProperty("paletteOpen", true);
    part(window, "languageList")->setProperty("opened", true);
    QTRY_VERIFY(panel->property("visible").toBool());
    QTest::qWait(1000);
    QCOMPARE(picturesNotShown(root(window)), QStringList());
    QCOMPARE(part(window, "languageList")->property("elements").toStringList(),
             QStringList({QStringLiteral("CHINESE (Simp)"), QStringLiteral("ENGLISH (UNITED STATES)")}));
}

void TestScene::stringsAtStartFollowTheMouse_data()
{
    QTest::addColumn<bool>("mouseFound");
    QTest::addColumn<QString>("allReset");
    QTest::newRow("mouse found: the configured language")
        << true << languageString(QStringLiteral("lang_025044.ini"), 113);
    QTest::newRow("no mouse: the built-in strings") << false << QStringLiteral("ALL RESET");
}

void TestScene::stringsAtStartFollowTheMouse()
{
    QFETCH(bool, mouseFound);
    QFETCH(QString, allReset);
    QVERIFY(allReset != QStringLiteral("ALL RESET") || !mouseFound);
    // Language 0 of the menu is CHINESE (Simp).
    SceneFolder folder(apConfigWith(4, "0"));
    Widget window;
    open(window, mouseFound);
    QVariant text;
    QMetaObject::invokeMethod(root(window), "str", Q_RETURN_ARG(QVariant, text), Q_ARG(QVariant, 113));
    QCOMPARE(text.toString(), allReset);
}

void TestScene::choosingALanguageReadsItsFile()
{
    SceneFolder folder;
    Widget window;
    open(window, true);
    QCOMPARE(root(window)->property("globalSetting_langCode").toString(), QStringLiteral("031225"));
    // The strings added after the design's list (notices, firmware, hint, tips) are built in as the English
    // file has them, so that a file without them falls back to the same words.
    const QStringList english = root(window)->property("globalSetting_stringList").toStringList();
    const QStringList builtIn = root(window)->property("builtInStringList").toStringList();
    for (int i = 141; i < builtIn.size(); ++i)
        QCOMPARE(english.value(i), builtIn.at(i));
    QMetaObject::invokeMethod(part(window, "globalSetting"), "selectLanguage", Q_ARG(QVariant, 0));
    QCOMPARE(root(window)->property("globalSetting_langCode").toString(), QStringLiteral("025044"));
    const QStringList strings = root(window)->property("globalSetting_stringList").toStringList();
    QCOMPARE(strings.size(), root(window)->property("builtInStringList").toList().size());
    QCOMPARE(strings.value(1), languageString(QStringLiteral("lang_025044.ini"), 1));
    QCOMPARE(root(window)->property("globalSetting_fontFamily").toString(),
             QSettings(Shipped + QStringLiteral("/i18n/lang_025044.ini"), QSettings::IniFormat)
                 .value(QStringLiteral("font/family"))
                 .toString());
}

void TestScene::applyWritesTheConfigurationAndResetBringsBackTheDefaults()
{
    SceneFolder folder;
    Widget window;
    open(window, true);
    QObject *panel = part(window, "globalSetting");
    QMetaObject::invokeMethod(panel, "setTextSize", Q_ARG(QVariant, 1));
    QMetaObject::invokeMethod(panel, "setAnimated", Q_ARG(QVariant, 1));
    QMetaObject::invokeMethod(panel, "apply");
    window.view()->apConfigStore->sync();
    {
        QSettings stored(QStringLiteral("modules/setting/apConfig.bin"), QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("common/total")).toInt(), 32);
        QCOMPARE(stored.value(QStringLiteral("common/3")).toInt(), 1);
        QCOMPARE(stored.value(QStringLiteral("common/4")).toInt(), 1);
        QCOMPARE(stored.value(QStringLiteral("common/7")).toInt(), 1);
        QCOMPARE(stored.value(QStringLiteral("common/31")).toString(),
                 QStringLiteral("https://vesk.example.com/"));
    }

    QMetaObject::invokeMethod(panel, "reset");
    QFile working(QStringLiteral("modules/setting/apConfig.bin"));
    QVERIFY(working.open(QIODevice::ReadOnly));
    QCOMPARE(working.readAll(), shippedFile(QStringLiteral("setting/apConfigD.bin")));
    QCOMPARE(root(window)->property("globalSetting_size").toInt(), 11);
    QCOMPARE(root(window)->property("animation_speed").toInt(), 800);
}

void TestScene::busyGuardFromTheProgramHoldsTheScene()
{
    SceneFolder folder;
    Widget window;
    open(window, false);
    window.controler()->setBusy(300);
    QVERIFY(!window.view()->isEnabled());
    QVERIFY(part(window, "busyIndicator")->property("visible").toBool());
    QTRY_VERIFY_WITH_TIMEOUT(window.view()->isEnabled(), 2000);
    QVERIFY(!part(window, "busyIndicator")->property("visible").toBool());
}

// Started without the mouse, the pages show the store's values; the mouse plugged in later holds its own,
// which the pages then show, so that ALL SAVE gives the mouse back exactly what it holds.
void TestScene::mousePluggedInLaterIsShownNotOverwritten()
{
    SceneFolder folder;
    for (const char *name : {"setting/p_Vesk.bin", "setting/pD_Vesk.bin"})
        QFile::copy(Shipped + QLatin1Char('/') + QLatin1String(name),
                    QStringLiteral("modules/") + QLatin1String(name));
    Widget window;
    open(window, false);
    QTRY_VERIFY_WITH_TIMEOUT(part(window, "productFrame")->property("settled").toBool(), 10000);

    // The mouse holds the shipped profiles, changed where the store cannot know it: another lighting effect,
    // DPI stage, report rate, first DPI value and indicator colours.
    const QSettings store(QStringLiteral("modules/setting/p_Vesk.bin"), QSettings::IniFormat);
    for (int p = 0; p < 6; ++p) {
        vmouse::Block block = storedBlock(store, QStringLiteral("profile_fw/%1").arg(p));
        if (p == 0) {
            for (int i = 0; i < 8; ++i)
                block[std::size_t(16 + i)] = std::uint8_t(7 - i);
        }
        if (p == 1) {
            block[71] = 1;  // STATIC
            block[73] = 0;  // which has no speed
            block[84] = 24; // 1200 DPI
            block[92] = 24;
        }
        vmouse::setProfileBlock(p, block);
        vmouse::setKeyMatrix(p, storedBlock(store, QStringLiteral("matrix_fw/%1").arg(p)));
        vmouse::setDpiStage(p, p == 1 ? 4 : 2);
        vmouse::setReportRate(p, p == 1 ? 2 : 1);
    }
    vmouse::setCurrentProfile(1);
    const QStringList held = mouseState();

    vmouse::setPlugged(true);
    QSignalSpy checked(&window, &Widget::deviceChecked);
    window.checkDevice();
    QVERIFY(checked.wait(15000));
    QVERIFY(window.view()->deviceConnected);
    // The scene rests until the reading is in its pages; ALL SAVE then sends what they show.
    QTRY_VERIFY(!root(window)->property("deviceBusy").toBool());
    QVERIFY(part(window, "productFrame")->property("valuesLoaded").toBool());
    QVERIFY(QMetaObject::invokeMethod(part(window, "productFrame"), "totalApply"));
    QVERIFY(window.deviceLink().waitUntilIdle());
    const QStringList after = mouseState();
    for (int i = 0; i < held.size(); ++i)
        QCOMPARE(after.at(i), held.at(i));
}

// A mouse whose every exchange hangs until the USB time-out: the window shows and answers clicks meanwhile,
// and the check gives up after that one exchange.
void TestScene::mouseThatDoesNotAnswerLeavesTheSceneLive()
{
    SceneFolder folder;
    vmouse::reset();
    vmouse::setWedged(5000);
    Widget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy checked(&window, &Widget::deviceChecked);
    window.checkDevice();
    window.startUi();

    QTRY_VERIFY(root(window)->property("partsBuilt").toBool());
    QTRY_COMPARE_WITH_TIMEOUT(part(window, "menuFunc")->property("x").toReal(), 8.0, 10000);
    QVERIFY2(window.view()->isCheckingDevice(), "the opening ran while the mouse was being asked");
    QObject *frame = part(window, "productFrame");
    QTest::mouseClick(window.view(), Qt::LeftButton, {}, QPoint(83, 298));
    QTRY_COMPARE(frame->property("curPage").toInt(), 2);
    QVERIFY(window.view()->isCheckingDevice());

    QVERIFY(checked.wait(15000));
    QVERIFY(!window.view()->deviceConnected);
    int frames = 0;
    for (const vmouse::WireRecord &r : vmouse::wireLog())
        frames += r.kind == vmouse::WireKind::FeatureOut ? 1 : 0;
    QCOMPARE(frames, 1); // the check's 01H, and nothing after it
    vmouse::setWedged(0);
}

void TestScene::closeControlClosesTheWindow()
{
    SceneFolder folder;
    Widget window;
    open(window, false);
    QQuickItem *close = qobject_cast<QQuickItem *>(part(window, "closeButton"));
    QVERIFY(close);
    const QPoint centre = close->mapToScene(QPointF(close->width() / 2, close->height() / 2)).toPoint();
    QTest::mouseClick(window.view(), Qt::LeftButton, {}, centre);
    QVERIFY(window.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 5000);
}

// Orca reads a control by its role and name: every page, the panel and the open menus, in the language the
// configuration names (Chinese here, whose strings come from its file).
void TestScene::everyControlHasAnAccessibleName()
{
    SceneFolder folder(apConfigWith(4, "0"));
    Widget window;
    open(window, true);
    root(window)->setProperty("animation_speed", 10);
    QObject *frame = part(window, "productFrame");
    for (int page = 0; page < 5; ++page) {
        QMetaObject::invokeMethod(frame, "functionClicked", Q_ARG(QVariant, page));
        QTRY_COMPARE(frame->property("curPage").toInt(), page);
    }
    root(window)->setProperty("globalSettingOpen", true);
    QTRY_VERIFY(part(window, "languageList"));
    for (const char *menu : {"languageList", "functionMenu", "gunGameList"})
        part(window, menu)->setProperty("opened", true);
    part(window, "gunPage")->setProperty("gridOpen", true);

    int checked = 0;
    const QStringList unnamed = unnamedControls(root(window), checked);
    qInfo("%d interactive items, %d without a name", checked, int(unnamed.size()));
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
    QVERIFY(checked > 100);

    // The names reach the accessibility tree that the desktop's screen reader walks, from the window down.
    QStringList names;
    QList<QAccessibleInterface *> pending{QAccessible::queryAccessibleInterface(window.view())};
    while (!pending.isEmpty()) {
        QAccessibleInterface *node = pending.takeFirst();
        if (!node)
            continue;
        if (node->role() == QAccessible::Button)
            names << node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i)
            pending << node->child(i);
    }
    const QString close = languageString(QStringLiteral("lang_025044.ini"), 161);
    QVERIFY2(names.contains(close), qPrintable(names.join(QLatin1String(", "))));
}

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
