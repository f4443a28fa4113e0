#include "platformlog.h"
#include "scenebackend.h"

#include <QDir>
#include <QGuiApplication>

#include <X11/Xlib.h>

namespace {

bool variableSays(const char *name, std::initializer_list<const char *> values)
{
    const QByteArray value = qgetenv(name).toLower();
    for (const char *v : values) {
        if (value == v)
            return true;
    }
    return false;
}

// A render node is what Mesa draws on a GPU with; without one it falls back to llvmpipe.
bool hasRenderNode()
{
    return !QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty();
}

bool hasExtension(Display *display, const char *name)
{
    int opcode = 0;
    int event = 0;
    int error = 0;
    return XQueryExtension(display, name, &opcode, &event, &error);
}

} // namespace

namespace platform {

bool openGlIsSoftwareRasterised()
{
    if ((!qEnvironmentVariableIsEmpty("LIBGL_ALWAYS_SOFTWARE") && qgetenv("LIBGL_ALWAYS_SOFTWARE") != "0") ||
        variableSays("GALLIUM_DRIVER", {"llvmpipe", "softpipe", "swr"})) {
        qCDebug(lcSceneBackend) << "OpenGL is software: asked for in the environment";
        return true;
    }

    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        Display *display = x11 ? x11->display() : nullptr;
        if (!display)
            return false;
        // Direct rendering reaches the GPU through DRI3 and a render node (Mesa) or through NVIDIA's own GLX;
        // an X server with neither (Xvfb, Xvnc, a forwarded display) leaves OpenGL to a software rasteriser.
        const bool nvidia = hasExtension(display, "NV-GLX");
        const bool direct = hasExtension(display, "DRI3") && hasRenderNode();
        if (!nvidia && !direct) {
            qCDebug(lcSceneBackend) << "OpenGL is software: the X server offers no direct rendering";
            return true;
        }
        return false;
    }
    if (platform.startsWith(QLatin1String("wayland")) && !hasRenderNode()) {
        qCDebug(lcSceneBackend) << "OpenGL is software: no render node";
        return true;
    }
    return false;
}

} // namespace platform
