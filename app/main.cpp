#include "applog.h"
#include "globalinputhook.h"
#include "graphicsapi.h"
#include "myqquickview.h"
#include "qtsinglecoreapplication.h"
#include "settings/runfolder.h"
#include "startupprobe.h"
#include "widget.h"

#include <QDir>
#include <QList>
#include <QLoggingCategory>

// Every path the program uses is relative to its run folder: the executable's own, or, once installed, the
// user's copy of the data tree (app/runfolder.h).
static QString executableFolder(const QString &applicationFilePath)
{
    return applicationFilePath.left(applicationFilePath.lastIndexOf(QLatin1Char('/')));
}

// On a Wayland desktop the program runs through XWayland: a Wayland client may not place its own window, and
// XInput 2 sees the keys typed into X11 windows, the program's own among them. Decided before the application
// object exists; a platform the user chose (QT_QPA_PLATFORM) wins.
static bool preferXWayland()
{
#ifdef Q_OS_LINUX
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qgetenv("XDG_SESSION_TYPE") != "wayland")
        return false;
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
#else
    return false;
#endif
}

int main(int argc, char *argv[])
{
    const bool throughXWayland = preferXWayland();
    QtSingleCoreApplication app(argc, argv);
    if (app.isRunning())
        return 1;

    // The program's own debug log stays quiet unless asked for: QT_LOGGING_RULES="vesk.*.debug=true".
    QLoggingCategory::setFilterRules(QStringLiteral("vesk.*.debug=false"));
    if (throughXWayland)
        qCDebug(lcMain) << "Wayland session: the program runs through XWayland";

    chooseGraphicsApi();

    const QString programFolder = executableFolder(QCoreApplication::applicationFilePath());
    const runfolder::RunFolder runFolder = runfolder::choose(
        programFolder, runfolder::installedDataFolder(programFolder), runfolder::userDataFolder());
    QDir::setCurrent(runFolder.path);
    qRegisterMetaType<QList<uchar>>("QList<uchar>");

    auto *window = new Widget;

    // Without global input (no X display, say) keys cannot be captured, and the program runs on.
    GlobalInputHook hooks(false);
    GlobalInputHook::setKeyboardCallback(&Widget::onHookKeyboard, window);
    GlobalInputHook::setMouseCallback(&Widget::onHookMouse, window);
    GlobalInputHook::setAppMessageFilter(&Widget::onCopyData, &app, window);

    // The check runs on the device link's thread: the window shows at once, whatever the mouse does.
    window->checkDevice();
    window->showNormal();
    installStartupProbe(window->view());
    window->startUi();

    const int result = app.exec();

    GlobalInputHook::removeHooks();
    delete window;
    return result;
}
