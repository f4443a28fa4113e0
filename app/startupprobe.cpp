#include "startupprobe.h"

#include <QCoreApplication>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTimer>

#include <chrono>
#include <cstdio>

void installStartupProbe(QQuickWidget *view)
{
    if (!qEnvironmentVariableIsSet("VESK_STARTUP_PROBE"))
        return;
    auto *done = new bool(false);
    QObject::connect(
        view->quickWindow(), &QQuickWindow::afterRendering, view,
        [view, done] {
            // The scene stays hidden until its opening animation starts; the first frame that shows it
            // counts.
            if (*done || !view->rootObject() || !view->rootObject()->isVisible())
                return;
            *done = true;
            // Let the widget put the rendered frame on screen before the time is taken.
            QTimer::singleShot(0, view, [] {
                const auto now = std::chrono::steady_clock::now().time_since_epoch();
                std::printf("first-frame-ns %lld\n",
                            static_cast<long long>(std::chrono::nanoseconds(now).count()));
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        },
        Qt::QueuedConnection);
    QObject::connect(view, &QObject::destroyed, [done] { delete done; });
}
