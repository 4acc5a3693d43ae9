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

// The panel's face, looked up once per process on first use: the answer kept
// in the user's cache while fontconfig's files are unchanged
// (panel/FaceCache.h), otherwise the rule above over fontconfig.
const std::optional<FontFaceFile>& PanelFace();

} // namespace norvale
