// Whether the view's window still exists. A window manager's close reaches GLUT, which
// ends its main loop; a window destroyed from outside (XDestroyWindow, `xdotool
// windowclose`) does not: GLUT ignores the news, a paused view then waits forever, and the
// next picture sent to the window ends the program through Xlib's default error handler
// with a recording's temporary left behind. The watch hears of the destruction on an X
// connection of its own and takes the errors about the gone window, so that the view can
// end as a close would.
#pragma once

#include <memory>

namespace lab::view {

class WindowWatch {
  public:
    // Watches the window of the current OpenGL context; without one it never reports.
    WindowWatch();
    ~WindowWatch();
    WindowWatch(const WindowWatch&) = delete;
    WindowWatch& operator=(const WindowWatch&) = delete;

    // True once the window is gone; reads the news that came, without waiting.
    bool window_gone();

  private:
    struct Connection; // Xlib stays out of this header
    std::unique_ptr<Connection> connection_;
};

// How often a paused view, which has nothing else to wake it, looks at the watch and at
// the signals that end it.
constexpr int watch_interval_ms = 100;

} // namespace lab::view
