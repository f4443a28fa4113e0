#pragma once

#include <QList>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

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
    // What the macro operations ask of the user; tests answer in their place.
    virtual void showMacroCutWarning();
    virtual QString askMacroFileToOpen();
    virtual QString askMacroFileToSave();

private:
    void invokeScene(const char *function);
    void openProfileStore();
};
