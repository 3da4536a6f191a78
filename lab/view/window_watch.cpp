#include "lab/view/window_watch.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

namespace lab::view {

namespace {

// Xlib's error handler serves the whole process and takes no context: the one watched
// window and what is known of it live here.
XID watched_window = 0;
bool gone = false;
XErrorHandler earlier_handler = nullptr;

// Requests about the window fail once it is gone (GLUT's, the GL driver's swaps, the
// watch's own); they are expected then, and every other error goes where it went before.
int on_x_error(Display* display, XErrorEvent* error) {
    const bool about_window = watched_window != 0 && error->resourceid == watched_window;
    const bool missing = error->error_code == BadWindow || error->error_code == BadDrawable ||
                         error->error_code >= FirstExtensionError;
    if (about_window && missing) {
        gone = true;
        return 0;
    }
    return earlier_handler != nullptr ? earlier_handler(display, error) : 0;
}

} // namespace

struct WindowWatch::Connection {
    Display* display = nullptr;
    Window window = 0;
};

WindowWatch::WindowWatch() {
    const GLXDrawable drawable = glXGetCurrentDrawable();
    Display* shared = glXGetCurrentDisplay();
    if (drawable == 0 || shared == nullptr) return;
    Display* own = XOpenDisplay(DisplayString(shared));
    if (own == nullptr) return;
    watched_window = drawable;
    gone = false;
    // Kept for the rest of the program: GLUT's own teardown still asks about the window.
    if (earlier_handler == nullptr) earlier_handler = XSetErrorHandler(on_x_error);
    XSelectInput(own, drawable, StructureNotifyMask);
    XFlush(own);
    connection_ = std::make_unique<Connection>(Connection{own, drawable});
}

WindowWatch::~WindowWatch() {
    if (connection_) XCloseDisplay(connection_->display);
}

bool WindowWatch::window_gone() {
    if (gone || !connection_) return gone;
    Display* display = connection_->display;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == connection_->window)
            gone = true;
    }
    return gone;
}

} // namespace lab::view
