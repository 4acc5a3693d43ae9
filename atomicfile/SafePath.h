#pragma once

// Finding a file's folder without trusting anyone else's links or folders.
//
// A path is walked from "/" one component at a time with openat() and
// O_NOFOLLOW, so no component can be swapped for a link between a check and
// its use. A symbolic link is followed only when it belongs to this process's
// effective user or to root (as the kernel's protected_symlinks does in
// shared folders); after a link with an absolute target the walk starts again
// at "/". Under the strict policy every folder on the way must also belong to
// root or the effective user and must not be writable by others unless it has
// the sticky bit (/tmp), nor by its group unless the group has no member but
// the folder's owner (a user's private group, as OpenSSH's strict modes
// allow); in a sticky folder others may add entries but not replace the
// owner's, so it may be writable by anyone. So a program run as root with another user's settings
// folder (after a plain `su`, or `sudo -E`) can never be led to write where that user could not.

#include "atomicfile/AtomicFile.h"

#include <string>

#include <sys/stat.h>
#include <sys/types.h>

namespace norvale {

// The folder that holds a file, open, and the file's name in it, after every
// link on the way (the file's own included) has been followed.
struct LocatedFile {
    FileDescriptor folder;
    std::string name;
    std::string folderPath; // the folder as reached, for messages
};

// Why a walk stopped: empty when it did not. refused is set when the rules
// above forbade going on (an untrusted link or folder), as opposed to a
// missing or unreadable component.
struct WalkError {
    std::string message;
    bool refused = false;
    int error = 0; // errno of a failed call, or 0

    explicit operator bool() const { return !message.empty(); }
};

// Walks to the folder of path and follows a link at the file's own name. An
// absolute path is walked from "/"; a relative one from the working folder
// itself (the folders above it are not looked at). A path whose last part is
// empty, "." or ".." names a folder and is refused. With createFolders, missing
// folders are made with mode 0700 on the way.
WalkError LocateFile(const std::string& path, FolderRule rule, bool createFolders,
                     LocatedFile& out);

// Walks to path as a folder, making the missing ones with mode 0700.
WalkError MakeFoldersSafely(const std::string& path, FolderRule rule);

// The facts the folder rule looks at, and the decision itself: empty when a
// folder with these facts may be used by a process with effective user euid,
// otherwise the reason. groupOnlyOwner says whether the folder's group has no
// member but the folder's owner.
struct FolderFacts {
    uid_t owner = 0;
    mode_t mode = 0;
    bool groupOnlyOwner = false;
};
std::string FolderDistrust(const FolderFacts& facts, uid_t euid);

// Whether a link owned by owner may be followed by effective user euid.
constexpr bool MayFollowLink(uid_t owner, uid_t euid) {
    return owner == euid || owner == 0;
}

} // namespace norvale
