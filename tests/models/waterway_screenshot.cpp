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

std::vector<Found> TopLevelWindows(Display* display) {
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Found> found;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && name) {
            found.push_back({children[i], name});
            XFree(name);
        }
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
