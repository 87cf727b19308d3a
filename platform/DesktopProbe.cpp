// DesktopProbe: the X server's answers (see DesktopProbe.h).
#include "platform/DesktopProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace platform {
namespace {

// The window a property of type WINDOW names, or 0.
::Window WindowProperty(Display* display, ::Window window, Atom property) {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    ::Window named = 0;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &remaining,
                           &data) == Success &&
        type == XA_WINDOW && format == 32 && count == 1 && data != nullptr) {
        named = *reinterpret_cast<::Window*>(data);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return named;
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

// A window manager that follows the desktop conventions names a window of its own on the root,
// and that window names itself (so a property left behind by a manager that ended is not taken).
bool WindowManagerRuns(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == 0) {
        return false;
    }
    const ::Window manager = WindowProperty(display, DefaultRootWindow(display), check);
    if (manager == 0) {
        return false;
    }
    // The named window may be gone: reading it then raises an X error, not a crash.
    XSync(display, False);
    const auto previous = XSetErrorHandler(IgnoreErrors);
    const bool alive = WindowProperty(display, manager, check) == manager;
    XSync(display, False);
    XSetErrorHandler(previous);
    return alive;
}

bool HasExtension(Display* display, const char* name) {
    int opcode = 0;
    int event = 0;
    int error = 0;
    return XQueryExtension(display, name, &opcode, &event, &error) != False;
}

}  // namespace

DesktopFacts ProbeX11Desktop() {
    DesktopFacts facts;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return facts;
    }
    facts.WindowManager = WindowManagerRuns(display);
    facts.GpuRendering = HasExtension(display, "DRI3") || HasExtension(display, "DRI2") || HasExtension(display, "NV-GLX");
    XCloseDisplay(display);
    return facts;
}

}  // namespace platform
