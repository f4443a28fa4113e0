#pragma once

// Stand-ins for the program's two context properties, so that the scene's logic runs without files, dialogs
// or a mouse. The tests set what the program answers and read back what the scene asked for.

#include <QDir>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

class FakeView : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList config MEMBER config)
    Q_PROPERTY(QVariantList defaultConfig MEMBER defaultConfig)
    Q_PROPERTY(QVariantList saved MEMBER saved)
    Q_PROPERTY(QVariantMap languages MEMBER languages)
    Q_PROPERTY(QVariantMap strings MEMBER strings)
    Q_PROPERTY(QVariantMap layoutStrings MEMBER layoutStrings)
    Q_PROPERTY(QVariantMap apValues MEMBER apValues)
    Q_PROPERTY(QString customPath MEMBER customPath)
    Q_PROPERTY(int curProfile MEMBER curProfile)
    Q_PROPERTY(bool enabled MEMBER enabled)
    Q_PROPERTY(bool profileData MEMBER profileData)
    Q_PROPERTY(QString fwVersion MEMBER fwVersion)
    Q_PROPERTY(QStringList calls MEMBER calls)
    // What the scene handed to the system's URL handler (the tests register the view in its place).
    Q_PROPERTY(QStringList openedUrls MEMBER openedUrls)

public:
    // Back to a program with no configuration, no languages and no answers.
    Q_INVOKABLE void clear()
    {
        config.clear();
        defaultConfig.clear();
        saved.clear();
        languages.clear();
        strings.clear();
        layoutStrings.clear();
        apValues.clear();
        customPath.clear();
        curProfile = 0;
        enabled = true;
        profileData = false;
        fwVersion = QStringLiteral("unknown");
        calls.clear();
        openedUrls.clear();
    }

    // A copy of the picture at `picture` (relative to the working directory) under the given file name, in a
    // folder of the test's own; its absolute path, empty when it cannot be made.
    Q_INVOKABLE QString copyPicture(const QString &picture, const QString &fileName)
    {
        if (!m_pictures.isValid())
            return {};
        const QString path = QDir(m_pictures.path()).filePath(fileName);
        QFile::remove(path);
        return QFile::copy(picture, path) ? path : QString();
    }

    Q_INVOKABLE void setEnabled(bool on)
    {
        enabled = on;
        calls << QStringLiteral("setEnabled %1").arg(on ? QStringLiteral("true") : QStringLiteral("false"));
    }

    Q_INVOKABLE QVariantList loadApConfig()
    {
        calls << QStringLiteral("loadApConfig");
        return config;
    }
    Q_INVOKABLE void saveApConfig(const QVariantList &list)
    {
        calls << QStringLiteral("saveApConfig");
        saved = list;
        config = list;
    }
    Q_INVOKABLE void resetApconfig()
    {
        calls << QStringLiteral("resetApconfig");
        config = defaultConfig;
    }
    Q_INVOKABLE QVariant vesk_getApConfig(const QString &key)
    {
        calls << QStringLiteral("vesk_getApConfig ") + key;
        return apValues.value(key, 0);
    }
    Q_INVOKABLE QString getCustomFilePath()
    {
        calls << QStringLiteral("getCustomFilePath");
        return customPath;
    }
    Q_INVOKABLE QVariantMap chkLanguages()
    {
        calls << QStringLiteral("chkLanguages");
        return languages;
    }
    // Like the program: a language without a file gives one empty entry.
    Q_INVOKABLE QStringList getGlobalStrings(const QString &langCode)
    {
        calls << QStringLiteral("getGlobalStrings ") + langCode;
        return strings.contains(langCode) ? strings.value(langCode).toStringList() : QStringList{QString()};
    }
    Q_INVOKABLE QStringList vesk_getProductLayoutStrings(const QString &langCode)
    {
        calls << QStringLiteral("vesk_getProductLayoutStrings ") + langCode;
        QStringList layout = layoutStrings.value(langCode).toStringList();
        while (layout.size() < 16)
            layout << QString();
        return layout;
    }
    // The mirror as the last device check left it: whole profiles or not, and the firmware version read.
    Q_INVOKABLE bool hasProfileData()
    {
        calls << QStringLiteral("hasProfileData");
        return profileData;
    }
    Q_INVOKABLE QString vesk_80H_GetFWVersion()
    {
        calls << QStringLiteral("vesk_80H_GetFWVersion");
        return fwVersion;
    }

    Q_INVOKABLE uchar vesk_82H_GetCurrentProfile()
    {
        calls << QStringLiteral("vesk_82H_GetCurrentProfile");
        return uchar(curProfile);
    }
    Q_INVOKABLE void vesk_02H_SetCurrentProfile(uchar profileId)
    {
        calls << QStringLiteral("vesk_02H_SetCurrentProfile %1").arg(profileId);
        curProfile = profileId;
    }
    Q_INVOKABLE void vesk_loadProfile(int profile)
    {
        calls << QStringLiteral("vesk_loadProfile %1").arg(profile);
    }
    Q_INVOKABLE void vesk_saveProfile(int profile)
    {
        calls << QStringLiteral("vesk_saveProfile %1").arg(profile);
    }
    Q_INVOKABLE void vesk_resetProfile(int profile)
    {
        calls << QStringLiteral("vesk_resetProfile %1").arg(profile);
    }

    // The macro page lists the library when it starts or is first shown: the stand-in has none.
    Q_INVOKABLE QStringList getMacroIniNames()
    {
        calls << QStringLiteral("getMacroIniNames");
        return {};
    }

    // The recoil page: a program without recoil files reads empty lists and stores nothing.
    Q_INVOKABLE void saveGundata(const QVariant &gameNo, const QVariantList &)
    {
        calls << QStringLiteral("saveGundata ") + gameNo.toString();
    }
    Q_INVOKABLE QVariantList getGundata(const QVariant &gameNo)
    {
        calls << QStringLiteral("getGundata ") + gameNo.toString();
        return {};
    }
    Q_INVOKABLE void saveSelGundata(const QVariant &selGun, const QVariantList &)
    {
        calls << QStringLiteral("saveSelGundata ") + selGun.toString();
    }
    Q_INVOKABLE QVariantList getSelGundata(const QVariant &selGun)
    {
        calls << QStringLiteral("getSelGundata ") + selGun.toString();
        return {};
    }
    Q_INVOKABLE void vesk_0CH_SetPressGun(uchar, uchar, uchar, bool, bool, uchar profileId)
    {
        calls << QStringLiteral("vesk_0CH_SetPressGun %1").arg(profileId);
    }

    QVariantList config;
    QVariantList defaultConfig;
    QVariantList saved;
    QVariantMap languages;
    QVariantMap strings;
    QVariantMap layoutStrings;
    QVariantMap apValues;
    QString customPath;
    int curProfile = 0;
    bool enabled = true;
    bool profileData = false;
    QString fwVersion = QStringLiteral("unknown");
    QStringList calls;
    QStringList openedUrls;

public:
    // Lighting and sensor pages: the getters they read at start, answering like a view whose profile was
    // refused (empty lists, zeros), so the pages keep their own values.
    Q_INVOKABLE QVariantList vesk_GetLED8StageColor()
    {
        return read(QStringLiteral("vesk_GetLED8StageColor"));
    }
    Q_INVOKABLE QVariantList vesk_8CH_GetRGBLedEffect()
    {
        return read(QStringLiteral("vesk_8CH_GetRGBLedEffect"));
    }
    Q_INVOKABLE QVariantList vesk_8CH_GetDpi8Stage() { return read(QStringLiteral("vesk_8CH_GetDpi8Stage")); }
    Q_INVOKABLE QVariantList vesk_8CH_GetDpi8Color() { return read(QStringLiteral("vesk_8CH_GetDpi8Color")); }
    Q_INVOKABLE QVariantList vesk_8CH_GetDpi8Io() { return read(QStringLiteral("vesk_8CH_GetDpi8Io")); }
    Q_INVOKABLE uint vesk_GetMaxDpiStage() { return readNumber(QStringLiteral("vesk_GetMaxDpiStage")); }
    Q_INVOKABLE uchar vesk_89H_GetRGBLedTwinkle()
    {
        return readNumber(QStringLiteral("vesk_89H_GetRGBLedTwinkle"));
    }
    Q_INVOKABLE uchar vesk_83H_GetReportRate()
    {
        return readNumber(QStringLiteral("vesk_83H_GetReportRate"));
    }
    Q_INVOKABLE uchar vesk_84H_GetDPIStage() { return readNumber(QStringLiteral("vesk_84H_GetDPIStage")); }
    Q_INVOKABLE uint getCursorSpeed() { return readNumber(QStringLiteral("getCursorSpeed")); }
    Q_INVOKABLE uint getVerticalScrollLines() { return readNumber(QStringLiteral("getVerticalScrollLines")); }
    Q_INVOKABLE uint getDoubleClickSpeed() { return readNumber(QStringLiteral("getDoubleClickSpeed")); }

    Q_INVOKABLE QVariantList vesk_getDefaultProfile(const QString &key, uchar profileId)
    {
        return read(QStringLiteral("vesk_getDefaultProfile %1 %2").arg(key).arg(profileId));
    }
    // The setters of the two pages' Apply: recorded by name only.
    Q_INVOKABLE void vesk_SetLED8StageColor(const QVariantList &)
    {
        calls << QStringLiteral("vesk_SetLED8StageColor");
    }
    Q_INVOKABLE void vesk_0CH_SetRGBLedEffect(uchar, uchar, uchar)
    {
        calls << QStringLiteral("vesk_0CH_SetRGBLedEffect");
    }
    Q_INVOKABLE void vesk_03H_SetReportRate(uchar) { calls << QStringLiteral("vesk_03H_SetReportRate"); }
    Q_INVOKABLE void setCursorSpeed(uint) { calls << QStringLiteral("setCursorSpeed"); }
    Q_INVOKABLE void setVerticalScrollLines(uint) { calls << QStringLiteral("setVerticalScrollLines"); }
    Q_INVOKABLE void setDoubleClickSpeed(uint) { calls << QStringLiteral("setDoubleClickSpeed"); }
    Q_INVOKABLE void vesk_0CH_SetDpi8Io(const QVariantList &)
    {
        calls << QStringLiteral("vesk_0CH_SetDpi8Io");
    }
    Q_INVOKABLE void vesk_0CH_SetDpi8Color(const QVariantList &)
    {
        calls << QStringLiteral("vesk_0CH_SetDpi8Color");
    }
    Q_INVOKABLE void vesk_0CH_SetDpi8Stage(const QVariantList &)
    {
        calls << QStringLiteral("vesk_0CH_SetDpi8Stage");
    }
    Q_INVOKABLE void vesk_04H_SetDPIStage(uchar) { calls << QStringLiteral("vesk_04H_SetDPIStage"); }
    // Key page: its Apply.
    Q_INVOKABLE void vesk_0DH_SetKeyMatrix(const QVariantList &)
    {
        calls << QStringLiteral("vesk_0DH_SetKeyMatrix");
    }

public Q_SLOTS:
    void openUrl(const QUrl &url) { openedUrls << url.toString(); }

private:
    QTemporaryDir m_pictures;

    QVariantList read(const QString &call)
    {
        calls << call;
        return {};
    }
    uchar readNumber(const QString &call)
    {
        calls << call;
        return 0;
    }
};

class FakeControler : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariantList moves MEMBER moves)
    Q_PROPERTY(int minimizeCount MEMBER minimizeCount)
    Q_PROPERTY(bool systemMoves MEMBER systemMoves)

public:
    Q_INVOKABLE void clear()
    {
        moves.clear();
        minimizeCount = 0;
        systemMoves = false;
    }

public Q_SLOTS:
    void onMinimize() { ++minimizeCount; }
    bool onDragStarted() { return systemMoves; }
    void onXChanged(int x) { moves << QStringLiteral("x %1").arg(x); }
    void onYChanged(int y) { moves << QStringLiteral("y %1").arg(y); }

public:
    QVariantList moves;
    int minimizeCount = 0;
    bool systemMoves = false; // the desktop moves the window itself (Wayland)
};
