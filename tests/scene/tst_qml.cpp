// The scene's logic in Qt Quick Tests (qml/tst_*.qml): the widgets on their own, and the root item and the
// global-settings panel against stand-ins for the program.
#include "model/mouselayout.h"
#include "scenefakes.h"

#include <QDesktopServices>
#include <QDir>
#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT

public:
    ~Setup() override
    {
        for (const QString &scheme : handledSchemes())
            QDesktopServices::unsetUrlHandler(scheme);
    }

public Q_SLOTS:
    void applicationAvailable()
    {
        // The pictures are found through the working directory, as in the program's own folder.
        const QString runtime = qEnvironmentVariable("VESK_RUNTIME_DIR");
        if (!runtime.isEmpty())
            QDir::setCurrent(runtime);
    }

    // No address the scene opens may reach the desktop's programs: the stand-in records them instead.
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        for (const QString &scheme : handledSchemes())
            QDesktopServices::setUrlHandler(scheme, &m_view, "openUrl");
        engine->rootContext()->setContextProperty(QStringLiteral("ui_View"), &m_view);
        engine->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), &m_controler);
        engine->rootContext()->setContextProperty(MouseLayout::kContextProperty, &m_layout);
    }

private:
    static QStringList handledSchemes()
    {
        return {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                QStringLiteral("javascript"), QStringLiteral("mailto")};
    }

    FakeView m_view;
    FakeControler m_controler;
    MouseLayout m_layout{kSupportedModel.layout};
};

QUICK_TEST_MAIN_WITH_SETUP(tst_qml, Setup)

#include "tst_qml.moc"
