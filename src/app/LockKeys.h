#pragma once
// The state of the keyboard's lock keys for the status bar's indicators. Read from
// the X server's keyboard indicators when the program runs on X11; elsewhere the
// state is unknown.

#include <optional>

namespace radove {

struct LockKeyState {
  bool capsLock = false;
  bool numLock = false;
  bool scrollLock = false;
};

// nullopt when the platform does not tell.
std::optional<LockKeyState> QueryLockKeys();

}  // namespace radove
