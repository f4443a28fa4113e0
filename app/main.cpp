#include "globalinputhook.h"
#include "myqquickview.h"
#include "qtsinglecoreapplication.h"
#include "startupprobe.h"
#include "widget.h"

#include <QDir>
#include <QList>
#include <QLoggingCategory>

// Everything the program reads at run time lies beside the executable, and every path it uses is relative.
static QString executableFolder(const QString &applicationFilePath)
{
    return applicationFilePath.left(applicationFilePath.lastIndexOf(QLatin1Char('/')));
}

int main(int argc, char *argv[])
{
    QtSingleCoreApplication app(argc, argv);
    if (app.isRunning())
        return 1;

    // The program's own debug log stays quiet unless asked for: QT_LOGGING_RULES="vesk.*.debug=true".
    QLoggingCategory::setFilterRules(QStringLiteral("vesk.*.debug=false"));

    QDir::setCurrent(executableFolder(QCoreApplication::applicationFilePath()));
    qRegisterMetaType<QList<uchar>>("QList<uchar>");

    auto *window = new Widget;

    // Without global input (no X display, say) keys cannot be captured, and the program runs on.
    GlobalInputHook hooks(false);
    GlobalInputHook::setKeyboardCallback(&Widget::onHookKeyboard, window);
    GlobalInputHook::setMouseCallback(&Widget::onHookMouse, window);
    GlobalInputHook::setAppMessageFilter(&Widget::onCopyData, &app, window);

    window->checkDevice();
    window->showNormal();
    installStartupProbe(window->view());
    window->startUi();

    const int result = app.exec();

    GlobalInputHook::removeHooks();
    delete window;
    return result;
}
