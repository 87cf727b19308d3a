// X11MessageBox: the window, its drawing and its own small event loop.
#include "platform/X11MessageBox.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>

#include "platform/TerminationSignals.h"

namespace platform {
namespace {

constexpr int Margin = 16;
constexpr int ButtonWidth = 80;
constexpr int ButtonHeight = 26;
constexpr int PollMilliseconds = 100;

struct Layout {
    int Width = 0;
    int Height = 0;
    int LineHeight = 0;
    int Ascent = 0;
    XRectangle Button{};
};

Layout Measure(XFontStruct* font, const std::vector<std::string>& lines) {
    Layout layout;
    layout.Ascent = font->ascent;
    layout.LineHeight = font->ascent + font->descent + 2;
    int textWidth = 0;
    for (const std::string& line : lines) {
        textWidth = std::max(textWidth, XTextWidth(font, line.c_str(), static_cast<int>(line.size())));
    }
    layout.Width = std::max(textWidth, ButtonWidth) + 2 * Margin;
    const int textHeight = static_cast<int>(lines.size()) * layout.LineHeight;
    layout.Height = Margin + textHeight + Margin + ButtonHeight + Margin;
    layout.Button = XRectangle{static_cast<short>((layout.Width - ButtonWidth) / 2),
                               static_cast<short>(Margin + textHeight + Margin), ButtonWidth, ButtonHeight};
    return layout;
}

bool InButton(const Layout& layout, int x, int y) {
    return x >= layout.Button.x && x < layout.Button.x + layout.Button.width && y >= layout.Button.y &&
           y < layout.Button.y + layout.Button.height;
}

// A dialog that stays above the full-screen game window.
void DescribeWindow(Display* display, ::Window window, const std::string& caption, const Layout& layout) {
    XStoreName(display, window, caption.c_str());
    XClassHint hint{const_cast<char*>("zarvoth-mutador"), const_cast<char*>("Zarvoth Mutador")};
    XSetClassHint(display, window, &hint);
    XSizeHints size{};
    size.flags = PMinSize | PMaxSize;
    size.min_width = size.max_width = layout.Width;
    size.min_height = size.max_height = layout.Height;
    XSetWMNormalHints(display, window, &size);
    const Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
    XChangeProperty(display, window, type, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&dialog), 1);
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom above = XInternAtom(display, "_NET_WM_STATE_ABOVE", False);
    XChangeProperty(display, window, state, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&above), 1);
}

// The open box: its window and what it draws with.
struct Box {
    Display* Connection = nullptr;
    ::Window Window = 0;
    GC Pen = nullptr;
    XFontStruct* Font = nullptr;
    Layout Shape;
    const std::vector<std::string>* Lines = nullptr;
    Atom CloseRequest = 0;
    bool PressedOnButton = false;

    void Draw() const {
        XClearWindow(Connection, Window);
        for (std::size_t i = 0; i < Lines->size(); ++i) {
            const std::string& line = (*Lines)[i];
            const int y = Margin + static_cast<int>(i) * Shape.LineHeight + Shape.Ascent;
            XDrawString(Connection, Window, Pen, Margin, y, line.c_str(), static_cast<int>(line.size()));
        }
        const XRectangle& button = Shape.Button;
        XDrawRectangle(Connection, Window, Pen, button.x, button.y, button.width - 1u, button.height - 1u);
        const int labelX = button.x + (button.width - XTextWidth(Font, "OK", 2)) / 2;
        const int labelY = button.y + (button.height + Font->ascent - Font->descent) / 2;
        XDrawString(Connection, Window, Pen, labelX, labelY, "OK", 2);
        XFlush(Connection);
    }

    // Handles one event; false when it closes the box.
    bool Handle(XEvent& event) {
        switch (event.type) {
            case Expose:
                if (event.xexpose.count == 0) Draw();
                return true;
            case KeyPress: {
                const KeySym symbol = XLookupKeysym(&event.xkey, 0);
                return symbol != XK_Return && symbol != XK_KP_Enter && symbol != XK_Escape && symbol != XK_space;
            }
            case ButtonPress:
                PressedOnButton = event.xbutton.button == Button1 && InButton(Shape, event.xbutton.x, event.xbutton.y);
                return true;
            case ButtonRelease:
                return !(PressedOnButton && event.xbutton.button == Button1 &&
                         InButton(Shape, event.xbutton.x, event.xbutton.y));
            case ClientMessage:
                return static_cast<Atom>(event.xclient.data.l[0]) != CloseRequest;
            default:
                return true;
        }
    }
};

}  // namespace

bool ShowX11MessageBox(const std::vector<std::string>& lines, const std::string& caption) {
    Box box;
    box.Connection = XOpenDisplay(nullptr);
    if (box.Connection == nullptr) {
        return false;
    }
    Display* display = box.Connection;
    const int screen = DefaultScreen(display);
    // The server's "fixed" font, else the one every new GC starts with.
    XFontStruct* loaded = XLoadQueryFont(display, "fixed");
    box.Font = loaded != nullptr ? loaded : XQueryFont(display, XGContextFromGC(DefaultGC(display, screen)));
    if (box.Font == nullptr) {
        XCloseDisplay(display);
        return false;
    }
    box.Lines = &lines;
    box.Shape = Measure(box.Font, lines);
    const int x = std::max(0, (DisplayWidth(display, screen) - box.Shape.Width) / 2);
    const int y = std::max(0, (DisplayHeight(display, screen) - box.Shape.Height) / 2);
    box.Window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, static_cast<unsigned>(box.Shape.Width),
                                     static_cast<unsigned>(box.Shape.Height), 1, BlackPixel(display, screen),
                                     WhitePixel(display, screen));
    DescribeWindow(display, box.Window, caption, box.Shape);
    box.CloseRequest = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, box.Window, &box.CloseRequest, 1);
    XSelectInput(display, box.Window, ExposureMask | KeyPressMask | ButtonPressMask | ButtonReleaseMask);
    box.Pen = XCreateGC(display, box.Window, 0, nullptr);
    XSetForeground(display, box.Pen, BlackPixel(display, screen));
    if (loaded != nullptr) {
        XSetFont(display, box.Pen, loaded->fid);
    }
    XMapRaised(display, box.Window);
    XFlush(display);

    bool open = true;
    while (open && !TerminationRequested()) {
        while (open && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            open = box.Handle(event);
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        if (open && ::poll(&connection, 1, PollMilliseconds) < 0 && errno != EINTR) {
            break;
        }
    }

    XFreeGC(display, box.Pen);
    XDestroyWindow(display, box.Window);
    if (loaded != nullptr) {
        XFreeFont(display, loaded);
    } else if (box.Font != nullptr) {
        XFreeFontInfo(nullptr, box.Font, 1);
    }
    XCloseDisplay(display);
    return true;
}

}  // namespace platform
