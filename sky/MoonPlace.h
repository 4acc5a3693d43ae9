#pragma once

// The Moon as seen from a place on the Earth: its altitude and azimuth, the
// tilt of its bright limb, and its rise, set and upper transit. Instants are
// Unix seconds (UTC, taken as Universal Time). Plain C++, no Qt; over the same
// libnova positions as Sky.h, so not for two threads at once.

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <vector>

namespace norvale::sky {

// A place on the Earth's surface at sea level: degrees, north and east
// positive.
struct Observer {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
};

// The Moon at one instant seen from a place.
struct MoonInSky {
    // The centre's topocentric altitude above the horizon and its azimuth
    // from north through east, in degrees, without refraction.
    double altitudeDeg = 0.0;
    double azimuthDeg = 0.0;
    // Position angle of the midpoint of the bright limb, measured from the
    // direction of the celestial north pole through east (chi), 0 to 360;
    // with north up, angles run counterclockwise (east is on the left).
    double brightLimbDeg = 0.0;
    // The parallactic angle q: the angle at the Moon from the north pole to
    // the zenith, -180 to 180 (negative before transit).
    double parallacticDeg = 0.0;
    // The bright limb's angle from the zenith instead: chi - q, 0 to 360,
    // running the same way as chi. As the observer sees the Moon: 0 the lit
    // edge faces straight up, 90 to the left, 180 down, 270 to the right (a
    // waxing Moon seen from the north in the evening is near 270).
    double zenithAngleDeg = 0.0;
};

// The figures at an instant; nullopt outside the years of InDocumentedRange.
std::optional<MoonInSky> MoonInSkyAt(const Observer& place, std::int64_t utcSeconds);

// Rise and set follow the almanacs: the upper limb on the horizon with 34' of
// standard refraction, the Moon's horizontal parallax and semi-diameter at
// the instant. The transit is the upper one (the Moon on the meridian, due
// south or due north), with the centre's altitude then, without refraction.
enum class MoonEventKind { rise, set, transit };

struct MoonEvent {
    MoonEventKind kind = MoonEventKind::rise;
    std::int64_t utcSeconds = 0; // to the nearest second
    double altitudeDeg = 0.0;    // transits only
};

enum class MoonAlways { no, up, down };

// The events of a span of time, in time order. A local day usually has one
// rise, one set and one transit; any may be missing, and near the poles a
// kind may come twice. always says whether the upper limb stayed above (or
// below) the horizon the whole span, when there is neither rise nor set.
struct MoonEvents {
    std::vector<MoonEvent> events;
    MoonAlways always = MoonAlways::no;

    const MoonEvent* First(MoonEventKind kind) const;
};

// Events of a place over many spans. It computes the Moon's geocentric
// position every six hours of UTC and keeps it, interpolating in between
// (within a tenth of an arc second), so neighbouring days share their
// positions and a day costs about four positions of the Moon.
class MoonTrack {
public:
    explicit MoonTrack(const Observer& place) : m_place(place) {}

    // Every event from fromUtc (included) to toUtc (excluded); nullopt when
    // the span is not inside the years of InDocumentedRange.
    std::optional<MoonEvents> EventsBetween(std::int64_t fromUtc, std::int64_t toUtc);

    // The upper limb's height over the almanac horizon, degrees (positive:
    // risen), and the Moon's hour angle, -180 to 180. For tests and probes.
    double LimbAboveHorizon(double utcSeconds);
    double HourAngle(double utcSeconds);

private:
    struct Geocentric {
        double raDeg = 0.0; // right ascension, not wrapped between nodes
        double decDeg = 0.0;
        double distanceKm = 0.0;
    };
    const Geocentric& Node(std::int64_t index);
    Geocentric MoonAt(double utcSeconds);

    Observer m_place;
    std::map<std::int64_t, Geocentric> m_nodes;
    // The four nodes around the last instant asked for.
    std::int64_t m_windowIndex = std::numeric_limits<std::int64_t>::min();
    Geocentric m_window[4];
};

} // namespace norvale::sky
