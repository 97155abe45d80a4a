#pragma once

#include <cstdio>

#if defined(__linux__)
#include <dlfcn.h>
#endif

namespace testsupport
{
// A host installs an X error handler that reports protocol errors and carries on; JUCE leaves
// that to the host when it is not a standalone application. Without one, Xlib's default handler
// ends the process on the first error, and bare Xvfb (no window manager, so no WM_STATE or
// _NET_FRAME_EXTENTS atoms) answers a peer's first property change with BadAtom. The test
// executables play the host, so they install such a handler. libX11 is opened at run time, as
// JUCE itself does, so that the tests need no link dependency on it.
#if defined(__linux__)
namespace xerrors
{
struct ErrorEvent
{
    int type;
    void* display;
    unsigned long resourceid;
    unsigned long serial;
    unsigned char error_code;
    unsigned char request_code;
    unsigned char minor_code;
};
using Handler = int (*)(void*, ErrorEvent*);
using SetHandler = Handler (*)(Handler);
using GetErrorText = int (*)(void*, int, char*, int);

inline GetErrorText& errorText()
{
    static GetErrorText function = nullptr;
    return function;
}

inline int report(void* display, ErrorEvent* event)
{
    // Bare Xvfb raises the same error for every window: say it a few times, not hundreds.
    static int reported = 0;
    if (++reported > 3)
        return 0;
    char text[96] = "unknown error";
    if (errorText() != nullptr)
        errorText()(display, event->error_code, text, (int) sizeof(text));
    std::fprintf(stderr, "X protocol error (ignored, as a host does): %s, request %d\n", text,
                 (int) event->request_code);
    return 0;
}
} // namespace xerrors

inline void installXErrorReporter()
{
    void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_GLOBAL);
    if (library == nullptr)
        return; // no X at all: nothing can raise X errors
    xerrors::errorText() = reinterpret_cast<xerrors::GetErrorText>(dlsym(library, "XGetErrorText"));
    if (auto setHandler = reinterpret_cast<xerrors::SetHandler>(dlsym(library, "XSetErrorHandler")))
        setHandler(xerrors::report);
}
#else
inline void installXErrorReporter() {}
#endif
} // namespace testsupport
