#pragma once

#include "copydata.h"
#include "devicechangenotifier.h"
#include "devicelink.h"
#include "hidaccess.h"
#include "ms_ht66fb560.h"

#include <QTimer>
#include <QWidget>

class Ui_Controler;
class myQQuickView;

// The program's one top-level window: frameless, transparent, filled by the scene. It owns the device check
// and what arrives from outside (device changes, copy-data messages).
class Widget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DeviceCheckDelayMs = 2048;

    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Starts the scene's opening once the window is shown. The scene takes the mouse's values ("initUI")
    // when the first check that finds the mouse has read it, which may come before or after.
    void startUi();

    Ui_Controler *controler() const { return m_controler; }
    myQQuickView *view() const;
    MS_HT66FB560 &protocol() { return ms; }
    DeviceLink &deviceLink() { return m_link; }

    // Called by the copy-data channel with this window as context.
    static void onCopyData(const CopyDataRecord &record, void *context);
    // Called by the global input hooks with this window as context; the scene gets the event queued.
    static void onHookKeyboard(int usage, bool isDown, void *context);
    static void onHookMouse(int button, bool isDown, int x, int y, void *context);

public Q_SLOTS:
    // Asks the device link to look for the mouse and read it; the view, the store and the scene are brought
    // up to date when the check ends (deviceChecked). Never waits on the mouse.
    void checkDevice();

Q_SIGNALS:
    // A device check has run to its end (the view is synchronised); connected tells whether the mouse was
    // found and answered.
    void deviceChecked(bool connected);

protected:
    void customEvent(QEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void deviceChangeNotified();
    void deviceCheckEnded(const DeviceCheck &result);

    QTimer checkTimer;
    Ui_Controler *m_controler = nullptr;
    MS_HT66FB560 ms;
    // After the protocol object, so that it is gone (its thread joined) before the protocol object goes.
    DeviceLink m_link{ms};
    DeviceChangeNotifier m_deviceChanges;
    // How a found mouse's command interface is checked for access (tests put a stand-in here).
    HidAccess (*m_probeAccess)(const QString &hidPath) = &probeHidAccess;

    friend class TestWidget;
    friend class TestDeviceCheck;
};
