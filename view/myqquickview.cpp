#include "myqquickview.h"

#include "keys/keynamemap.h"
#include "model/mouselayout.h"
#include "profile/profilestore.h"
#include "viewlog.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    // Transparent wherever the scene draws nothing, so the frameless window takes the scene's shape.
    setClearColor(Qt::transparent);

    // Before any scene loads: the pages read the block's offsets and the key codes from it.
    rootContext()->setContextProperty(MouseLayout::kContextProperty, new MouseLayout(m_model.layout, this));

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
