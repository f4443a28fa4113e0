#include "startupprobe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

long long monotonicNs()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<long long>(std::chrono::nanoseconds(now).count());
}

void printLine(const char *key, long long ns, const char *name = nullptr)
{
    if (name)
        std::printf("%s %s %lld\n", key, name, ns);
    else
        std::printf("%s %lld\n", key, ns);
    std::fflush(stdout);
}

void quitOnceBuilt(QQuickWidget *view)
{
    const QVariant built = view->rootObject() ? view->rootObject()->property("partsBuilt") : QVariant();
    if (!built.isValid() || built.toBool())
        QCoreApplication::quit();
    else
        QTimer::singleShot(1, view, [view] { quitOnceBuilt(view); });
}

void installFirstFrameProbe(QQuickWidget *view)
{
    auto *done = new bool(false);
    QObject::connect(
        view->quickWindow(), &QQuickWindow::afterRendering, view,
        [view, done] {
            // The scene stays hidden until its opening animation starts; the first frame that shows it
            // counts.
            if (*done || !view->rootObject() || !view->rootObject()->isVisible())
                return;
            *done = true;
            // Let the widget put the rendered frame on screen before the time is taken. The program ends once
            // the scene has built what it builds after its first frame, so that its peak memory includes
            // that.
            QTimer::singleShot(0, view, [view] {
                printLine("first-frame-ns", monotonicNs());
                quitOnceBuilt(view);
            });
        },
        Qt::QueuedConnection);
    QObject::connect(view, &QObject::destroyed, [done] { delete done; });
}

// Walks the scene through its pages as a user does: the function menu's click signal, one page after the
// other, each once the previous motion has ended. The scene says so in its frame's "settled"; polled, as the
// scene has no signal a C++ functor could connect to by name.
class PageWalk : public QObject
{
public:
    static constexpr int PageCount = 5;
    static constexpr int PollMs = 10;
    static constexpr int FrameWaitMs = 10000;

    PageWalk(QQuickWidget *view, bool printFrames)
        : QObject(view)
        , m_view(view)
        , m_printFrames(printFrames)
    {
        view->installEventFilter(this);
        if (m_printFrames) {
            // Frames the scene rendered; one the widget never painted did not reach the screen.
            QObject::connect(view->quickWindow(), &QQuickWindow::afterRendering, this, [this] {
                if (m_opened)
                    printLine("render-ns", monotonicNs());
            });
        }
        m_poll.setInterval(PollMs);
        QObject::connect(&m_poll, &QTimer::timeout, this, [this] { step(); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The widget's paint is what goes to the screen: the backing store is flushed right after it.
        if (watched == m_view && event->type() == QEvent::Paint && sceneShown()) {
            const long long now = monotonicNs();
            if (!m_opened)
                opened(now);
            if (m_printFrames)
                printLine("frame-ns", now);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool sceneShown() const { return m_view->rootObject() && m_view->rootObject()->isVisible(); }

    QObject *sceneObject(const char *name) const
    {
        return m_view->rootObject()->findChild<QObject *>(QLatin1String(name));
    }

    void opened(long long now)
    {
        m_opened = true;
        printLine("first-frame-ns", now);
        const QSGRendererInterface *renderer = m_view->quickWindow()->rendererInterface();
        const QSGRendererInterface::GraphicsApi api =
            renderer ? renderer->graphicsApi() : QSGRendererInterface::Unknown;
        const char *name = api == QSGRendererInterface::Software ? "software"
                           : api == QSGRendererInterface::OpenGL ? "opengl"
                           : api == QSGRendererInterface::Vulkan ? "vulkan"
                                                                 : "other";
        std::printf("backend %s\n", name);
        std::fflush(stdout);
        if (m_printFrames)
            printLine("phase-ns", now, "opening");
        m_poll.start();
    }

    void step()
    {
        // The scene builds its frame after the first frame: polled for as long as the opening may take.
        if (!m_frame || !m_menu) {
            m_frame = sceneObject("productFrame");
            m_menu = sceneObject("menuFunc");
            if (!m_frame || !m_menu) {
                if (++m_framelessPolls * PollMs > FrameWaitMs) {
                    std::fprintf(stderr, "startup probe: the scene has no productFrame or no menuFunc\n");
                    m_poll.stop();
                }
                return;
            }
        }
        if (!m_frame->property("settled").toBool())
            return;
        if (m_page >= 0 && m_frame->property("curPage").toInt() != m_page)
            return;
        if (m_printFrames)
            printLine("phase-ns", monotonicNs(), "rest");
        if (++m_page == PageCount) {
            m_poll.stop();
            printLine("pages-open-ns", monotonicNs());
            if (m_printFrames)
                QCoreApplication::quit();
            return;
        }
        const std::string name = "page" + std::to_string(m_page);
        if (m_printFrames)
            printLine("phase-ns", monotonicNs(), name.c_str());
        QMetaObject::invokeMethod(m_menu, "functionClicked", Q_ARG(int, m_page));
    }

    QQuickWidget *m_view;
    bool m_printFrames;
    bool m_opened = false;
    int m_page = -1;
    int m_framelessPolls = 0;
    QPointer<QObject> m_frame;
    QPointer<QObject> m_menu;
    QTimer m_poll;
};

} // namespace

void installStartupProbe(QQuickWidget *view)
{
    if (!qEnvironmentVariableIsSet("VESK_STARTUP_PROBE"))
        return;
    const QByteArray mode = qgetenv("VESK_STARTUP_PROBE");
    if (mode == "pages" || mode == "frames")
        new PageWalk(view, mode == "frames");
    else
        installFirstFrameProbe(view);
}
