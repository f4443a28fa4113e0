#include "ui_controler.h"

#include "applog.h"
#include "myqquickview.h"

#include <QGuiApplication>
#include <QQmlContext>
#include <QQuickItem>
#include <QWidget>
#include <QWindow>

namespace {
const QUrl SceneUrl(QStringLiteral("qrc:/modules/qml/main.qml"));
}

Ui_Controler::Ui_Controler(QObject *parent)
    : QObject(parent)
{}

void Ui_Controler::setupUi(QWidget *window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("Widget"));
    m_window = window;
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setStyleSheet(QStringLiteral("background:transparent;"));

    m_view = new myQQuickView(window);
    m_view->setObjectName(QStringLiteral("ui_View"));
    // The context properties go in before the scene is loaded: QtQuick 2 evaluates bindings while it creates
    // the scene, and a binding that meets an unknown name only logs an error instead of waiting for it.
    m_view->rootContext()->setContextProperty(QStringLiteral("ui_View"), m_view);
    m_view->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), this);
    m_view->setSource(SceneUrl);
    if (m_view->status() != QQuickWidget::Ready)
        qCWarning(lcControler) << "the scene did not load:" << m_view->errors();

    // The view sizes itself to the scene's root item (1000 × 600); the window follows.
    window->resize(m_view->size());
    window->setWindowTitle(m_view->applicationName());
}

void Ui_Controler::onMinimize()
{
    // The main window is the program's only top-level window: closing it ends the program.
    if (m_window)
        m_window->close();
}

bool Ui_Controler::onDragStarted()
{
    if (!m_window || !QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return false;
    QWindow *handle = m_window->windowHandle();
    return handle && handle->startSystemMove();
}

void Ui_Controler::onXChanged(int x)
{
    if (m_window)
        m_window->move(m_window->x() + x, m_window->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (m_window)
        m_window->move(m_window->x(), m_window->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    QObject *root = m_view ? m_view->rootObject() : nullptr;
    if (!root) {
        qCWarning(lcControler) << "busy guard requested without a scene";
        return;
    }
    QMetaObject::invokeMethod(root, "setProtectUI", Qt::DirectConnection,
                              Q_ARG(QVariant, QVariant(busyTime)));
}
