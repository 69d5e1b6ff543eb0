#include "app/LockKeys.h"

#include <dlfcn.h>

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

namespace radove {

#if QT_CONFIG(xcb)
namespace {

// Xlib is reached through the library the X11 platform plugin has loaded already,
// so the program does not link against it and runs unchanged on other platforms.
using Atom = unsigned long;
using InternAtomFn = Atom (*)(Display*, const char*, int);
using GetNamedIndicatorFn = int (*)(Display*, Atom, int*, int*, void*, int*);

struct Xlib {
  InternAtomFn internAtom = nullptr;
  GetNamedIndicatorFn getNamedIndicator = nullptr;
  Atom caps = 0, num = 0, scroll = 0;
  bool ready = false;
};

Xlib* LoadXlib(Display* display) {
  static Xlib xlib;
  static bool tried = false;
  if (!tried) {
    tried = true;
    void* handle = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (handle) {
      xlib.internAtom = reinterpret_cast<InternAtomFn>(dlsym(handle, "XInternAtom"));
      xlib.getNamedIndicator =
          reinterpret_cast<GetNamedIndicatorFn>(dlsym(handle, "XkbGetNamedIndicator"));
      if (xlib.internAtom && xlib.getNamedIndicator) {
        xlib.caps = xlib.internAtom(display, "Caps Lock", 0);
        xlib.num = xlib.internAtom(display, "Num Lock", 0);
        xlib.scroll = xlib.internAtom(display, "Scroll Lock", 0);
        xlib.ready = true;
      }
    }
  }
  return xlib.ready ? &xlib : nullptr;
}

bool Indicator(Xlib& xlib, Display* display, Atom atom) {
  int index = 0, state = 0, real = 0;
  if (!atom || !xlib.getNamedIndicator(display, atom, &index, &state, nullptr, &real)) return false;
  return state != 0;
}

}  // namespace
#endif

std::optional<LockKeyState> QueryLockKeys() {
#if QT_CONFIG(xcb)
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  Xlib* xlib = LoadXlib(display);
  if (!xlib) return std::nullopt;
  LockKeyState s;
  s.capsLock = Indicator(*xlib, display, xlib->caps);
  s.numLock = Indicator(*xlib, display, xlib->num);
  s.scrollLock = Indicator(*xlib, display, xlib->scroll);
  return s;
#else
  return std::nullopt;
#endif
}

}  // namespace radove
