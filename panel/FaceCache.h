#pragma once

// The panel's face remembered between runs. Asking fontconfig which face to
// use means reading its whole configuration first, which costs more than
// drawing and encoding the panel; a PNG from norvale-cli would spend most of
// its time there. So the answer is kept in the user's cache folder together
// with what it depended on: the modification times of every configuration
// file fontconfig read and the folders they lie in, of the font folders and
// of fontconfig's own cache folders, and the environment variables that
// choose them. The kept answer is used only while all of these are as they
// were; otherwise fontconfig is asked again and the cache written anew.
//
// A library of its own beside the renderer (norvale_panel), which writes no
// file: the programs install the look-up through the cache at start
// (UsePanelFaceCache).

#include "panel/PanelFace.h"

#include <optional>
#include <string>
#include <vector>

namespace norvale {

// What a kept answer depends on: a path with its modification time and size
// (or "missing"), or an environment variable with its value.
struct FaceStamp {
    std::string name;
    std::string value;
    friend bool operator==(const FaceStamp&, const FaceStamp&) = default;
};

// "$XDG_CACHE_HOME/norvale/panel-face" (or "$HOME/.cache/norvale/..."), or
// nothing when neither names an absolute folder.
std::optional<std::string> FaceCachePath();

// The stamps of fontconfig's present configuration (after it was read).
std::vector<FaceStamp> CurrentFontconfigStamps();

// The stamp of a path as it is now.
FaceStamp StampOf(const std::string& path);

// The kept face, when the cache file holds one and every stamp in it still
// matches (paths stat'ed again, variables read again, the face file's own
// stamp among them). A cache damaged in any way (a changed byte, a cut end, a
// line that is not ours) is no answer.
std::optional<FontFaceFile> ReadFaceCache(const std::string& cacheFile);

// Keeps face with the stamps and the face file's own stamp; a cache that
// cannot be written is no fault.
void WriteFaceCache(const std::string& cacheFile, const FontFaceFile& face,
                    const std::vector<FaceStamp>& stamps);

// Forgets a kept face that could not be used (left empty, so no answer).
void DropFaceCache(const std::string& cacheFile);

// The panel's face: the answer kept in cacheFile while fontconfig's files are
// unchanged and open accepts it; otherwise FindPanelFace (panel/PanelFace.h),
// kept in the cache when found. A kept answer open refuses is dropped.
// Nothing when no usable face is found.
std::optional<FontFaceFile> LookUpPanelFace(const std::optional<std::string>& cacheFile,
                                            const FaceOpener& open);

// Makes LookUpPanelFace in the user's cache (FaceCachePath, as the
// environment names it when the face is looked up) the renderer's look-up
// (PanelFaceLookUpSeam). Called by the programs before anything is drawn.
void UsePanelFaceCache();

} // namespace norvale
