#include "graphicsapi.h"

#include "applog.h"
#include "scenebackend.h"

#include <QQuickWindow>

// The scene is flat pictures, text and simple motion, which Qt Quick's software adaptation draws as well as
// OpenGL does. Where OpenGL would only be a software rasteriser (no GPU driver, a virtual machine, a remote
// session), the software adaptation starts faster and holds far less memory. A backend the user chose
// (QT_QUICK_BACKEND, QSG_RHI_BACKEND) wins.
void chooseGraphicsApi()
{
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        return;
    if (platform::openGlIsSoftwareRasterised()) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        qCDebug(lcGraphicsApi) << "the scene is drawn by Qt Quick's software adaptation";
    }
}
