#pragma once

// The device pages against the real program: the real view over the virtual mouse, in a run folder laid out
// like the program's own with the shipped configuration, profiles, languages, recoil tables and pictures. The
// QML tests reach this as "testEnv": they start every test from a fresh folder and a fresh mouse, answer the
// questions the view asks the user, and read back what reached the mouse, the files and the system.

#include "devicelink.h"
#include "model/mouselayout.h"
#include "ms_ht66fb560.h"
#include "myqquickview.h"
#include "pointersettings.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

class QQmlEngine;

// The system's pointer settings as the view last set them.
struct PointerRecord
{
    PointerSettings::MouseParams params{6, 10, 1};
    int speed = 10;
    unsigned lines = 3;
    unsigned doubleClickMs = 500;
};

// The view with the user's answers given by the test.
class PagesView : public myQQuickView
{
public:
    bool confirmAnswer = true;
    int questions = 0;
    int warnings = 0;
    QString openAnswer;
    QString saveAnswer;
    int openDialogs = 0;
    int saveDialogs = 0;

protected:
    QString askOpenFileName(const QString &, const QString &, const QString &) override;
    QString askSaveFileName(const QString &, const QString &, const QString &) override;
    QMessageBox::StandardButton askWarning(const QString &, const QString &,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton) override;
};

class PagesEnv : public QObject
{
    Q_OBJECT
    // What getMsgAns_FoolProofing and the other OK/Cancel questions answer: true = OK.
    Q_PROPERTY(bool confirmAnswer READ confirmAnswer WRITE setConfirmAnswer)
    Q_PROPERTY(int questions READ questions)
    Q_PROPERTY(int warnings READ warnings)
    // What the file dialogs answer (an empty text = cancelled), and how often they were shown.
    Q_PROPERTY(QString openAnswer READ openAnswer WRITE setOpenAnswer)
    Q_PROPERTY(QString saveAnswer READ saveAnswer WRITE setSaveAnswer)
    Q_PROPERTY(int fileDialogs READ fileDialogs)
    Q_PROPERTY(QString folder READ folder)

public:
    explicit PagesEnv(const QString &shippedModules, QObject *parent = nullptr);
    ~PagesEnv() override;

    void setEngine(QQmlEngine *engine);

    // A fresh run folder, a fresh virtual mouse seeded with the shipped profiles, and a fresh view that found
    // the mouse (connected) or not, synchronised as after the program's device check.
    Q_INVOKABLE void reset(bool connected = true);

    // The mouse.
    Q_INVOKABLE QVariantList profileBlock(int profile) const;
    Q_INVOKABLE QVariantList keyMatrix(int profile) const; // the 64 bytes the matrix command carries
    Q_INVOKABLE QVariantList macroBlock(int macroId) const;
    Q_INVOKABLE int currentProfile() const;
    Q_INVOKABLE int reportRate(int profile) const;
    Q_INVOKABLE int dpiStage(int profile) const;
    Q_INVOKABLE int twinkleType() const;
    Q_INVOKABLE void setTwinkleType(int type);
    // Opcodes ("0D", "0F", ...) of the command frames sent since the last clearCommands(), in order.
    Q_INVOKABLE QStringList commands() const;
    Q_INVOKABLE void clearCommands();
    // The mouse goes away: every exchange from now on fails.
    Q_INVOKABLE void unplug();

    // The system's pointer settings: [acceleration, speed, scroll lines, double-click ms].
    Q_INVOKABLE QVariantList pointer() const;

    // Files of the run folder.
    Q_INVOKABLE QStringList macroFiles() const;
    Q_INVOKABLE QVariant setting(const QString &file, const QString &key) const;
    Q_INVOKABLE bool writeFile(const QString &relative, const QString &content);
    Q_INVOKABLE QString readFile(const QString &relative) const;

    bool confirmAnswer() const { return m_view ? m_view->confirmAnswer : true; }
    void setConfirmAnswer(bool answer);
    int questions() const { return m_view ? m_view->questions : 0; }
    int warnings() const { return m_view ? m_view->warnings : 0; }
    QString openAnswer() const { return m_view ? m_view->openAnswer : QString(); }
    void setOpenAnswer(const QString &answer);
    QString saveAnswer() const { return m_view ? m_view->saveAnswer : QString(); }
    void setSaveAnswer(const QString &answer);
    int fileDialogs() const { return m_view ? m_view->openDialogs + m_view->saveDialogs : 0; }
    QString folder() const;

    // Sensor page: the view reads the mouse again, as after a device check, so that a value set on the mouse
    // (setTwinkleType) reaches the view's mirror.
    Q_INVOKABLE void syncView();

private:
    void makeFolder();
    void seedMouse();
    // Everything the view asked of its link has reached the mouse, and the results the view.
    void settle() const;

    QString m_shipped;
    QString m_previousDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MS_HT66FB560> m_ms;
    std::unique_ptr<DeviceLink> m_link;
    std::unique_ptr<PagesView> m_view;
    MouseLayout m_layout{kSupportedModel.layout};
    PointerRecord m_pointer;
    QPointer<QQmlEngine> m_engine;
    QByteArray m_syncedStore; // the working store as the first synchronisation with the seeded mouse left it
};
