// The choice of backend at application start-up: the desktop backend when
// a display is there to show windows on, else the headless one.
#pragma once

// Installs the backend for this process and answers whether it is the
// desktop (SDL) one. Call it once, on the user-interface thread, before the
// first window is made. The desktop is used when DISPLAY or WAYLAND_DISPLAY
// names a display and SDL's video starts on it.
bool InstallDefaultBackend();
