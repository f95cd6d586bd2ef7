// Whether a display server can be reached, decided before Qt starts (a Qt
// program with no reachable display would abort instead of running headless).
#pragma once

namespace quindel {

// True when QT_QPA_PLATFORM is set, or an X server / Wayland compositor socket answers.
bool DisplayReachable();

}  // namespace quindel
