// Key and button events from the global hooks, handed on to the scene's root functions.
#include "myqquickview.h"
#include "viewlog.h"

#include <QQuickItem>

void myQQuickView::detectKeyboard(bool isDown, uchar usage)
{
    QQuickItem *root = rootObject();
    if (!root) {
        qCDebug(lcView) << "key event without a scene";
        return;
    }
    // Queued: the hook returns before any script runs.
    QMetaObject::invokeMethod(root, "detectKeyboard", Qt::QueuedConnection, Q_ARG(QVariant, QVariant(isDown)),
                              Q_ARG(QVariant, QVariant(int(usage))));
}

void myQQuickView::detectMouse(bool isDown, uchar button, uint x, uint y)
{
    QQuickItem *root = rootObject();
    if (!root) {
        qCDebug(lcView) << "button event without a scene";
        return;
    }
    QMetaObject::invokeMethod(root, "detectMouse", Qt::QueuedConnection, Q_ARG(QVariant, QVariant(isDown)),
                              Q_ARG(QVariant, QVariant(int(button))), Q_ARG(QVariant, QVariant(x)),
                              Q_ARG(QVariant, QVariant(y)));
}
