// The scene's KeyCodeString and the program's keyNameMap must name every key alike: macro lines written
// with the scene's names are encoded with the program's.
#include "keys/keynamemap.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QVariantMap>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        buildKeyNameMap();
        QVariantMap table;
        for (auto it = keyNameMap.cbegin(); it != keyNameMap.cend(); ++it)
            table.insert(it.key(), int(it.value()));
        engine->rootContext()->setContextProperty(QStringLiteral("keyNameTable"), table);
    }
};

QUICK_TEST_MAIN_WITH_SETUP(keycodestring, Setup)
#include "tst_keycodestring.moc"
