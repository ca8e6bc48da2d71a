// The x11 display, on Xlib alone.
//
// Each visible top-level window gets an X window of its size at its place. It asks
// a window manager, if one runs, for no decorations (_MOTIF_WM_HINTS) and for the
// WM_DELETE_WINDOW protocol; without a window manager it simply stands where it was
// put. So the same pixels show with and without one: our frame and caption bar.
// Surfaces are put into their X windows when the program is about to wait, once
// for all the painting since the last wait. A press on our caption bar drags the
// window, our close button and the window manager's close become WM_SYSCOMMAND
// SC_CLOSE, and everything else goes to the window system as input.
#include "platform/display/x11.h"

#include <sys/select.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/api/user.h"
#include "platform/user/input.h"
#include "platform/user/internal.h"
#include "platform/user/look.h"
#include "platform/user/window.h"

// Xlib last: its macros (None, Bool, Status, ...) would clash with our names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace vorn::display {

namespace {

constexpr Time kDoubleClickTime = 500;  // milliseconds, the classic default
constexpr int kDoubleClickDistance = 4;
constexpr long kEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask | Button1MotionMask | KeyPressMask |
                         KeyReleaseMask | StructureNotifyMask;

// One top-level window as the X server shows it.
struct Shown {
  ::Window id = 0;
  RECT rect{};
  std::string title;
  bool mapped = false;
  bool viewable = false;  // mapped and MapNotify seen: puts are not lost
  bool dirty = true;
};

// Where the 8-bit red, green and blue of a surface pixel go in an X pixel.
struct Channel {
  int shift = 0;  // of the mask's lowest bit
  int bits = 0;
};
Channel ChannelOf(unsigned long mask) {
  Channel c;
  while (mask != 0 && !(mask & 1)) {
    mask >>= 1;
    ++c.shift;
  }
  while (mask & 1) {
    mask >>= 1;
    ++c.bits;
  }
  return c;
}
std::uint32_t Place(std::uint32_t value8, const Channel& c) {
  return c.bits >= 8 ? value8 << (c.shift + c.bits - 8) : (value8 >> (8 - c.bits)) << c.shift;
}

UINT VirtualKeyOf(KeySym key) {
  if (key >= XK_a && key <= XK_z) return static_cast<UINT>('A' + (key - XK_a));
  if (key >= XK_A && key <= XK_Z) return static_cast<UINT>(key);
  if (key >= XK_0 && key <= XK_9) return static_cast<UINT>(key);
  switch (key) {
    case XK_Tab: case XK_ISO_Left_Tab: return VK_TAB;
    case XK_Return: case XK_KP_Enter: return VK_RETURN;
    case XK_Escape: return VK_ESCAPE;
    case XK_space: return VK_SPACE;
    case XK_BackSpace: return VK_BACK;
    case XK_Delete: return VK_DELETE;
    case XK_Left: return VK_LEFT;
    case XK_Right: return VK_RIGHT;
    case XK_Up: return VK_UP;
    case XK_Down: return VK_DOWN;
    case XK_Home: return VK_HOME;
    case XK_End: return VK_END;
    case XK_Prior: return VK_PRIOR;
    case XK_Next: return VK_NEXT;
    case XK_F4: return VK_F4;
    case XK_Shift_L: case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L: case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L: case XK_Alt_R: case XK_Meta_L: case XK_Meta_R: return VK_MENU;
    default: return 0;
  }
}

// Requests can race the server's view of a window (focus on one that is being
// unmapped); such errors are harmless here and must not end the program.
int IgnoreError(::Display*, XErrorEvent*) { return 0; }

class X11Display : public Display {
 public:
  X11Display(::Display* connection, const Channel& red, const Channel& green, const Channel& blue)
      : x_(connection), screen_(DefaultScreen(connection)), red_(red), green_(green), blue_(blue) {
    XSetErrorHandler(IgnoreError);
    protocols_ = XInternAtom(x_, "WM_PROTOCOLS", False);
    deleteWindow_ = XInternAtom(x_, "WM_DELETE_WINDOW", False);
    motifHints_ = XInternAtom(x_, "_MOTIF_WM_HINTS", False);
  }
  ~X11Display() override { XCloseDisplay(x_); }

  DWORD Now() override {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
  }

  void Wait(std::optional<DWORD> deadline) override {
    Present();
    if (XPending(x_) == 0) {
      const int fd = ConnectionNumber(x_);
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(fd, &readable);
      timeval timeout{};
      if (deadline) {
        const std::int32_t left = static_cast<std::int32_t>(*deadline - Now());
        const long ms = left > 0 ? left : 0;
        timeout.tv_sec = ms / 1000;
        timeout.tv_usec = (ms % 1000) * 1000;
      }
      select(fd + 1, &readable, nullptr, nullptr, deadline ? &timeout : nullptr);
    }
    while (XPending(x_) > 0) {
      XEvent event;
      XNextEvent(x_, &event);
      Handle(event);
    }
  }

  void WindowChanged(HWND window) override {
    if (auto it = shown_.find(window); it != shown_.end()) it->second.dirty = true;
  }

  void WindowDestroyed(HWND window) override {
    auto it = shown_.find(window);
    if (it == shown_.end()) return;
    XDestroyWindow(x_, it->second.id);
    shown_.erase(it);
    if (dragged_ == window) dragged_ = nullptr;
    if (closing_ == window) closing_ = nullptr;
    if (focused_ == window) focused_ = nullptr;
    XFlush(x_);
  }

  std::optional<SIZE> ScreenSize() override {
    return SIZE{DisplayWidth(x_, screen_), DisplayHeight(x_, screen_)};
  }

 private:
  // Brings the X windows in line with the top-level windows: shown, placed, titled,
  // painted, the active one raised and given the keyboard.
  void Present() {
    for (HWND handle : user::TopLevelWindows()) {
      const user::Window* window = user::Find(handle);
      const bool visible = (window->style & WS_VISIBLE) && window->rect.right > window->rect.left &&
                           window->rect.bottom > window->rect.top;
      if (visible) {
        Show(handle, *window);
      } else if (auto it = shown_.find(handle); it != shown_.end() && it->second.mapped) {
        XUnmapWindow(x_, it->second.id);
        it->second.mapped = it->second.viewable = false;
      }
    }
    const HWND active = user::ActiveWindow();
    if (auto it = shown_.find(active); active != focused_ && it != shown_.end() && it->second.viewable) {
      XRaiseWindow(x_, it->second.id);
      XSetInputFocus(x_, it->second.id, RevertToParent, CurrentTime);
      focused_ = active;
    }
    XFlush(x_);
  }

  void Show(HWND handle, const user::Window& window) {
    Shown& shown = shown_[handle];
    const RECT& r = window.rect;
    const unsigned width = static_cast<unsigned>(r.right - r.left);
    const unsigned height = static_cast<unsigned>(r.bottom - r.top);
    if (shown.id == 0) {
      Create(shown, window);
    } else if (r.left != shown.rect.left || r.top != shown.rect.top || r.right != shown.rect.right ||
               r.bottom != shown.rect.bottom) {
      const bool sized = width != static_cast<unsigned>(shown.rect.right - shown.rect.left) ||
                         height != static_cast<unsigned>(shown.rect.bottom - shown.rect.top);
      if (sized) FixSize(shown.id, width, height);
      XMoveResizeWindow(x_, shown.id, r.left, r.top, width, height);
      shown.rect = r;
      shown.dirty = shown.dirty || sized;
    }
    if (shown.title != window.text) {
      XStoreName(x_, shown.id, window.text.c_str());
      shown.title = window.text;
    }
    if (!shown.mapped) {
      XMapRaised(x_, shown.id);
      shown.mapped = true;
    }
    if (shown.dirty && shown.viewable && window.surface != nullptr) {
      Put(shown, *window.surface);
      shown.dirty = false;
    }
  }

  void Create(Shown& shown, const user::Window& window) {
    const RECT& r = window.rect;
    const unsigned width = static_cast<unsigned>(r.right - r.left);
    const unsigned height = static_cast<unsigned>(r.bottom - r.top);
    XSetWindowAttributes attributes{};
    attributes.event_mask = kEvents;
    attributes.background_pixel = Pixel(0xC0C0C0);
    shown.id = XCreateWindow(x_, RootWindow(x_, screen_), r.left, r.top, width, height, 0, CopyFromParent, InputOutput,
                             CopyFromParent, CWEventMask | CWBackPixel, &attributes);
    shown.rect = r;
    // flags, functions, decorations, input mode, status: decorations only, none.
    const long motif[5] = {1L << 1, 0, 0, 0, 0};
    XChangeProperty(x_, shown.id, motifHints_, motifHints_, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);
    Atom protocols[] = {deleteWindow_};
    XSetWMProtocols(x_, shown.id, protocols, 1);
    XClassHint classHint{const_cast<char*>("vorn"), const_cast<char*>("Vorn")};
    XSetClassHint(x_, shown.id, &classHint);
    FixSize(shown.id, width, height);
    if (auto owner = shown_.find(window.owner); owner != shown_.end()) XSetTransientForHint(x_, shown.id, owner->second.id);
  }

  // A window of our own placement and size: window managers are asked to keep both.
  void FixSize(::Window id, unsigned width, unsigned height) {
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PPosition | USPosition | PMinSize | PMaxSize;
    hints->min_width = hints->max_width = static_cast<int>(width);
    hints->min_height = hints->max_height = static_cast<int>(height);
    XSetWMNormalHints(x_, id, hints);
    XFree(hints);
  }

  unsigned long Pixel(std::uint32_t rgb) const {
    return Place((rgb >> 16) & 0xFF, red_) | Place((rgb >> 8) & 0xFF, green_) | Place(rgb & 0xFF, blue_);
  }

  void Put(const Shown& shown, const gdi::Surface& surface) {
    if (surface.width <= 0 || surface.height <= 0) return;
    std::vector<std::uint32_t> pixels(surface.pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint32_t>(Pixel(surface.pixels[i]));
    XImage* image = XCreateImage(x_, DefaultVisual(x_, screen_), static_cast<unsigned>(DefaultDepth(x_, screen_)),
                                 ZPixmap, 0, reinterpret_cast<char*>(pixels.data()), static_cast<unsigned>(surface.width),
                                 static_cast<unsigned>(surface.height), 32, surface.width * 4);
    if (image == nullptr) return;
    // The pixels are in this machine's order; Xlib swaps them for a server of the other.
    image->byte_order = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? LSBFirst : MSBFirst;
    XPutImage(x_, shown.id, DefaultGC(x_, screen_), image, 0, 0, 0, 0, static_cast<unsigned>(surface.width),
              static_cast<unsigned>(surface.height));
    image->data = nullptr;  // ours, not Xlib's to free
    XDestroyImage(image);
  }

  HWND WindowOf(::Window id) const {
    for (const auto& [handle, shown] : shown_) {
      if (shown.id == id) return handle;
    }
    return nullptr;
  }

  void Handle(const XEvent& event) {
    const HWND handle = WindowOf(event.xany.window);
    if (handle == nullptr || user::Find(handle) == nullptr) return;
    Shown& shown = shown_[handle];
    switch (event.type) {
      case Expose:
        shown.dirty = true;
        break;
      case MapNotify:
        shown.viewable = true;
        shown.dirty = true;
        break;
      case UnmapNotify:
        shown.viewable = false;
        if (focused_ == handle) focused_ = nullptr;
        break;
      case ButtonPress:
        if (event.xbutton.button == Button1) Press(handle, event.xbutton);
        break;
      case ButtonRelease:
        if (event.xbutton.button == Button1) Release(handle, event.xbutton);
        break;
      case MotionNotify:
        if (dragged_ == handle) {
          SetWindowPos(handle, nullptr, event.xmotion.x_root - grab_.x, event.xmotion.y_root - grab_.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
      case KeyPress:
      case KeyRelease: {
        XKeyEvent key = event.xkey;
        if (const UINT virtualKey = VirtualKeyOf(XLookupKeysym(&key, 0))) user::QueueKey(virtualKey, event.type == KeyPress);
        break;
      }
      case ClientMessage:
        if (event.xclient.message_type == protocols_ && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_ &&
            IsWindowEnabled(handle)) {
          PostMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
      default:
        break;
    }
  }

  POINT ScreenPoint(HWND handle, int x, int y) const {
    const RECT& r = user::Find(handle)->rect;
    return POINT{r.left + x, r.top + y};
  }

  void Press(HWND handle, const XButtonEvent& event) {
    const POINT point = ScreenPoint(handle, event.x, event.y);
    const bool enabled = IsWindowEnabled(handle) != FALSE;
    switch (user::HitTestFrame(handle, point)) {
      case user::FramePart::Caption:
        if (!enabled) break;
        user::Activate(handle);
        dragged_ = handle;
        grab_ = POINT{event.x_root - user::Find(handle)->rect.left, event.y_root - user::Find(handle)->rect.top};
        break;
      case user::FramePart::CloseButton:
        if (enabled) closing_ = handle;
        break;
      case user::FramePart::Client: {
        const bool twice = lastPress_.window == handle && event.time - lastPress_.time < kDoubleClickTime &&
                           std::abs(event.x - lastPress_.x) <= kDoubleClickDistance &&
                           std::abs(event.y - lastPress_.y) <= kDoubleClickDistance;
        user::QueueMouseAt(twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, point);
        // A third press starts a new pair.
        lastPress_ = twice ? LastPress{} : LastPress{event.time, handle, event.x, event.y};
        break;
      }
      default:
        break;
    }
  }

  void Release(HWND handle, const XButtonEvent& event) {
    if (dragged_ != nullptr) {
      dragged_ = nullptr;
      return;
    }
    if (closing_ != nullptr) {
      const HWND closing = closing_;
      closing_ = nullptr;
      if (user::Find(closing) != nullptr &&
          user::HitTestFrame(closing, ScreenPoint(handle, event.x, event.y)) == user::FramePart::CloseButton) {
        PostMessageA(closing, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return;
    }
    user::QueueMouseAt(WM_LBUTTONUP, ScreenPoint(handle, event.x, event.y));
  }

  struct LastPress {
    Time time = 0;
    HWND window = nullptr;
    int x = 0;
    int y = 0;
  };

  ::Display* x_;
  int screen_;
  Channel red_, green_, blue_;
  Atom protocols_ = 0, deleteWindow_ = 0, motifHints_ = 0;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::map<HWND, Shown> shown_;
  HWND focused_ = nullptr;  // the window last given the X input focus
  HWND dragged_ = nullptr;  // being dragged by its caption bar
  POINT grab_{};            // where the pointer holds it, from its top-left corner
  HWND closing_ = nullptr;  // its close button is held down
  LastPress lastPress_;
};

}  // namespace

std::unique_ptr<Display> OpenX11Display(bool quiet) {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || name[0] == '\0') {
    if (!quiet) std::fprintf(stderr, "vorn: DISPLAY is not set\n");
    return nullptr;
  }
  ::Display* connection = XOpenDisplay(nullptr);
  if (connection == nullptr) {
    if (!quiet) std::fprintf(stderr, "vorn: cannot open the X display %s\n", name);
    return nullptr;
  }
  // Surfaces go out as 32-bit pixels of a true-colour visual.
  const Visual* visual = DefaultVisual(connection, DefaultScreen(connection));
  int formats = 0;
  XPixmapFormatValues* list = XListPixmapFormats(connection, &formats);
  bool thirtyTwo = false;
  for (int i = 0; i < formats; ++i) {
    if (list[i].depth == DefaultDepth(connection, DefaultScreen(connection))) thirtyTwo = list[i].bits_per_pixel == 32;
  }
  if (list != nullptr) XFree(list);
  if (visual->c_class != TrueColor || !thirtyTwo) {
    if (!quiet) std::fprintf(stderr, "vorn: the X display %s has no 32-bit true-colour visual\n", name);
    XCloseDisplay(connection);
    return nullptr;
  }
  return std::make_unique<X11Display>(connection, ChannelOf(visual->red_mask), ChannelOf(visual->green_mask),
                                      ChannelOf(visual->blue_mask));
}

}  // namespace vorn::display
