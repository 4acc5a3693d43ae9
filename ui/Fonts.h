#pragma once

#include <QFont>
#include <QString>

namespace norvale {

// Makes a font from a style code, a height and a face.
// Style: 0 plain, 1 bold, 2 italic, 3 bold italic, 4 underline, any other plain.
// Height: a negative height is a character height in pixels; a positive one is
// a cell height (ascent + descent) in pixels; 0 keeps the default size.
// When the face is not installed, "Tahoma" falls back to "DejaVu Sans
// Condensed" (the same face on every machine), so the panel's texts fit.
QFont CreateStyledFont(int style, int height, const QString& face);

// The face CreateStyledFont really uses for a requested face.
QString ResolvedFontFace(const QString& face);

// The dialog font of the main window and the About box: "Tahoma" (or its
// fixed fallback) with an 11-pixel character height, the size of an 8-point
// dialog font at 96 dots per inch, where every control text fits its box.
QFont DialogFont();

// The font of the link labels: the dialog font's face and height, plain or
// underlined (while the pointer is over the link).
QFont LinkFont(bool underlined);

} // namespace norvale
