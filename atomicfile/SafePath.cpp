#include "atomicfile/SafePath.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <deque>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <mutex>
#include <pwd.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace norvale {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinks = 40;

// The non-empty components of a path other than ".".
std::deque<std::string> Components(std::string_view path) {
    std::deque<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = path.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? path.size() : slash;
        const std::string_view part = path.substr(start, end - start);
        if (!part.empty() && part != ".") {
            parts.emplace_back(part);
        }
        start = end + 1;
    }
    return parts;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string ParentOf(const std::string& folder) {
    const std::size_t slash = folder.rfind('/');
    if (slash == std::string::npos) {
        return folder + "/..";
    }
    return slash == 0 ? std::string("/") : folder.substr(0, slash);
}

// Whether uid other than owner has gid as its primary group (such a user
// belongs to the group without being listed in it). The user database is
// walked under a lock: getpwent keeps its place in the process.
bool AnotherUserHasPrimaryGroup(gid_t gid, uid_t owner) {
    static std::mutex lock;
    const std::lock_guard guard(lock);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    bool another = false;
    ::setpwent();
    while (!another && ::getpwent_r(&entry, buffer.data(), buffer.size(), &found) == 0 &&
           found != nullptr) {
        another = found->pw_gid == gid && found->pw_uid != owner;
    }
    ::endpwent();
    return another;
}

// The group's only member is owner: its member list names no one else, it
// names owner or is owner's primary group, and it is no other user's primary
// group.
bool GroupHasOnlyOwner(gid_t gid, uid_t owner) {
    std::vector<char> buffer(16384);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) {
        return false;
    }
    std::vector<char> userBuffer(16384);
    passwd user{};
    passwd* person = nullptr;
    if (::getpwuid_r(owner, &user, userBuffer.data(), userBuffer.size(), &person) != 0 ||
        person == nullptr) {
        return false;
    }
    bool listed = false;
    for (char** member = found->gr_mem; member != nullptr && *member != nullptr; ++member) {
        if (std::strcmp(*member, person->pw_name) != 0) {
            return false;
        }
        listed = true;
    }
    return (listed || person->pw_gid == gid) && !AnotherUserHasPrimaryGroup(gid, owner);
}

// A folder with an access list: its group bits are the list's mask, so write
// permission in them may belong to any user the list names. The walk holds
// folders by O_PATH descriptors, on which fgetxattr fails, so the list is
// read through the descriptor's /proc entry; only "no such attribute" and "no
// lists here" mean no list, any other failure counts as one.
bool HasAccessList(int fd) {
    const std::string proc = "/proc/self/fd/" + std::to_string(fd);
    if (::getxattr(proc.c_str(), "system.posix_acl_access", nullptr, 0) >= 0) {
        return true;
    }
    return errno != ENODATA && errno != ENOTSUP;
}

class Walker {
public:
    Walker(FolderRule rule, bool create) : m_rule(rule), m_create(create), m_euid(::geteuid()) {}

    // Walks every component of parts as a folder; with fileLast the last one
    // is the file's name instead, which is followed when it is a link.
    WalkError Walk(std::deque<std::string> parts, bool fileLast, LocatedFile* out, bool fromRoot) {
        // A relative path starts in the working folder itself, which the
        // user may be able to reach where its parents are closed to them.
        if (WalkError e = fromRoot ? StartAtRoot() : Open(AT_FDCWD, ".", ".")) {
            return e;
        }
        while (!parts.empty()) {
            std::string part = std::move(parts.front());
            parts.pop_front();
            const bool isFile = fileLast && parts.empty();
            struct stat status {};
            if (part == "..") {
                if (WalkError e = Enter("..", ParentOf(m_path))) {
                    return e;
                }
                continue;
            }
            const std::string shown = Join(m_path, part);
            if (::fstatat(m_folder.Get(), part.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno != ENOENT) {
                    return Failed(shown, errno);
                }
                if (isFile) {
                    return Found(std::move(part), out);
                }
                if (!m_create) {
                    return Failed(shown, ENOENT);
                }
                if (WalkError e = MayCreate(shown, parts)) {
                    return e;
                }
                ++m_created;
                if (::mkdirat(m_folder.Get(), part.c_str(), 0700) == 0) {
                    // Private whatever the umask: it may have taken bits the
                    // owner needs to go on, and it may not add any.
                    ::fchmodat(m_folder.Get(), part.c_str(), 0700, 0);
                } else if (errno != EEXIST) {
                    return Failed(shown, errno);
                }
                parts.push_front(std::move(part)); // look at it again, now that it exists
                continue;
            }
            if (S_ISLNK(status.st_mode)) {
                if (WalkError e = Follow(part, status, parts)) {
                    return e;
                }
                continue;
            }
            if (isFile) {
                return Found(std::move(part), out);
            }
            if (!S_ISDIR(status.st_mode)) {
                return Failed(shown, ENOTDIR);
            }
            if (WalkError e = Enter(part, shown)) {
                return e;
            }
        }
        if (fileLast) {
            return {"no file name in the path", false, EINVAL};
        }
        return {};
    }

private:
    WalkError StartAtRoot() { return Open(AT_FDCWD, "/", "/"); }

    // Before the first missing folder is made, the whole rest of the path is
    // looked at, so a path that cannot be made leaves nothing behind: a ".."
    // after a missing folder would leave that folder as a stray, and more
    // missing folders than the kernel follows links in one path are refused.
    WalkError MayCreate(const std::string& shown, const std::deque<std::string>& rest) const {
        if (std::find(rest.begin(), rest.end(), "..") != rest.end()) {
            return {shown + " is missing and a \"..\" follows it: no folder made", true, ENOENT};
        }
        const std::size_t missing = static_cast<std::size_t>(m_created) + 1 + rest.size();
        if (missing > static_cast<std::size_t>(kMaxLinks)) {
            return {shown + ": " + std::to_string(missing) + " folders would be made, at most " +
                        std::to_string(kMaxLinks) + ": none made",
                    true, ENAMETOOLONG};
        }
        return {};
    }

    WalkError Enter(const std::string& name, const std::string& shown) {
        return Open(m_folder.Get(), name, shown);
    }

    // Opens name in the folder base as the new current folder and checks it.
    // O_PATH needs only search permission on the folders above, as the
    // kernel's own walk does: a folder one may pass through but not list
    // (0711) does not stop it.
    WalkError Open(int base, const std::string& name, const std::string& shown) {
        FileDescriptor next(
            ::openat(base, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.IsOpen()) {
            return Failed(shown, errno);
        }
        struct stat status {};
        if (::fstat(next.Get(), &status) != 0) {
            return Failed(shown, errno);
        }
        if (m_rule == FolderRule::TrustedFolders) {
            const FolderFacts facts{status.st_uid, status.st_mode,
                                    (status.st_mode & S_IWGRP) != 0 && !HasAccessList(next.Get()) &&
                                        GroupHasOnlyOwner(status.st_gid, status.st_uid)};
            if (const std::string why = FolderDistrust(facts, m_euid); !why.empty()) {
                return {shown + " " + why, true, 0};
            }
        }
        m_folder = std::move(next);
        m_path = shown;
        return {};
    }

    WalkError Follow(const std::string& name, const struct stat& status,
                     std::deque<std::string>& parts) {
        const std::string shown = Join(m_path, name);
        if (!MayFollowLink(status.st_uid, m_euid)) {
            return {shown + " is a link owned by another user", true, 0};
        }
        if (++m_links > kMaxLinks) {
            return Failed(shown, ELOOP);
        }
        std::vector<char> target(PATH_MAX);
        const ssize_t length =
            ::readlinkat(m_folder.Get(), name.c_str(), target.data(), target.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= target.size()) {
            return Failed(shown, length < 0 ? errno : ENAMETOOLONG);
        }
        const std::string_view text(target.data(), static_cast<std::size_t>(length));
        std::deque<std::string> inserted = Components(text);
        parts.insert(parts.begin(), inserted.begin(), inserted.end());
        if (text.front() == '/') {
            return StartAtRoot();
        }
        return {};
    }

    WalkError Found(std::string name, LocatedFile* out) {
        if (out != nullptr) {
            out->folder = std::move(m_folder);
            out->name = std::move(name);
            out->folderPath = m_path;
        }
        return {};
    }

    static WalkError Failed(const std::string& shown, int error) {
        return {shown + ": " + std::strerror(error), false, error};
    }

    FolderRule m_rule;
    bool m_create;
    uid_t m_euid;
    FileDescriptor m_folder;
    std::string m_path;
    int m_links = 0;
    int m_created = 0;
};

} // namespace

std::string FolderDistrust(const FolderFacts& facts, uid_t euid) {
    if (facts.owner != 0 && facts.owner != euid) {
        return "belongs to another user";
    }
    // In a sticky folder (/tmp) others may add entries but not replace or
    // remove the owner's.
    const bool sticky = (facts.mode & S_ISVTX) != 0;
    if ((facts.mode & S_IWOTH) != 0 && !sticky) {
        return "can be changed by every user";
    }
    if ((facts.mode & S_IWGRP) != 0 && !sticky && !facts.groupOnlyOwner) {
        return "can be changed by other members of its group";
    }
    return {};
}

WalkError LocateFile(const std::string& path, FolderRule rule, bool createFolders,
                     LocatedFile& out) {
    // "x/", "x/." and "x/.." name folders, never a file (the kernel says the same).
    const std::size_t slash = path.rfind('/');
    const std::string_view last = slash == std::string::npos
                                      ? std::string_view(path)
                                      : std::string_view(path).substr(slash + 1);
    if (last.empty() || last == "." || last == "..") {
        return {path + ": " + std::strerror(EISDIR), false, EISDIR};
    }
    return Walker(rule, createFolders).Walk(Components(path), true, &out, path.front() == '/');
}

WalkError MakeFoldersSafely(const std::string& path, FolderRule rule) {
    if (path.empty()) {
        return {"no folder name", false, EINVAL};
    }
    return Walker(rule, true).Walk(Components(path), false, nullptr, path.front() == '/');
}

} // namespace norvale
