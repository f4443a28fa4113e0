#pragma once

#include "pointersettings.h"

#include <QMessageBox>
#include <QQuickWidget>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <memory>

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

    // Application settings: the configuration file, the system's pointer settings, languages, recoil data.
    Q_INVOKABLE bool getMsgAns_FoolProofing();
    Q_INVOKABLE QVariant vesk_getApConfig(const QString &key);
    Q_INVOKABLE void setAcceleration(bool acceleration);
    Q_INVOKABLE void setCursorSpeed(uint cursorSpeed);
    Q_INVOKABLE void setVerticalScrollLines(uint lines);
    Q_INVOKABLE void setDoubleClickSpeed(uint speed);
    Q_INVOKABLE bool getAcceleration();
    Q_INVOKABLE uint getCursorSpeed();
    Q_INVOKABLE uint getVerticalScrollLines();
    Q_INVOKABLE uint getDoubleClickSpeed();
    Q_INVOKABLE QStringList vesk_getProductLayoutStrings(const QString &langCode);
    Q_INVOKABLE void saveApConfig(const QVariantList &apConfigs);
    Q_INVOKABLE QVariantList loadApConfig();
    Q_INVOKABLE void resetApconfig();
    Q_INVOKABLE QString getCustomFilePath();
    Q_INVOKABLE QVariantMap chkLanguages();
    Q_INVOKABLE QStringList getGlobalStrings(const QString &langCode);
    Q_INVOKABLE void saveGundata(const QVariant &gameNo, const QVariantList &gunData);
    Q_INVOKABLE void saveSelGundata(const QVariant &selGun, const QVariantList &gunData);
    Q_INVOKABLE QVariantList getGundata(const QVariant &gameNo);
    Q_INVOKABLE QVariantList getSelGundata(const QVariant &selGun);

    // Replaces the system's pointer settings (tests put a stand-in here).
    void setPointerSettings(std::unique_ptr<PointerSettings> pointerSettings);

    // After every device check: brings the profile mirror up to date from the mouse, or from the store
    // without it.
    void syncWithDevice();

    static constexpr int ProfileCount = 6;

    // The application configuration, kept open for the whole run.
    QSettings *apConfigStore = nullptr;

    // The seven message texts of the active language (boxes of the settings dialogs).
    QStringList msgTable;

    // Number of the product's macro library folder (./modules/macro/<productNo>/).
    int productNo = 1;

    // The window's protocol object; every device command goes through it.
    MS_HT66FB560 *protocol = nullptr;

    // The profile mirror: what the mouse stores, as the program last saw it.
    uchar curProfile = 0;
    QVariantList profile_fw[ProfileCount]; // 128-byte firmware profile block per profile
    QVariantList matrix_fw[ProfileCount];  // 16 × 4-byte key matrix per profile
    QVariantList other_fw[ProfileCount];   // DPI stage, report rate, LED twinkle type

    // Whether the last device check found the mouse.
    bool deviceConnected = false;

    // Which profiles' data were written to the working store, by kind (six booleans each).
    QVariantList profileDirty;
    QVariantList matrixDirty;
    QVariantList otherDirty;

    // The working profile store, kept open for the whole run.
    QSettings *profileStore = nullptr;

protected:
    // The dialogs of the settings, one place each, so that tests can answer them.
    virtual QString askOpenFileName(const QString &caption, const QString &directory, const QString &filter);
    virtual QMessageBox::StandardButton askWarning(const QString &title, const QString &text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton);

private:
    void invokeScene(const char *function);
    void openProfileStore();

    PointerSettings &pointerSettings();
    std::unique_ptr<PointerSettings> m_pointerSettings;
};
