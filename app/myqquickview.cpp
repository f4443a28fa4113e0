#include "myqquickview.h"

#include "keynamemap.h"
#include "profilestore.h"

#include <QFile>
#include <QLoggingCategory>
#include <QQuickItem>
#include <QSettings>

Q_LOGGING_CATEGORY(lcView, "vesk.view")

namespace {

const QString ApConfigPath = QStringLiteral("./modules/setting/apConfig.bin");
const QString ProfileStorePath = QStringLiteral("./modules/setting/p_Vesk.bin");
constexpr int MaxCorruptCopies = 100;

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
// of it; the user's file is kept beside it first. An earlier copy with other contents is never replaced.
void keepUnparsableStore(const QSettings &store)
{
    QFile file(store.fileName());
    const bool unparsable =
        store.status() == QSettings::FormatError || (file.size() > 0 && store.allKeys().isEmpty());
    if (!unparsable)
        return;
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcView) << "the profile store could not be read, nor kept aside:" << file.errorString();
        return;
    }
    const QByteArray contents = file.readAll();
    file.close();
    const QString base = store.fileName() + QStringLiteral(".corrupt");
    for (int n = 0; n < MaxCorruptCopies; ++n) {
        const QString aside = n == 0 ? base : base + QLatin1Char('.') + QString::number(n);
        QFile existing(aside);
        if (existing.exists()) {
            if (existing.open(QIODevice::ReadOnly) && existing.readAll() == contents)
                return; // kept on an earlier start
            continue;
        }
        if (file.copy(aside))
            qCWarning(lcView) << "the profile store could not be read; kept as" << aside;
        else
            qCWarning(lcView) << "the profile store could not be read, nor kept aside:" << file.errorString();
        return;
    }
    qCWarning(lcView) << "the profile store could not be read; no free name to keep it aside beside" << base;
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
    profileDirty =
        normalisedDirtyList(profilestore::storedList(*profileStore, QStringLiteral("profile_fw/dirty")));
    matrixDirty =
        normalisedDirtyList(profilestore::storedList(*profileStore, QStringLiteral("matrix_fw/dirty")));
    otherDirty =
        normalisedDirtyList(profilestore::storedList(*profileStore, QStringLiteral("other_fw/dirty")));
    // A stored index outside 0..5 would send every accessor past the mirror; it is ignored (logged).
    curProfile = profilestore::storedCurrentProfile(*profileStore, 0);
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
