#pragma once

#include <QColor>

namespace norvale {

// Relative luminance of an sRGB colour, 0 (black) to 1 (white), as WCAG 2
// defines it.
double RelativeLuminance(const QColor& colour);

// WCAG 2 contrast ratio of two colours, 1 to 21, whichever is lighter.
double ContrastRatio(const QColor& a, const QColor& b);

// The least contrast of normal text against its background (WCAG 2 AA).
inline constexpr double kMinimumTextContrast = 4.5;

// The least contrast of a control's parts and of a focus mark against what
// surrounds them (WCAG 2 AA, non-text contrast).
inline constexpr double kMinimumControlContrast = 3.0;

// The preferred colour wherever it reaches `minimum` contrast against the
// face; otherwise the nearest tint of it towards white or shade towards black
// that does (on a dark face a lighter colour, on a mid-grey one a darker
// colour, since no lighter one can reach 4.5:1 there).
QColor ReadableOn(const QColor& preferred, const QColor& face,
                  double minimum = kMinimumTextContrast);

} // namespace norvale
