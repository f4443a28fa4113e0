// The baseline of the start-up benchmark: a bare QQuickWidget window of the program's size, built with the
// same Qt, compiler flags and probe as the program, on the scene graph backend the program would choose.
#include "graphicsapi.h"
#include "startupprobe.h"

#include <QApplication>
#include <QQuickWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    chooseGraphicsApi();
    QQuickWidget view;
    view.setSource(QUrl(QStringLiteral("qrc:/bench/minimal.qml")));
    view.show();
    installStartupProbe(&view);
    return app.exec();
}
