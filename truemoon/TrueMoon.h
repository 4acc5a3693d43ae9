#pragma once

// The Moon as it is at an instant, drawn into an RGB buffer: the lunar map
// projected orthographically about the point at the disk's centre (the
// libration), turned by the position angle of the Moon's axis, lit from the
// Sun's direction (the true terminator) and turned as a whole for the view
// (north up, south up, or the observer's zenith up). Plain C++, no Qt.

#include "shading/Shading.h"
#include "truemoon/LunarMap.h"

#include <optional>

namespace norvale {

// What the sky gives for the picture, angles in degrees. Position angles
// count from the north point of the disk through the east.
struct MoonView {
    double phaseAngle = 0.0;         // Sun-Moon-observer: 0 full, 180 new
    double brightLimb = 0.0;         // position angle of the bright limb's middle
    double axis = 0.0;               // position angle of the Moon's north pole
    double librationLongitude = 0.0; // selenographic longitude at the centre, east positive
    double librationLatitude = 0.0;  // selenographic latitude at the centre
    // The position angle shown straight up: 0 north up, 180 south up, the
    // parallactic angle for the observer's zenith up.
    double up = 0.0;
};

// Where the disk lies in the buffer: its centre in pixel coordinates (pixel
// (x, y) covers x ... x + 1, y ... y + 1) and its radius in pixels.
struct DiskPlacement {
    double centreX = 0.0;
    double centreY = 0.0;
    double radius = 0.0;
};

// Draws the disk over what the buffer holds: each pixel whose centre lies
// inside the circle is the Moon, blended with the sky by how much of the
// pixel the circle covers; lit where the surface faces the Sun (the map under
// the lit palette), otherwise the map under the dark palette, blended across
// the terminator by a pixel. Nothing outside the disk's square is touched.
void DrawTrueMoon(const PixelBuffer& target, const DiskPlacement& disk, const MoonView& view,
                  LunarMap& map);

// Where a selenographic point (degrees, east positive) appears: its offset
// from the disk's centre in radii, x to the right and y down; nullopt on the
// far side.
struct DiskOffset {
    double x = 0.0;
    double y = 0.0;
};
std::optional<DiskOffset> ProjectOnDisk(const MoonView& view, double latitude, double longitude);

} // namespace norvale
