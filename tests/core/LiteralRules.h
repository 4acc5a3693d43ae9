#pragma once

// The Moon age and phase day rules transcribed step by step, rebuilding every
// intermediate value through the public date operations. Slow on purpose:
// the tests prove the library's PhaseDay and MoonAge give the same results,
// and the benchmark shows what the library saves.

#include "core/DateValue.h"
#include "core/Moon.h"

namespace norvale::test {

inline double LiteralMoonAge(const DateValue& v) {
    DateValue r;
    r.FromFields(2002, 1, 13, 13, 29, 0);
    const double e = Elapsed(r, v, TimeUnit::days);
    return FloorMod(e, 29.530589);
}

inline int LiteralPhaseDay(const DateValue& v) {
    const int y = v.Year();
    const int m = v.Month();
    const int d = v.Day();
    if (y == -1) {
        return -1; // the day of a value that is not valid cannot be placed
    }
    DateValue p;
    p.FromFields(y, m, d - 1, 23, 59, 59);
    const DateValue q = v.EndOfDay();
    const double b = LiteralMoonAge(p);
    const double c = LiteralMoonAge(q);
    if (c < b) {
        return 0;
    }
    if (b < PhaseStep && c < PhaseStep) {
        return 1;
    }
    for (int i = 1; i <= 27; ++i) {
        const double e = i * PhaseStep;
        if (b < e && e < c) {
            return i;
        }
        if (e < b && c < e + PhaseStep) {
            if (i == 7) {
                return 8;
            }
            if (i == 14) {
                return 15;
            }
            if (i == 21) {
                return 22;
            }
            return i;
        }
    }
    return -1;
}

} // namespace norvale::test
