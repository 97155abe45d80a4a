#pragma once

#include <juce_graphics/juce_graphics.h>

// Copies an area of the screen, as the user sees it, into an image. A hosted plug-in's window is a
// native child window of the host's, which no component snapshot can see; the screen can. Linux
// reads the X server's framebuffer (libX11 opened at run time, as the error reporter does), Windows
// (and Wine, which maps it onto X) copies from the screen's device context.
//
// JUCE 7's Windows peer paints what changed only on the display's vertical blank, which Wine on Xvfb
// never reports: there a window shows its first paint for ever. paintWindowNow makes a window, and its
// children (a hosted plug-in's window), paint themselves at once; give the system a moment to put
// the result on the screen before the copy.
#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif defined(__linux__)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dlfcn.h>
#endif

namespace testsupport
{
inline void paintWindowNow(void* nativeWindow)
{
#if defined(_WIN32)
    if (nativeWindow != nullptr)
        RedrawWindow(static_cast<HWND>(nativeWindow), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
#else
    juce::ignoreUnused(nativeWindow);
#endif
}

inline juce::Image grabScreenArea(juce::Rectangle<int> area)
{
    if (area.isEmpty())
        return {};
    juce::Image image(juce::Image::RGB, area.getWidth(), area.getHeight(), true, juce::SoftwareImageType());

#if defined(_WIN32)
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, area.getWidth(), area.getHeight());
    const auto previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, area.getWidth(), area.getHeight(), screen, area.getX(), area.getY(), SRCCOPY);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = area.getWidth();
    info.bmiHeader.biHeight = -area.getHeight(); // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    juce::HeapBlock<juce::uint32> pixels((size_t) area.getWidth() * (size_t) area.getHeight());
    GetDIBits(memory, bitmap, 0, (UINT) area.getHeight(), pixels.get(), &info, DIB_RGB_COLORS);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
            image.setPixelAt(x, y, juce::Colour(0xff000000u | pixels[(size_t) (y * area.getWidth() + x)]));
#elif defined(__linux__)
    using Open = Display* (*) (const char*);
    using Close = int (*)(Display*);
    using Get = XImage* (*) (Display*, Drawable, int, int, unsigned int, unsigned int, unsigned long, int);
    void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_GLOBAL);
    if (library == nullptr)
        return {};
    const auto open = reinterpret_cast<Open>(dlsym(library, "XOpenDisplay"));
    const auto close = reinterpret_cast<Close>(dlsym(library, "XCloseDisplay"));
    const auto get = reinterpret_cast<Get>(dlsym(library, "XGetImage"));
    Display* display = open != nullptr ? open(nullptr) : nullptr;
    if (display == nullptr || close == nullptr || get == nullptr)
        return {};

    if (XImage* grabbed = get(display, DefaultRootWindow(display), area.getX(), area.getY(),
                              (unsigned) area.getWidth(), (unsigned) area.getHeight(), AllPlanes, ZPixmap))
    {
        for (int y = 0; y < area.getHeight(); ++y)
            for (int x = 0; x < area.getWidth(); ++x)
                image.setPixelAt(x, y, juce::Colour((juce::uint32)(0xff000000u | XGetPixel(grabbed, x, y))));
        XDestroyImage(grabbed);
    }
    close(display);
#endif
    return image;
}
} // namespace testsupport
