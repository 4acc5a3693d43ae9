#pragma once

#include <QRect>

namespace norvale {

// Dialog base units of the dialog font, fixed so that every pixel figure of
// the layouts holds on every machine: 6 x 13 logical pixels.
inline constexpr int kBaseUnitX = 6;
inline constexpr int kBaseUnitY = 13;

// value * numerator / denominator rounded to the nearest integer, halves away
// from zero (the rounding of the dialog manager).
constexpr int MulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    const long long q =
        product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
    return static_cast<int>(q);
}

constexpr int DialogUnitsToPixelsX(int x) {
    return MulDivRound(x, kBaseUnitX, 4);
}
constexpr int DialogUnitsToPixelsY(int y) {
    return MulDivRound(y, kBaseUnitY, 8);
}

// Each of x, y, width and height is converted on its own, as a dialog
// template's items are placed.
inline QRect DialogRect(int x, int y, int w, int h) {
    return QRect(DialogUnitsToPixelsX(x), DialogUnitsToPixelsY(y), DialogUnitsToPixelsX(w),
                 DialogUnitsToPixelsY(h));
}

} // namespace norvale
