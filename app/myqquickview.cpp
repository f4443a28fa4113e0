#include "myqquickview.h"

#include "keynamemap.h"

#include <QFile>
#include <QLoggingCategory>
#include <QQuickItem>
#include <QSettings>

Q_LOGGING_CATEGORY(lcView, "vesk.view")

namespace {

const QString ApConfigPath = QStringLiteral("./modules/setting/apConfig.bin");
const QString ProfileStorePath = QStringLiteral("./modules/setting/p_Vesk.bin");

// Six flags, whatever the file held: a list of another length has its first six entries cleared (a longer
// list keeps its tail), a shorter one is first extended.
QVariantList normalisedDirtyList(QVariantList list)
{
    if (list.size() == myQQuickView::ProfileCount)
        return list;
    while (list.size() < myQQuickView::ProfileCount)
        list.append(false);
    for (int p = 0; p < myQQuickView::ProfileCount; ++p)
        list[p] = false;
    return list;
}

// A store the settings class cannot parse would be overwritten by the first write with whatever it did make
// of it; the user's file is kept beside it first.
void keepUnparsableStore(const QSettings &store)
{
    QFile file(store.fileName());
    const bool unparsable =
        store.status() == QSettings::FormatError || (file.size() > 0 && store.allKeys().isEmpty());
    if (!unparsable)
        return;
    const QString aside = store.fileName() + QStringLiteral(".corrupt");
    QFile::remove(aside);
    if (file.copy(aside))
        qCWarning(lcView) << "the profile store could not be read; kept as" << aside;
    else
        qCWarning(lcView) << "the profile store could not be read, nor kept aside:" << file.errorString();
}

} // namespace

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    // Transparent wherever the scene draws nothing, so the frameless window takes the scene's shape.
    setClearColor(Qt::transparent);

    buildKeyNameMap();
    apConfigStore = new QSettings(ApConfigPath, QSettings::IniFormat, this);
    openProfileStore();
    deviceConnected = false;
}

void myQQuickView::openProfileStore()
{
    profileStore = new QSettings(ProfileStorePath, QSettings::IniFormat, this);
    keepUnparsableStore(*profileStore);
    profileDirty = normalisedDirtyList(profileStore->value(QStringLiteral("profile_fw/dirty")).toList());
    matrixDirty = normalisedDirtyList(profileStore->value(QStringLiteral("matrix_fw/dirty")).toList());
    otherDirty = normalisedDirtyList(profileStore->value(QStringLiteral("other_fw/dirty")).toList());
    curProfile = uchar(profileStore->value(QStringLiteral("common/curProfile")).toUInt());
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
