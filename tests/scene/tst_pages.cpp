// The device pages and the product frame in Qt Quick Tests (pages/tst_*.qml), against the real view over the
// virtual mouse: every test sees what the program would send to the mouse and write to its files.
#include "pagesenv.h"
#include "scenefakes.h"

#include <QApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT

public:
    Setup()
        : m_env(QStringLiteral(VESK_SHIPPED_MODULES))
    {}

public Q_SLOTS:
    void applicationAvailable()
    {
        qRegisterMetaType<QList<uchar>>("QList<uchar>");
        m_env.reset();
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("testEnv"), &m_env);
        engine->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), &m_controler);
        m_env.setEngine(engine);
    }

private:
    PagesEnv m_env;
    FakeControler m_controler;
};

// The view is a widget: the test needs a QApplication, not the QGuiApplication that QUICK_TEST_MAIN makes.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "tst_pages", QUICK_TEST_SOURCE_DIR, &setup);
}

#include "tst_pages.moc"
