#pragma once

#include <iosfwd>

namespace norvale {

// True when a desktop is there to show a window on (DISPLAY or
// WAYLAND_DISPLAY set and not empty).
bool HasDisplay();

// What the program prints instead of its window when there is no desktop:
// one line on err, today's caption, age and illumination lines on out.
void PrintTodayWithoutDisplay(std::ostream& out, std::ostream& err);

} // namespace norvale
