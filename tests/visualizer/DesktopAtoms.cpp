// A bare X server (Xvfb, no window manager) knows none of the window-manager atoms until some client
// creates them. JUCE looks them up without creating them and hands None to X, which rejects the
// window. Creating them first, on a connection of our own that stays open until the tests end (the
// server forgets its atoms when its last client leaves), lets the tests' windows open as they do
// under a desktop.
#if defined(__linux__)
#include <X11/Xlib.h>

#include <initializer_list>

namespace
{
struct WindowManagerAtoms
{
    WindowManagerAtoms()
    {
        if (display == nullptr)
            return;
        for (const char* name : {"WM_PROTOCOLS", "WM_TAKE_FOCUS", "WM_DELETE_WINDOW", "_NET_WM_PING",
                                 "WM_CHANGE_STATE", "WM_STATE", "_NET_WM_WINDOW_TYPE",
                                 "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_STATE", "_NET_WM_STATE_HIDDEN"})
            XInternAtom(display, name, False);
        XSync(display, False);
    }

    ~WindowManagerAtoms()
    {
        if (display != nullptr)
            XCloseDisplay(display);
    }

    Display* display = XOpenDisplay(nullptr);
} windowManagerAtoms;
} // namespace
#endif
