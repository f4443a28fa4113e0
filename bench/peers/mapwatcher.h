#pragma once

// When a started program's first window appears, seen from outside it: the bench is an X client of the
// display and stamps the first MapNotify of a top-level window that belongs to the program (bench_peers.cpp
// says how).

#include "benchrun.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <set>

namespace bench {

// The bench's own connection to the display, listening for windows mapped on the root window.
class MapWatcher
{
public:
    MapWatcher()
        : m_display(XOpenDisplay(nullptr))
    {
        if (!m_display)
            return;
        // A window may be gone by the time its property is asked for: that is no reason to end the bench.
        XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
        m_root = DefaultRootWindow(m_display);
        m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        XSelectInput(m_display, m_root, SubstructureNotifyMask);
        XSync(m_display, False);
    }
    ~MapWatcher()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    MapWatcher(const MapWatcher &) = delete;
    MapWatcher &operator=(const MapWatcher &) = delete;

    bool ok() const { return m_display != nullptr; }

    // Forgets what happened before a start.
    void drain()
    {
        XSync(m_display, False);
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
        }
    }

    // Lets time pass while the events of the display are read and dropped.
    void idle(int ms)
    {
        const auto until = Clock::now() + std::chrono::milliseconds(ms);
        while (Clock::now() < until) {
            drain();
            waitForEvents(until);
        }
    }

    struct Window
    {
        Clock::time_point mapped;
        bool byPid = false;
    };

    // The first top-level window of the child mapped before the deadline; none if the child ended first.
    std::optional<Window> waitForWindow(bench::Child &child, Clock::time_point deadline)
    {
        std::set<::Window> created;
        for (;;) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                const auto now = Clock::now();
                if (event.type == CreateNotify && event.xcreatewindow.parent == m_root) {
                    created.insert(event.xcreatewindow.window);
                } else if (event.type == MapNotify && event.xmap.event == m_root &&
                           !event.xmap.override_redirect) {
                    const long pid = windowPid(event.xmap.window);
                    if (pid == long(child.pid))
                        return Window{now, true};
                    if (pid < 0 && created.count(event.xmap.window))
                        return Window{now, false};
                }
            }
            if (bench::hasEnded(child) || Clock::now() >= deadline)
                return std::nullopt;
            waitForEvents(std::min(deadline, Clock::now() + std::chrono::milliseconds(50)));
        }
    }

private:
    void waitForEvents(Clock::time_point until)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0)
            return;
        pollfd watch{ConnectionNumber(m_display), POLLIN, 0};
        poll(&watch, 1, int(left));
    }

    long ownPid(::Window window)
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                               &after, &data) == Success &&
            type == XA_CARDINAL && format == 32 && count == 1 && data)
            pid = long(*reinterpret_cast<unsigned long *>(data));
        if (data)
            XFree(data);
        return pid;
    }

    // The window's _NET_WM_PID, or that of a child of it (a window manager's frame); -1 where none says.
    long windowPid(::Window window)
    {
        long pid = ownPid(window);
        if (pid >= 0)
            return pid;
        ::Window root = 0;
        ::Window parent = 0;
        ::Window *children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(m_display, window, &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && pid < 0; ++i)
                pid = ownPid(children[i]);
            if (children)
                XFree(children);
        }
        return pid;
    }

    Display *m_display = nullptr;
    ::Window m_root = 0;
    Atom m_pidAtom = None;
};

} // namespace bench
