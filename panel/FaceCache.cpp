#include "panel/FaceCache.h"

#include "atomicfile/AtomicFile.h"

#include <fontconfig/fontconfig.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <sstream>

#include <sys/stat.h>

namespace norvale {

namespace {

constexpr const char* kHeader = "norvale-panel-face 1";
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
    std::istringstream in(bytes);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        return std::nullopt;
    }
    std::optional<FontFaceFile> face;
    bool stamped = false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string kind;
        std::string first;
        std::string second;
        if (!std::getline(fields, kind, '\t') || !std::getline(fields, first, '\t') ||
            !std::getline(fields, second, '\t')) {
            return std::nullopt;
        }
        if (kind == "face") {
            std::string index;
            std::getline(fields, index);
            face = FontFaceFile{first, second, std::atoi(index.c_str())};
        } else if (kind == "stamp") {
            const FaceStamp now = first.starts_with("env:")
                                      ? FaceStamp{first, Env(first.c_str() + 4)}
                                      : StampOf(first.substr(5));
            if (now.value != second) {
                return std::nullopt; // something fontconfig reads has changed
            }
            stamped = true;
        } else {
            return std::nullopt;
        }
    }
    if (!face || !stamped || StampOf(face->path).value == "missing") {
        return std::nullopt;
    }
    return face;
}

void WriteFaceCache(const std::string& cacheFile, const FontFaceFile& face,
                    const std::vector<FaceStamp>& stamps) {
    std::string text = std::string(kHeader) + '\n';
    text += "face\t" + face.family + '\t' + face.path + '\t' + std::to_string(face.index) + '\n';
    bool plain = Plain(face.family) && Plain(face.path);
    for (const FaceStamp& stamp : stamps) {
        plain = plain && Plain(stamp.name) && Plain(stamp.value);
        text += "stamp\t" + stamp.name + '\t' + stamp.value + '\n';
    }
    // A name that would break the lines is not kept: fontconfig is asked.
    if (!plain || !MakeFolders(ParentOf(cacheFile), PrivateFilePolicy()).ok) {
        return;
    }
    FilePolicy policy = PrivateFilePolicy();
    policy.syncFolder = false; // a lost cache is only asked for again
    ReplaceFile(cacheFile,
                std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), policy);
}

} // namespace norvale
