#include "app/Headless.h"

#include "core/DateValue.h"
#include "core/MoonDay.h"

#include <cstdlib>
#include <ostream>

namespace norvale {

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

bool HasDisplay() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

bool PrintToday(std::ostream& out) {
    const DateValue now = DateValue::Now();
    const MoonDay today = MakeMoonDay(now, now);
    out << today.caption << '\n' << today.ageText << '\n' << today.illuminationText << '\n';
    out.flush();
    return static_cast<bool>(out);
}

bool PrintTodayWithoutDisplay(std::ostream& out, std::ostream& err) {
    err << "norvale: no display available; today's Moon:\n";
    return PrintToday(out);
}

} // namespace norvale
