#include "myqquickview.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcView)

void myQQuickView::syncWithDevice()
{
    // The profile mirror that this brings up to date arrives with the profile store.
    qCDebug(lcView) << "synchronisation after the device check:" << (deviceConnected ? "mouse" : "store");
}
