// Puts the two lock programs' main windows side by side on an X display
// without a window manager and saves the whole screen as a picture:
//   waterway_screenshot FILE.png
// Used under Xvfb for the documentation.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Found {
    Window Id;
    std::string Title;
};

// Qt gives a caption beyond Latin-1 (the summary's dash) only as UTF-8
// _NET_WM_NAME; plain captions are read as WM_NAME as well.
std::string WindowTitle(Display* display, Window window) {
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) ==
            Success &&
        data) {
        title.assign(reinterpret_cast<const char*>(data), count);
        XFree(data);
    }
    char* name = nullptr;
    if (title.empty() && XFetchName(display, window, &name) && name) {
        title = name;
        XFree(name);
    }
    return title;
}

std::vector<Found> TopLevelWindows(Display* display) {
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Found> found;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        if (std::string title = WindowTitle(display, children[i]); !title.empty())
            found.push_back({children[i], title});
    }
    if (children) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE.png\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "waterway_screenshot: no X display\n");
        return 1;
    }
    const int half = DisplayWidth(display, DefaultScreen(display)) / 2;
    int placed = 0;
    for (const Found& w : TopLevelWindows(display)) {
        // The main window's caption ends with the model's name; only it is shown.
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, w.Id, &attributes) || attributes.map_state != IsViewable) continue;
        // The run summaries that open at the end are left out of the picture.
        if (w.Title.starts_with("Run summary")) {
            XUnmapWindow(display, w.Id);
            continue;
        }
        const bool west = w.Title.ends_with("Zorva: obrimwest");
        if (!west && !w.Title.ends_with("Zorva: obrimeast")) continue;
        XMoveResizeWindow(display, w.Id, west ? 0 : half, 0, static_cast<unsigned>(half),
                          static_cast<unsigned>(DisplayHeight(display, DefaultScreen(display))));
        ++placed;
    }
    XSync(display, False);
    XCloseDisplay(display);
    if (placed != 2) {
        std::fprintf(stderr, "waterway_screenshot: found %d of the two lock windows\n", placed);
        return 1;
    }
    // Let both programs repaint at their new size.
    QThread::msleep(1500);
    return QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
