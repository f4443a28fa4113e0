#include "widget.h"

#include "applog.h"
#include "myqquickview.h"
#include "ui_controler.h"
#include "userevent.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QSettings>

namespace {
// A copy-data box is modal; messages arriving while one is open are dropped rather than stacked.
bool s_copyDataBoxOpen = false;
} // namespace

Widget::Widget(QWidget *parent)
    : QWidget(parent, Qt::WindowFlags())
{
    ms.setOwner(this);
    m_controler = new Ui_Controler;
    m_controler->setupUi(this);
    view()->setDeviceLink(&m_link);
    connect(view(), &myQQuickView::deviceCheckEnded, this, &Widget::deviceCheckEnded);

    checkTimer.setInterval(DeviceCheckDelayMs);
    checkTimer.setSingleShot(true);
    connect(&checkTimer, &QTimer::timeout, this, &Widget::checkDevice);

    connect(&m_deviceChanges, &DeviceChangeNotifier::devicesChanged, this, &Widget::deviceChangeNotified);
    m_deviceChanges.start();
}

Widget::~Widget()
{
    // The scene goes first: it refers to the controller ("ui_Ctl") until it is gone.
    delete view();
    delete m_controler;
}

myQQuickView *Widget::view() const
{
    return m_controler->view();
}

void Widget::startUi()
{
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::RunUi));
}

void Widget::checkDevice()
{
    const QStringList productNames =
        view()->apConfigStore->value(QStringLiteral("common/product_name")).toStringList();
    const QList<DeviceInfo> devices = readDeviceList(deviceListPath(), productNames);
    const int index = view()->model().product.deviceListEntry;
    DeviceInfo entry;
    if (devices.size() <= index) {
        // A list without the product's entry cannot describe the mouse, and an entry without USB ids finds
        // nothing.
        qCWarning(lcWidget) << "the supported-device list holds" << devices.size()
                            << "entries; the mouse counts as absent";
    } else {
        entry = devices.at(index);
    }
    view()->checkDevice(index, entry);
}

void Widget::deviceCheckEnded(const DeviceCheck &result)
{
    qCDebug(lcWidget) << "device check:"
                      << (result.connected() ? "mouse read"
                          : result.found()   ? "mouse does not answer"
                                             : "no mouse");
    if (result.found() && !result.afterFailedSend) {
        // Enumeration needs no rights, opening does: a found mouse whose node refuses this user is the
        // missing udev rule, and every command would fail.
        const QString node = result.commandPath;
        if (m_probeAccess(node) == HidAccess::Denied) {
            qCWarning(lcWidget) << "the mouse's command interface" << node << "refuses this user";
            // Queued: the box runs its own event loop, and the check must not be re-entered from there.
            myQQuickView *v = view();
            QMetaObject::invokeMethod(
                v, [v, node] { v->showAccessHint(node); }, Qt::QueuedConnection);
        }
    }
    if (!result.afterFailedSend)
        Q_EMIT deviceChecked(view()->deviceConnected);
}

void Widget::deviceChangeNotified()
{
    // Every change restarts the countdown, so a burst of changes leads to one check after the last of them.
    checkTimer.start();
}

void Widget::customEvent(QEvent *event)
{
    if (event->type() == QEvent::User && static_cast<UserEvent *>(event)->code == UserEvent::RunUi)
        view()->runUI();
}

bool Widget::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    if (DeviceChangeNotifier::isDeviceChangeMessage(eventType, message))
        deviceChangeNotified();
    // Never consumed: the system and Qt see every message as usual.
    return QWidget::nativeEvent(eventType, message, result);
}

void Widget::onCopyData(const CopyDataRecord &record, void *context)
{
    auto *window = static_cast<Widget *>(context);
    if (!window)
        return;
    const std::optional<QString> text = copyDataText(record);
    if (!text) {
        qCDebug(lcWidget) << "copy-data message ignored: tag" << Qt::hex << record.dwData << "length"
                          << Qt::dec << record.cbData;
        return;
    }
    if (s_copyDataBoxOpen) {
        qCDebug(lcWidget) << "copy-data message dropped: a box is already open";
        return;
    }
    s_copyDataBoxOpen = true;
    // Shown as plain text: the sender is another process, and its text must not turn into links or markup.
    QMessageBox box(QMessageBox::Warning, window->windowTitle(), *text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    s_copyDataBoxOpen = false;
}

void Widget::onHookKeyboard(int usage, bool isDown, void *context)
{
    auto *window = static_cast<Widget *>(context);
    if (window)
        window->view()->detectKeyboard(isDown, uchar(usage & 0xFF));
}

void Widget::onHookMouse(int button, bool isDown, int x, int y, void *context)
{
    auto *window = static_cast<Widget *>(context);
    if (window)
        window->view()->detectMouse(isDown, uchar(button & 0xFF), uint(x), uint(y));
}
