#include "panel/FaceCache.h"

#include "atomicfile/AtomicFile.h"
#include "core/Fields.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <span>
#include <sstream>
#include <string_view>

#include <sys/stat.h>

namespace norvale {

namespace {

constexpr const char* kHeader = "norvale-panel-face 2";
// The last line: "sum\t" and the FNV-1a hash of every byte before it, so a
// cache damaged anywhere (a changed byte, a cut end) is no answer.
constexpr const char* kSumField = "sum\t";
// The cache is small; anything longer is not ours.
constexpr std::size_t kMaxCacheBytes = 1 << 20;

// The variables that choose fontconfig's files and the user's folders.
constexpr std::array<const char*, 7> kVariables = {"FONTCONFIG_FILE",
                                                   "FONTCONFIG_PATH",
                                                   "FONTCONFIG_SYSROOT",
                                                   "XDG_CONFIG_HOME",
                                                   "XDG_DATA_HOME",
                                                   "XDG_CACHE_HOME",
                                                   "HOME"};

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string("=") + value : std::string("unset");
}

std::optional<std::string> AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || value[0] != '/') {
        return std::nullopt;
    }
    return std::string(value);
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Where a user's own fontconfig files and fonts go, present or not: a file or
// folder made there later must make the kept answer stale.
std::vector<std::string> UserFontPlaces() {
    std::vector<std::string> places;
    const auto home = AbsoluteEnv("HOME");
    const auto config = AbsoluteEnv("XDG_CONFIG_HOME");
    const auto data = AbsoluteEnv("XDG_DATA_HOME");
    if (config || home) {
        places.push_back((config ? *config : *home + "/.config") + "/fontconfig");
    }
    if (data || home) {
        places.push_back((data ? *data : *home + "/.local/share") + "/fonts");
    }
    if (home) {
        places.push_back(*home + "/.fonts.conf");
        places.push_back(*home + "/.fonts");
    }
    return places;
}

void AddList(FcStrList* list, std::set<std::string>& paths, bool withParent) {
    if (list == nullptr) {
        return;
    }
    while (const FcChar8* entry = FcStrListNext(list)) {
        const std::string path(reinterpret_cast<const char*>(entry));
        paths.insert(path);
        if (withParent) {
            paths.insert(ParentOf(path));
        }
    }
    FcStrListDone(list);
}

std::string Checksum(std::string_view bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : bytes) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

// A face index as written: decimal digits, within what a font file holds.
std::optional<int> FaceIndex(const std::string& text) {
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error != std::errc() || end != text.data() + text.size() || index < 0 || index > 0xFFFF ||
        text.empty() || text.front() == '-') {
        return std::nullopt;
    }
    return index;
}

// The stamp a kept stamp's name stands for, as it is now; nothing for a name
// that is neither a variable nor a path.
std::optional<FaceStamp> StampNow(const std::string& name) {
    if (name.starts_with("env:") && name.size() > 4) {
        return FaceStamp{name, Env(name.c_str() + 4)};
    }
    if (name.starts_with("path:/")) {
        return StampOf(name.substr(5));
    }
    return std::nullopt;
}

bool Plain(const std::string& text) {
    return text.find_first_of("\t\n") == std::string::npos;
}

} // namespace

std::optional<std::string> FaceCachePath() {
    if (const auto cache = AbsoluteEnv("XDG_CACHE_HOME")) {
        return *cache + "/norvale/panel-face";
    }
    if (const auto home = AbsoluteEnv("HOME")) {
        return *home + "/.cache/norvale/panel-face";
    }
    return std::nullopt;
}

FaceStamp StampOf(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return {"path:" + path, "missing"};
    }
    std::ostringstream value;
    value << status.st_mtim.tv_sec << '.' << status.st_mtim.tv_nsec << ' ' << status.st_size << ' '
          << status.st_ino;
    return {"path:" + path, value.str()};
}

std::vector<FaceStamp> CurrentFontconfigStamps() {
    std::set<std::string> paths;
    AddList(FcConfigGetConfigFiles(nullptr), paths, true);
    AddList(FcConfigGetFontDirs(nullptr), paths, false);
    AddList(FcConfigGetCacheDirs(nullptr), paths, false);
    for (const std::string& place : UserFontPlaces()) {
        paths.insert(place);
    }
    std::vector<FaceStamp> stamps;
    for (const char* name : kVariables) {
        stamps.push_back({std::string("env:") + name, Env(name)});
    }
    for (const std::string& path : paths) {
        stamps.push_back(StampOf(path));
    }
    return stamps;
}

std::optional<FontFaceFile> ReadFaceCache(const std::string& cacheFile) {
    FileDescriptor file = OpenForReading(cacheFile, PrivateFilePolicy());
    if (!file.IsOpen()) {
        return std::nullopt;
    }
    std::string bytes(kMaxCacheBytes, '\0');
    const auto [count, failed] = ReadUpTo(
        file.Get(), std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
    if (failed || count == bytes.size()) {
        return std::nullopt;
    }
    bytes.resize(count);
    // The last line holds the sum of all before it.
    if (bytes.empty() || bytes.back() != '\n') {
        return std::nullopt;
    }
    const std::size_t lastLine = bytes.rfind('\n', bytes.size() - 2);
    const std::size_t body = lastLine == std::string::npos ? 0 : lastLine + 1;
    if (bytes.compare(body, bytes.size() - body,
                      kSumField + Checksum(std::string_view(bytes).substr(0, body)) + '\n') != 0) {
        return std::nullopt;
    }
    std::istringstream in(bytes.substr(0, body));
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        return std::nullopt;
    }
    std::optional<FontFaceFile> face;
    std::set<std::string> stamped;
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = SplitFields(line, '\t');
        if (fields[0] == "face" && fields.size() == 4 && !face) {
            const std::optional<int> index = FaceIndex(fields[3]);
            if (!index || !fields[2].starts_with('/')) {
                return std::nullopt;
            }
            face = FontFaceFile{fields[1], fields[2], *index};
        } else if (fields[0] == "stamp" && fields.size() == 3) {
            const std::optional<FaceStamp> now = StampNow(fields[1]);
            if (!now || now->value != fields[2]) {
                return std::nullopt; // not ours, or something fontconfig reads has changed
            }
            stamped.insert(fields[1]);
        } else {
            return std::nullopt;
        }
    }
    // The face file itself is one of the stamps: a file put in its place is
    // no longer the face that was chosen.
    if (!face || stamped.count("path:" + face->path) == 0 ||
        StampOf(face->path).value == "missing") {
        return std::nullopt;
    }
    return face;
}

void WriteFaceCache(const std::string& cacheFile, const FontFaceFile& face,
                    const std::vector<FaceStamp>& stamps) {
    std::string text = std::string(kHeader) + '\n';
    text += "face\t" + face.family + '\t' + face.path + '\t' + std::to_string(face.index) + '\n';
    bool plain = Plain(face.family) && Plain(face.path);
    std::vector<FaceStamp> all = stamps;
    all.push_back(StampOf(face.path));
    for (const FaceStamp& stamp : all) {
        plain = plain && Plain(stamp.name) && Plain(stamp.value);
        text += "stamp\t" + stamp.name + '\t' + stamp.value + '\n';
    }
    text += kSumField + Checksum(text) + '\n';
    // A name that would break the lines is not kept: fontconfig is asked.
    if (!plain || !MakeFolders(ParentOf(cacheFile), PrivateFilePolicy()).ok) {
        return;
    }
    FilePolicy policy = PrivateFilePolicy();
    policy.syncFolder = false; // a lost cache is only asked for again
    ReplaceFile(cacheFile,
                std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), policy);
}

void DropFaceCache(const std::string& cacheFile) {
    // An empty file is no answer; it is rewritten once a usable face is found.
    if (const FileDescriptor kept = OpenForReading(cacheFile, PrivateFilePolicy()); kept.IsOpen()) {
        FilePolicy policy = PrivateFilePolicy();
        policy.syncFolder = false;
        ReplaceFile(cacheFile, {}, policy);
    }
}

std::optional<FontFaceFile> LookUpPanelFace(const std::optional<std::string>& cacheFile,
                                            const FaceOpener& open) {
    if (cacheFile) {
        if (auto kept = ReadFaceCache(*cacheFile)) {
            if (open(*kept)) {
                return kept;
            }
            DropFaceCache(*cacheFile);
        }
    }
    std::optional<FontFaceFile> chosen = FindPanelFace(open);
    if (chosen && cacheFile) {
        WriteFaceCache(*cacheFile, *chosen, CurrentFontconfigStamps());
    }
    return chosen;
}

void UsePanelFaceCache() {
    PanelFaceLookUpSeam() = [](const FaceOpener& open) {
        return LookUpPanelFace(FaceCachePath(), open);
    };
}

} // namespace norvale
