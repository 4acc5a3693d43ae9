#pragma once

// Which font file the panel's three text lines use. The rule is the window's
// (ui/Fonts.cpp): "Tahoma" only when that very family is installed, otherwise
// "DejaVu Sans Condensed" (Debian package fonts-dejavu-extra) on every
// machine. fontconfig's substitute for a missing "Tahoma" is never taken: it
// is DejaVu Sans, too wide for the panel.

#include <functional>
#include <optional>
#include <string>

namespace norvale {

inline constexpr const char* PanelFaceFamily = "Tahoma";
inline constexpr const char* PanelFallbackFamily = "DejaVu Sans Condensed";

// One face in one font file.
struct FontFaceFile {
    std::string family; // the family it was found under
    std::string path;   // the font file
    int index = 0;      // the face inside the file
};

// The installed regular (upright, weight nearest to regular) face of exactly
// this family, or nothing when no installed font lists the family.
using FaceFinder = std::function<std::optional<FontFaceFile>(const std::string& family)>;

// The face rule over a finder: Tahoma when found, otherwise the condensed
// face; when neither is installed, the last resort (fontconfig's best match
// for the condensed face), or nothing.
std::optional<FontFaceFile> ChoosePanelFace(const FaceFinder& find,
                                            const FaceFinder& lastResort = {});

// The finder over fontconfig's list of installed fonts (FcFontList: the
// fonts that name the family, never a substitute).
std::optional<FontFaceFile> FindInstalledFace(const std::string& family);

// fontconfig's best match for a family (FcFontMatch: may be a substitute).
std::optional<FontFaceFile> MatchFace(const std::string& family);

// Whether a face can be drawn with (the caller opens it and keeps it open).
using FaceOpener = std::function<bool(const FontFaceFile&)>;

// The rule above over fontconfig with open's check: only faces that open
// count as found (a broken Tahoma leaves the condensed face). Reads no file
// but fontconfig's and the fonts; nothing when no usable face is found.
std::optional<FontFaceFile> FindPanelFace(const FaceOpener& open);

// How the renderer finds its face, with its own check as open.
using PanelFaceLookUp = std::function<std::optional<FontFaceFile>(const FaceOpener& open)>;

// The look-up the renderer uses once, when it first needs its face: empty
// means FindPanelFace (fontconfig alone, nothing written). The programs
// install the look-up through the user's cache (UsePanelFaceCache,
// panel/FaceCache.h) at start, before anything is drawn.
PanelFaceLookUp& PanelFaceLookUpSeam();

// The face this process draws the panel's text with: looked up once, on
// first use, through PanelFaceLookUpSeam with FreeType's check of
// panel/PanelText.h; nothing when no usable face was found.
const std::optional<FontFaceFile>& PanelFace();

} // namespace norvale
