// Preloaded into a program (LD_PRELOAD): CLOCK_REALTIME answers the seconds
// in NORVALE_FAKE_UNIX_SECONDS (every other clock is the real one), for
// every caller: the program itself and the C++ run-time's system_clock.

#include <dlfcn.h>
#include <time.h>

#include <cstdlib>

extern "C" int clock_gettime(clockid_t clock, timespec* out) {
    static const auto real =
        reinterpret_cast<int (*)(clockid_t, timespec*)>(::dlsym(RTLD_NEXT, "clock_gettime"));
    const char* fake = std::getenv("NORVALE_FAKE_UNIX_SECONDS");
    if (clock != CLOCK_REALTIME || fake == nullptr) {
        return real(clock, out);
    }
    out->tv_sec = static_cast<time_t>(std::strtoll(fake, nullptr, 10));
    out->tv_nsec = 0;
    return 0;
}
