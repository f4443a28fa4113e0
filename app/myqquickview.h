#pragma once

#include <QQuickWidget>

class MS_HT66FB560;
class QSettings;

// Hosts the scene and is its gateway to the program: the scene reaches it as "ui_View", and its invokable
// methods are everything the scene may ask of the mouse, the files and the system. The methods of each
// subsystem live in their own source file.
class myQQuickView : public QQuickWidget
{
    Q_OBJECT

public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    // The window title: "common/name" of the application configuration, empty when missing.
    QString applicationName() const;

    Q_INVOKABLE void initUI();
    Q_INVOKABLE void runUI();

    // After every device check: brings the profile mirror up to date from the mouse, or from the store
    // without it.
    void syncWithDevice();

    // The application configuration, kept open for the whole run.
    QSettings *apConfigStore = nullptr;

    // The window's protocol object; every device command goes through it.
    MS_HT66FB560 *protocol = nullptr;

    // Whether the last device check found the mouse.
    bool deviceConnected = false;

private:
    void invokeScene(const char *function);
};
