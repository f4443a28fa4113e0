#pragma once

#include "copydata.h"
#include "devicechangenotifier.h"

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

    // Starts the scene once the window is shown: "initUI" when the mouse was found, then "run".
    void startUi();

    Ui_Controler *controler() const { return m_controler; }
    myQQuickView *view() const;

    // Called by the copy-data channel with this window as context.
    static void onCopyData(const CopyDataRecord &record, void *context);

public Q_SLOTS:
    void checkDevice();

protected:
    void customEvent(QEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    void deviceChangeNotified();

    QTimer checkTimer;
    Ui_Controler *m_controler = nullptr;
    DeviceChangeNotifier m_deviceChanges;

    friend class TestWidget;
};
