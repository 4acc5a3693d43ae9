#pragma once

// The panel's layout in logical pixels: its size at 1x, its stars, and where
// its three text rows stand. The drawing and the text code both place by it.

namespace norvale {

inline constexpr int PanelWidth = 135;
inline constexpr int PanelHeight = 156;
inline constexpr int PanelStarCount = 55;

// Tops of the three text rows, counted from the bottom of the panel.
inline constexpr int CaptionRowFromBottom = 38;
inline constexpr int AgeRowFromBottom = 27;
inline constexpr int IlluminationRowFromBottom = 15;
inline constexpr int TextLeft = 5;

} // namespace norvale
