#pragma once

#include <iosfwd>

namespace norvale {

// True when a desktop is there to show a window on (DISPLAY or
// WAYLAND_DISPLAY set and not empty).
bool HasDisplay();

// Today's caption, age and illumination lines; false when they could not be
// written (a full disk, a closed pipe).
bool PrintToday(std::ostream& out);

// What the program prints instead of its window when there is no desktop:
// one line on err, today's three lines on out. False when out failed.
bool PrintTodayWithoutDisplay(std::ostream& out, std::ostream& err);

} // namespace norvale
