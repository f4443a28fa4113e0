#include "copydatachannel.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <qt_windows.h>

namespace {

class CopyDataFilter : public QAbstractNativeEventFilter
{
public:
    CopyDataCallback callback = nullptr;
    void *context = nullptr;

    // Every WM_COPYDATA is consumed with the result 1, whether or not it carried a text to show.
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override
    {
        if (eventType != "windows_generic_MSG" || !message)
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message != WM_COPYDATA)
            return false;
        const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(msg->lParam);
        if (data && callback) {
            const CopyDataRecord record{quintptr(data->dwData), quint32(data->cbData), data->lpData};
            callback(record, context);
        }
        if (result)
            *result = 1;
        return true;
    }
};

} // namespace

struct CopyDataChannel::Private
{
    CopyDataFilter filter;
    bool installed = false;
};

CopyDataChannel::CopyDataChannel(QObject *parent)
    : QObject(parent)
    , m_d(std::make_unique<Private>())
{}

CopyDataChannel::~CopyDataChannel()
{
    remove();
}

QString CopyDataChannel::socketPath()
{
    return {};
}

bool CopyDataChannel::install(CopyDataCallback callback, void *context)
{
    remove();
    m_d->filter.callback = callback;
    m_d->filter.context = context;
    QCoreApplication::instance()->installNativeEventFilter(&m_d->filter);
    m_d->installed = true;
    return true;
}

void CopyDataChannel::remove()
{
    if (m_d->installed && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(&m_d->filter);
    m_d->installed = false;
    m_d->filter.callback = nullptr;
    m_d->filter.context = nullptr;
}
