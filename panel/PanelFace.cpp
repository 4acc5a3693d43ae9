#include "panel/PanelFace.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <memory>

namespace norvale {

namespace {

struct PatternFree {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetFree {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetFree {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternFree>;

const FcChar8* Utf8(const std::string& s) {
    return reinterpret_cast<const FcChar8*>(s.c_str());
}

std::optional<FontFaceFile> FaceOf(const FcPattern* font, const std::string& family) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
        return std::nullopt;
    }
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) != FcResultMatch) {
        index = 0;
    }
    return FontFaceFile{family, reinterpret_cast<const char*>(file), index};
}

int IntegerOf(const FcPattern* font, const char* object, int missing) {
    int value = missing;
    return FcPatternGetInteger(font, object, 0, &value) == FcResultMatch ? value : missing;
}

// How far a listed font is from the plain face: upright first, then the
// weight nearest to regular; ties keep fontconfig's order.
int Distance(const FcPattern* font) {
    const int slant = IntegerOf(font, FC_SLANT, FC_SLANT_ROMAN);
    const int weight = IntegerOf(font, FC_WEIGHT, FC_WEIGHT_REGULAR);
    return (slant == FC_SLANT_ROMAN ? 0 : 1000) + std::abs(weight - FC_WEIGHT_REGULAR);
}

} // namespace

std::optional<FontFaceFile> ChoosePanelFace(const FaceFinder& find, const FaceFinder& lastResort) {
    if (auto tahoma = find(PanelFaceFamily)) {
        return tahoma;
    }
    if (auto condensed = find(PanelFallbackFamily)) {
        return condensed;
    }
    if (lastResort) {
        return lastResort(PanelFallbackFamily);
    }
    return std::nullopt;
}

std::optional<FontFaceFile> FindInstalledFace(const std::string& family) {
    if (FcInit() == FcFalse) {
        return std::nullopt;
    }
    const PatternPtr pattern(FcPatternCreate());
    if (!pattern) {
        return std::nullopt;
    }
    FcPatternAddString(pattern.get(), FC_FAMILY, Utf8(family));
    const std::unique_ptr<FcObjectSet, ObjectSetFree> objects(
        FcObjectSetBuild(FC_FILE, FC_INDEX, FC_SLANT, FC_WEIGHT, static_cast<char*>(nullptr)));
    if (!objects) {
        return std::nullopt;
    }
    const std::unique_ptr<FcFontSet, FontSetFree> fonts(
        FcFontList(nullptr, pattern.get(), objects.get()));
    if (!fonts) {
        return std::nullopt;
    }
    const FcPattern* best = nullptr;
    for (int i = 0; i < fonts->nfont; ++i) {
        const FcPattern* font = fonts->fonts[i];
        if (best == nullptr || Distance(font) < Distance(best)) {
            best = font;
        }
    }
    return best == nullptr ? std::nullopt : FaceOf(best, family);
}

std::optional<FontFaceFile> MatchFace(const std::string& family) {
    if (FcInit() == FcFalse) {
        return std::nullopt;
    }
    const PatternPtr pattern(FcNameParse(Utf8(family)));
    if (!pattern) {
        return std::nullopt;
    }
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        return std::nullopt;
    }
    FcChar8* matched = nullptr;
    std::string name = family;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &matched) == FcResultMatch &&
        matched != nullptr) {
        name = reinterpret_cast<const char*>(matched);
    }
    return FaceOf(match.get(), name);
}

std::optional<FontFaceFile> FindPanelFace(const FaceOpener& open) {
    const auto usable = [&open](const FaceFinder& find) -> FaceFinder {
        return [&open, find](const std::string& family) -> std::optional<FontFaceFile> {
            auto face = find(family);
            return face && open(*face) ? face : std::nullopt;
        };
    };
    return ChoosePanelFace(usable(FindInstalledFace), usable(MatchFace));
}

PanelFaceLookUp& PanelFaceLookUpSeam() {
    static PanelFaceLookUp lookUp;
    return lookUp;
}

} // namespace norvale
