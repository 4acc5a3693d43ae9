// Prints the Moon seen from places for the accuracy script, one case a line
// on standard input:
//
//   latitude longitude from to instant
//
// (degrees; Unix seconds: the span [from, to) and one instant), one answer a
// line:
//
//   always altitude azimuth chi parallactic zenith_angle events...
//
// always is up, down or no; each event is r SECONDS, s SECONDS or
// t SECONDS ALTITUDE. A case outside the documented years prints "none".

#include "sky/MoonPlace.h"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

int main() {
    using namespace norvale::sky;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        Observer place;
        long long from = 0;
        long long to = 0;
        long long instant = 0;
        if (!(in >> place.latitudeDeg >> place.longitudeDeg >> from >> to >> instant)) {
            std::fprintf(stderr, "moon_place_probe: cannot read %s\n", line.c_str());
            return 1;
        }
        MoonTrack track(place);
        const auto events = track.EventsBetween(from, to);
        const auto sky = MoonInSkyAt(place, instant);
        if (!events || !sky) {
            std::printf("none\n");
            continue;
        }
        const char* always = events->always == MoonAlways::up     ? "up"
                             : events->always == MoonAlways::down ? "down"
                                                                  : "no";
        std::printf("%s %.9f %.9f %.9f %.9f %.9f", always, sky->altitudeDeg, sky->azimuthDeg,
                    sky->brightLimbDeg, sky->parallacticDeg, sky->zenithAngleDeg);
        for (const MoonEvent& e : events->events) {
            switch (e.kind) {
            case MoonEventKind::rise:
                std::printf(" r %lld", static_cast<long long>(e.utcSeconds));
                break;
            case MoonEventKind::set:
                std::printf(" s %lld", static_cast<long long>(e.utcSeconds));
                break;
            case MoonEventKind::transit:
                std::printf(" t %lld %.6f", static_cast<long long>(e.utcSeconds), e.altitudeDeg);
                break;
            }
        }
        std::printf("\n");
    }
    return 0;
}
