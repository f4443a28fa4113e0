// The desktop's pointer settings through GSettings, run for real against GIO's in-memory backend; built a
// second time (VESK_WITHOUT_SCHEMA) for a desktop that has no mouse schema installed.
#include "pointersettings.h"

#include <QTemporaryDir>
#include <QTest>

#include <gio/gio.h>

class TestPointerSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
#ifdef VESK_WITHOUT_SCHEMA
    void everyCallFails();
#else
    void speed_data();
    void speed();
    void acceleration_data();
    void acceleration();
    void doubleClickTime();
    void scrollLinesHaveNoDesktopSetting();
#endif

private:
    QTemporaryDir m_empty;
    GSettings *mouse();
};

void TestPointerSettings::initTestCase()
{
    // Before GIO's first use: it reads these once per process.
    qputenv("GSETTINGS_BACKEND", "memory");
#ifdef VESK_WITHOUT_SCHEMA
    QVERIFY(m_empty.isValid());
    qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(m_empty.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(m_empty.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_empty.path()));
#else
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    GSettingsSchema *schema =
        source ? g_settings_schema_source_lookup(source, "org.gnome.desktop.peripherals.mouse", TRUE)
               : nullptr;
    if (!schema)
        QSKIP("the package gsettings-desktop-schemas is not installed");
    g_settings_schema_unref(schema);
#endif
}

#ifdef VESK_WITHOUT_SCHEMA

void TestPointerSettings::everyCallFails()
{
    std::unique_ptr<PointerSettings> settings = PointerSettings::createSystemSettings();
    PointerSettings::MouseParams params{6, 10, 1};
    QVERIFY(!settings->mouseParams(params));
    QCOMPARE(params.threshold1, 6); // untouched
    QVERIFY(!settings->setMouseParams(params));
    QVERIFY(!settings->setMouseSpeed(10));
    QVERIFY(!settings->setWheelScrollLines(3));
    QVERIFY(!settings->setDoubleClickTime(550));
}

#else

GSettings *TestPointerSettings::mouse()
{
    static GSettings *settings = g_settings_new("org.gnome.desktop.peripherals.mouse");
    return settings;
}

void TestPointerSettings::speed_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("desktop");

    QTest::newRow("slowest") << 1 << true << -1.0;
    QTest::newRow("slower half in nine steps") << 5 << true << -5.0 / 9;
    QTest::newRow("default") << 10 << true << 0.0;
    QTest::newRow("faster half in ten steps") << 15 << true << 0.5;
    QTest::newRow("fastest") << 20 << true << 1.0;
    QTest::newRow("0 is refused") << 0 << false << 0.25;
    QTest::newRow("21 is refused") << 21 << false << 0.25;
}

void TestPointerSettings::speed()
{
    QFETCH(int, speed);
    QFETCH(bool, accepted);
    QFETCH(double, desktop);
    g_settings_set_double(mouse(), "speed", 0.25);
    QCOMPARE(PointerSettings::createSystemSettings()->setMouseSpeed(speed), accepted);
    QCOMPARE(g_settings_get_double(mouse(), "speed"), desktop);
}

void TestPointerSettings::acceleration_data()
{
    QTest::addColumn<int>("acceleration");
    QTest::addColumn<QByteArray>("profile");

    QTest::newRow("on is adaptive") << 1 << QByteArray("adaptive");
    QTest::newRow("off is flat") << 0 << QByteArray("flat");
}

void TestPointerSettings::acceleration()
{
    QFETCH(int, acceleration);
    QFETCH(QByteArray, profile);
    std::unique_ptr<PointerSettings> settings = PointerSettings::createSystemSettings();

    g_settings_reset(mouse(), "accel-profile");
    PointerSettings::MouseParams params;
    QVERIFY(settings->mouseParams(params));
    QCOMPARE(params.acceleration, 1); // the driver's default profile for a mouse is adaptive

    QVERIFY(settings->setMouseParams({6, 10, acceleration}));
    gchar *written = g_settings_get_string(mouse(), "accel-profile");
    QCOMPARE(QByteArray(written), profile);
    g_free(written);
    QVERIFY(settings->mouseParams(params));
    QCOMPARE(params.acceleration, acceleration);
}

void TestPointerSettings::doubleClickTime()
{
    QVERIFY(PointerSettings::createSystemSettings()->setDoubleClickTime(550));
    QCOMPARE(g_settings_get_int(mouse(), "double-click"), 550);
}

void TestPointerSettings::scrollLinesHaveNoDesktopSetting()
{
    QVERIFY(!PointerSettings::createSystemSettings()->setWheelScrollLines(3));
}

#endif

QTEST_GUILESS_MAIN(TestPointerSettings)
#include "tst_pointersettings.moc"
