#include "ui/Contrast.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace norvale {

namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

QColor Mix(const QColor& from, const QColor& to, double t) {
    const auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return QColor(mix(from.red(), to.red()), mix(from.green(), to.green()),
                  mix(from.blue(), to.blue()));
}

// The first colour on the way from preferred to target, in steps of 1/256,
// that reaches the minimum contrast, and how far along it lies.
struct Found {
    QColor colour;
    int step;
};
std::optional<Found> FirstReadable(const QColor& preferred, const QColor& target,
                                   const QColor& face, double minimum) {
    constexpr int kSteps = 256;
    for (int step = 0; step <= kSteps; ++step) {
        const QColor colour = Mix(preferred, target, static_cast<double>(step) / kSteps);
        if (ContrastRatio(colour, face) >= minimum) {
            return Found{colour, step};
        }
    }
    return std::nullopt;
}

} // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& preferred, const QColor& face, double minimum) {
    if (ContrastRatio(preferred, face) >= minimum) {
        return preferred;
    }
    const std::optional<Found> lighter = FirstReadable(preferred, Qt::white, face, minimum);
    const std::optional<Found> darker = FirstReadable(preferred, Qt::black, face, minimum);
    if (lighter && (!darker || lighter->step <= darker->step)) {
        return lighter->colour;
    }
    if (darker) {
        return darker->colour;
    }
    // No face lies beyond both (white or black reaches 4.58:1 on any), but
    // should one, the better of the two ends.
    return ContrastRatio(Qt::white, face) >= ContrastRatio(Qt::black, face) ? QColor(Qt::white)
                                                                            : QColor(Qt::black);
}

} // namespace norvale
