#include "myqquickview.h"

#include "keys/keynamemap.h"
#include "model/mouselayout.h"
#include "profile/profilestore.h"
#include "viewlog.h"

#include <QCoreApplication>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    // Transparent wherever the scene draws nothing, so the frameless window takes the scene's shape.
    setClearColor(Qt::transparent);

    // Before any scene loads: the pages read the block's offsets and the key codes from it.
    rootContext()->setContextProperty(MouseLayout::kContextProperty, new MouseLayout(m_model.layout, this));

    // The scene shows only what its opening starts with until its first frame is rendered; then it builds the
    // rest (the scene's buildParts).
    m_firstFrameConnection = connect(quickWindow(), &QQuickWindow::afterRendering, this,
                                     &myQQuickView::sceneRendered, Qt::QueuedConnection);

    buildKeyNameMap();
    apConfigStore = new QSettings(m_model.product.configFile, QSettings::IniFormat, this);
    openProfileStore();
    deviceConnected = false;
}

void myQQuickView::openProfileStore()
{
    using namespace profilestore;
    profileStore = new QSettings(m_model.product.storeFile, QSettings::IniFormat, this);
    keepUnparsableStore(*profileStore);
    profileDirty = normalisedDirtyList(storedList(*profileStore, dirtyKey(kProfileFw)), ProfileCount);
    matrixDirty = normalisedDirtyList(storedList(*profileStore, dirtyKey(kMatrixFw)), ProfileCount);
    otherDirty = normalisedDirtyList(storedList(*profileStore, dirtyKey(kOtherFw)), ProfileCount);
    // A stored index outside 0..5 would send every accessor past the mirror; it is ignored (logged).
    curProfile = storedCurrentProfile(*profileStore, 0);
}

myQQuickView::~myQQuickView() = default;

const QEvent::Type myQQuickView::BuildScenePartsEvent = QEvent::Type(QEvent::registerEventType());

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

void myQQuickView::sceneRendered()
{
    QQuickItem *root = rootObject();
    if (!root || !root->isVisible())
        return;
    disconnect(m_firstFrameConnection);
    // Posted as the widget posts its own repaint, at low priority and after it: the frame just rendered
    // reaches the screen before the scene builds its remaining parts.
    QCoreApplication::postEvent(this, new QEvent(BuildScenePartsEvent), Qt::LowEventPriority);
}

bool myQQuickView::event(QEvent *event)
{
    if (event->type() == BuildScenePartsEvent) {
        invokeScene("buildParts", {}, Qt::DirectConnection);
        return true;
    }
    return QQuickWidget::event(event);
}

void myQQuickView::invokeScene(const char *function, const QVariantList &args, Qt::ConnectionType type)
{
    QQuickItem *root = rootObject();
    if (!root) {
        qCDebug(lcView) << "no scene to call" << function;
        return;
    }
    const bool called =
        args.isEmpty() ? QMetaObject::invokeMethod(root, function, type)
                       : QMetaObject::invokeMethod(root, function, type, Q_ARG(QVariant, args.constFirst()));
    if (!called)
        qCDebug(lcView) << "the scene has no function" << function << "taking" << args.size() << "arguments";
}
