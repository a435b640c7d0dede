#pragma once

namespace platform {

// Whether the window system shows a window's opacity. An X11 desktop without a compositing manager,
// and Wayland, ignore it: there a "transparent" window would still cover the screen.
bool SupportsWindowOpacity();

}  // namespace platform
