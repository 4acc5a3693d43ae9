#pragma once

// The true picture's view of the sky's figures at an instant. A header of its
// own, so the picture itself never depends on the astronomy: its callers,
// which ask the sky, make the view here.

#include "sky/MoonOrientation.h"
#include "truemoon/TrueMoon.h"

namespace norvale {

// The view of the sky's aspect with the position angle up shown straight up
// (0 north up, 180 south up, the parallactic angle for the zenith up).
inline MoonView ViewOf(const sky::MoonAspect& aspect, double up) {
    return {aspect.phaseAngle,         aspect.brightLimb,        aspect.axis,
            aspect.librationLongitude, aspect.librationLatitude, up};
}

} // namespace norvale
