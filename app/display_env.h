// The window system the display runs on: Qt's own choice of platform, with drawing
// off screen as the last resort, so that where no display server answers the
// program runs headless instead of stopping.
#pragma once

namespace quindel {

// Call before the application object exists. Unless QT_QPA_PLATFORM already names a
// platform, Qt is given the display servers this session names to try ("wayland" when
// WAYLAND_DISPLAY is set, "xcb" when DISPLAY is) and "offscreen" after them; what Qt
// reports about servers it could not reach is held back while the application object
// starts.
void PrepareDisplayPlatform();

// Call once the application object exists: true when Qt ended on the last resort
// (no display server answered), false when it found one or the user chose the platform.
bool StartedHeadless();

}  // namespace quindel
