#pragma once

#include "devicelink.h"
#include "model/mousemodel.h"
#include "pointersettings.h"

#include <QList>
#include <QMessageBox>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <memory>
#include <optional>

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

    // Profiles: defaults, import/export/reset, dirty operations and the firmware profile block's accessors
    // (view/profiles.cpp, view/profilefiles.cpp). A profile index outside 0..5 or a list shorter than its
    // documented length is refused with a debug message: setters then change and send nothing, getters
    // return an empty list or 0.
    Q_INVOKABLE QVariantList vesk_getDefaultProfile(QString key, uchar profileId);
    Q_INVOKABLE void vesk_loadProfile(int profile);
    Q_INVOKABLE void vesk_saveProfile(int profile);
    Q_INVOKABLE void vesk_resetProfile(int profile);
    Q_INVOKABLE void vesk_SetDirty_Profile(uchar profileId);
    Q_INVOKABLE void vesk_SetDirty_Matrix(uchar profileId);
    Q_INVOKABLE void vesk_SetDirty_Other(uchar profileId);
    Q_INVOKABLE uint vesk_GetMaxDpiStage();
    Q_INVOKABLE void vesk_02H_SetCurrentProfile(uchar profileId);
    Q_INVOKABLE void vesk_03H_SetReportRate(uchar rate);
    Q_INVOKABLE void vesk_04H_SetDPIStage(uchar stage);
    Q_INVOKABLE void vesk_0CH_SetRGBLedEffect(uchar effect, uchar light, uchar speed);
    Q_INVOKABLE void vesk_0CH_SetDpi8Color(QVariantList src24);
    Q_INVOKABLE void vesk_0CH_SetDpi8Io(QVariantList src8);
    Q_INVOKABLE void vesk_0CH_SetDpi8Stage(QVariantList src16);
    Q_INVOKABLE void vesk_0CH_SetPressGun(uchar xOffset, uchar yOffset, uchar times, bool enable,
                                          bool cursor_return, uchar profileId);
    Q_INVOKABLE void vesk_0DH_SetKeyMatrix(QVariantList src64);
    Q_INVOKABLE void vesk_SetLED8StageColor(QVariantList src24);
    Q_INVOKABLE uchar vesk_82H_GetCurrentProfile();
    Q_INVOKABLE uchar vesk_83H_GetReportRate();
    Q_INVOKABLE uchar vesk_84H_GetDPIStage();
    Q_INVOKABLE uchar vesk_89H_GetRGBLedTwinkle();
    Q_INVOKABLE QVariantList vesk_8CH_GetRGBLedEffect();
    Q_INVOKABLE QVariantList vesk_8CH_GetDpi8Color();
    Q_INVOKABLE QVariantList vesk_8CH_GetDpi8Io();
    Q_INVOKABLE QVariantList vesk_8CH_GetDpi8Stage();
    Q_INVOKABLE QVariantList vesk_GetLED8StageColor();

    // Refill curProfile and the profile_fw and other_fw lists from the working store / write those lists.
    void reloadProfiles();
    void storeAllProfiles();

    // Whether the mirror holds every profile whole: read from the mouse, or complete in the store. The scene
    // loads its pages only from such a mirror, and sends nothing before it has.
    Q_INVOKABLE bool hasProfileData();
    // The firmware version the last reading of the mouse gave; "unknown" without one. Never asks the mouse.
    Q_INVOKABLE QString vesk_80H_GetFWVersion();

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

    // Macros and key definitions (view/macro*.cpp, view/keydefine.cpp, view/sceneinput.cpp).
    Q_INVOKABLE void vesk_0FH_SetMacroKey(QVariant macroId, QVariant name);
    Q_INVOKABLE void loadMacroIniFromFile(QVariant name);
    Q_INVOKABLE void saveMacroIniToFile(QVariant name);
    Q_INVOKABLE void renameMacroIniFile(QVariant oldName, QVariant newName);
    Q_INVOKABLE QVariant createMacroIni();
    Q_INVOKABLE QVariant deleteMacroIni(QVariant name);
    Q_INVOKABLE QStringList getMacroIniNames();
    Q_INVOKABLE QVariant saveMacroIni(QVariant name, QStringList macros);
    Q_INVOKABLE QStringList loadMacroIni(QVariant name);
    Q_INVOKABLE QVariantList loadMacroIniConfig(QVariant name);
    Q_INVOKABLE void setMacroIniConfig(QVariant name, QVariantList config);
    Q_INVOKABLE QVariantList getKeydefine(QVariant matrixId);
    Q_INVOKABLE QList<uchar> macroIncode(QStringList macros);
    // The global hooks' events, queued to the scene's "detectKeyboard" and "detectMouse".
    void detectKeyboard(bool isDown, uchar usage);
    void detectMouse(bool isDown, uchar button, uint x, uint y);

    // The link that carries every command to the mouse (the window's; tests put their own here).
    void setDeviceLink(DeviceLink *link);
    // Asks the link to look for the mouse that entry `index` of the device list describes (the product's
    // deviceListEntry) and to read it. The
    // scene rests meanwhile; when the check ends, the mirror, the store and the scene are brought up to date.
    // Without `read` the mirror comes from the store even when the mouse is found.
    void checkDevice(int index, const DeviceInfo &entry, bool read = true);
    // Brings the profile mirror up to date after a check: from what was read of the mouse (the store then
    // receives it), from the store for whatever was not read or without the mouse.
    void syncWithDevice(const std::optional<MouseReading> &reading);
    // A check is asked for or under way: the scene takes no edits, and the device setters refuse them.
    bool isCheckingDevice() const { return m_checksPending > 0; }

    // The mouse is attached but this user may not open it (no udev rule): tells the user, once per run, how
    // to install the rule and re-plug (view/accesshint.cpp).
    void showAccessHint(const QString &node);

    // The mouse this view configures: its profile block's layout and its files.
    const MouseModel &model() const { return m_model; }
    static constexpr int ProfileCount = kSupportedModel.layout.profileCount;

    // The application configuration, kept open for the whole run.
    QSettings *apConfigStore = nullptr;

    // The seven message texts of the active language (boxes of the settings dialogs).
    QStringList msgTable;

    // Number of the product's macro library folder (./modules/macro/<productNo>/).
    int productNo = kSupportedModel.product.productNumber;

    // The window's device link; every device command goes through it, none from the GUI thread.
    DeviceLink *deviceLink = nullptr;

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
    // The dialogs, one place each, so that tests can answer them.
    virtual QString askOpenFileName(const QString &caption, const QString &directory, const QString &filter);
    virtual QString askSaveFileName(const QString &caption, const QString &directory, const QString &filter);
    virtual QMessageBox::StandardButton askWarning(const QString &title, const QString &text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton);
    // Where the file dialogs open: the user's desktop.
    static QString desktopFolder();

    bool event(QEvent *event) override;

Q_SIGNALS:
    // A device check has ended and its result is in the mirror, the store and the scene.
    void deviceCheckEnded(const DeviceCheck &result);

private:
    void invokeScene(const char *function, const QVariantList &args = {},
                     Qt::ConnectionType type = Qt::QueuedConnection);
    void deviceCheckDone(const DeviceCheck &result);
    void commandsNotSent(const QStringList &commands, DeviceLink::Failure why);
    void setSceneBusy(bool busy);
    // Whether a device setter may change and send now; logs why not.
    bool takesDeviceEdits(const char *operation) const;
    void openProfileStore();
    // Once the shown scene's first frame is rendered, the scene builds the rest of its frame.
    void sceneRendered();

    static const QEvent::Type BuildScenePartsEvent;
    QMetaObject::Connection m_firstFrameConnection;

    const MouseModel &m_model = kSupportedModel;

    PointerSettings &pointerSettings();
    std::unique_ptr<PointerSettings> m_pointerSettings;

    bool m_accessHintShown = false;

    // The device link's state as the GUI thread follows it.
    int m_checksPending = 0;
    int m_checkIndex = 0;
    DeviceInfo m_checkEntry;
    bool m_checkReads = true;
    bool m_sceneInitialised = false;
    bool m_noMouseNoticed = false;
    QString m_firmwareVersion = QStringLiteral("unknown");

    // Profiles (view/profiles.cpp).
    bool acceptsProfile(int profile, const char *operation) const;
    void storeProfile(int profile);
    // Whether profile's mirror block is whole: a block that never came from the mouse or the store is not
    // sent, since its missing bytes would reach the mouse as zeros nobody chose.
    bool holdsProfileBlock(int profile, const char *operation) const;
    void sendProfileBlock(uchar profile);
    void sendKeyMatrix(uchar profile, const std::array<uchar, 128> &block);
    void reloadProfile(int profile);
};
