#include "myqquickview.h"

#include <QLoggingCategory>
#include <QQuickItem>
#include <QSettings>

Q_LOGGING_CATEGORY(lcView, "vesk.view")

namespace {
const QString ApConfigPath = QStringLiteral("./modules/setting/apConfig.bin");
}

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    // Transparent wherever the scene draws nothing, so the frameless window takes the scene's shape.
    setClearColor(Qt::transparent);

    apConfigStore = new QSettings(ApConfigPath, QSettings::IniFormat, this);
    deviceConnected = false;
}

myQQuickView::~myQQuickView() = default;

QString myQQuickView::applicationName() const
{
    return apConfigStore->value(QStringLiteral("common/name")).toString();
}

void myQQuickView::initUI()
{
    invokeScene("initUI");
}

void myQQuickView::runUI()
{
    invokeScene("run");
}

void myQQuickView::invokeScene(const char *function)
{
    QQuickItem *root = rootObject();
    if (!root) {
        qCWarning(lcView) << "no scene to call" << function;
        return;
    }
    QMetaObject::invokeMethod(root, function, Qt::QueuedConnection);
}
