// The whole scene as the program shows it: the real window, view and controller with the shipped pictures,
// languages and configuration, on a real display. Any warning the scene gives fails the test.
#include "../app/testrunfolder.h"
#include "myqquickview.h"
#include "ui_controler.h"
#include "widget.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QSettings>
#include <QTest>

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

QByteArray shippedFile(const QString &relative)
{
    QFile file(Shipped + QLatin1Char('/') + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    void closeControlClosesTheWindow();

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
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.view()->status(), QQuickWidget::Ready);
    window.view()->deviceConnected = mouseFound;
    window.startUi();
    QTRY_VERIFY(root(window)->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(part(window, "menuUp")->property("y").toReal(), 0.0, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(part(window, "menuFunc")->property("x").toReal(), 8.0, 10000);
}

// Every picture item under item whose picture is set but not on screen (missing, unreadable).
QStringList TestScene::picturesNotShown(QQuickItem *item)
{
    QStringList missing;
    const QUrl source = item->property("source").toUrl();
    const QVariant status = item->property("status");
    if (!source.isEmpty() && status.isValid() && status.toInt() != 1 /* Image.Ready */)
        missing << source.toString();
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
    QMetaObject::invokeMethod(part(window, "globalSetting"), "selectLanguage", Q_ARG(QVariant, 0));
    QCOMPARE(root(window)->property("globalSetting_langCode").toString(), QStringLiteral("025044"));
    const QStringList strings = root(window)->property("globalSetting_stringList").toStringList();
    QCOMPARE(strings.size(), 141);
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

QTEST_MAIN(TestScene)
#include "tst_scene.moc"
