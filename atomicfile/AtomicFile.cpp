#include "atomicfile/AtomicFile.h"

#include "atomicfile/SafePath.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace norvale {

namespace {

constexpr int kMaxTempNameTries = 100;
// A temporary file this old belongs to a save that can no longer be running.
constexpr std::time_t kStaleSeconds = 60;
constexpr mode_t kSetIdAndSticky = S_ISUID | S_ISGID | S_ISVTX;

// True when the test seam asks this step to fail; the step then fails with
// EIO, which no fallback mistakes for a read-only folder.
bool InjectedFault(SaveStep step) {
    const SaveFaultHook& hook = SaveFaultSeam();
    if (hook && hook(step)) {
        errno = EIO;
        return true;
    }
    return false;
}

FileResult Failure(std::string message, int error, bool refused = false) {
    FileResult result;
    result.refused = refused;
    result.error = error;
    result.message = std::move(message);
    return result;
}

FileResult FromWalk(const WalkError& e) {
    return Failure(e.message, e.error, e.refused);
}

FileResult Success(bool inPlace = false) {
    FileResult result;
    result.ok = true;
    result.inPlace = inPlace;
    return result;
}

// Every temporary file starts with this, then the target's name, a dot and
// 16 random hexadecimal digits: no name a person would give a file.
constexpr std::string_view kTempPrefix = ".norvale-tmp.";
constexpr std::size_t kTempRandomDigits = 16;

// ".norvale-tmp.info.dat.3f9a1c0e5b7d2a64": the exclusive create catches the
// rare name that is taken.
std::string TemporaryName(const std::string& name) {
    std::uint64_t random = 0;
    if (::getrandom(&random, sizeof random, GRND_NONBLOCK) != sizeof random) {
        static std::atomic<std::uint64_t> counter{0};
        random = static_cast<std::uint64_t>(
                     std::chrono::steady_clock::now().time_since_epoch().count()) *
                     0x9e3779b97f4a7c15u ^
                 (static_cast<std::uint64_t>(::getpid()) << 32) ^ counter.fetch_add(1);
    }
    char digits[kTempRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(random));
    return std::string(kTempPrefix) + name + "." + digits;
}

// Whether entry is a name TemporaryName could have made for name.
bool IsOwnTemporary(std::string_view entry, const std::string& name) {
    const std::size_t head = kTempPrefix.size() + name.size() + 1;
    if (entry.size() != head + kTempRandomDigits || !entry.starts_with(kTempPrefix) ||
        entry.substr(kTempPrefix.size(), name.size()) != name || entry[head - 1] != '.') {
        return false;
    }
    return entry.substr(head).find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The process's umask, read without changing it.
mode_t CurrentUmask() {
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned int mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status) != nullptr) {
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        }
        std::fclose(status);
        if (found) {
            return static_cast<mode_t>(mask);
        }
    }
    return 022;
}

// Removes the temporary files of saves that were killed before their rename:
// the program's own names, regular files of this user, over a minute old.
void RemoveStaleTemporaries(int folder, const std::string& name) {
    const int copy = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (dir == nullptr) {
        if (copy >= 0) {
            ::close(copy);
        }
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        struct stat status {};
        if (IsOwnTemporary(entry->d_name, name) &&
            ::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
            status.st_mtime + kStaleSeconds < now) {
            ::unlinkat(folder, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// A file a replacement must leave alone: nobody may write it (root included,
// who could otherwise write past the mode bits), or this process may not.
bool IsReadOnly(int folder, const std::string& name, const struct stat& status) {
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return true;
    }
    return ::faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0;
}

// Gives the new file the mode and owner of the file it replaces, without the
// set-id and sticky bits; a new file keeps the mode its creation gave it.
bool CopyModeAndOwner(int fd, const std::optional<struct stat>& old, const FilePolicy& policy) {
    if (InjectedFault(SaveStep::Mode)) {
        return false;
    }
    if (!old) {
        // The program's own files stay its own to rewrite: a umask that takes
        // the owner's read or write bit (0277) would make the next save
        // find a read-only file and leave it alone.
        struct stat made {};
        return !policy.ownerReadWrite ||
               (::fstat(fd, &made) == 0 &&
                ((made.st_mode & 0600) == 0600 || ::fchmod(fd, (made.st_mode & 0777) | 0600) == 0));
    }
    if (old->st_uid != ::geteuid() || old->st_gid != ::getegid()) {
        // Only a privileged process may hand a file to another owner; anyone
        // else keeps the file as their own, which is all they could write.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
            // Not a failure of the save: the new file is the writer's own.
        }
    }
    return ::fchmod(fd, old->st_mode & 07777 & ~kSetIdAndSticky) == 0;
}

// Writes the bytes over the file itself, for a writable file in a read-only
// folder where no temporary file can be made.
FileResult WriteInPlace(const LocatedFile& at, const struct stat& old,
                        std::span<const std::uint8_t> bytes) {
    const std::string shown = at.folderPath + "/" + at.name;
    FileDescriptor file(::openat(at.folder.Get(), at.name.c_str(),
                                 O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status {};
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) {
        return Failure(shown + ": " + std::strerror(errno), errno);
    }
    if (status.st_dev != old.st_dev || status.st_ino != old.st_ino) {
        return Failure(shown + " changed while it was written", EAGAIN);
    }
    // Emptied first, so a write cut off part way leaves the new bytes' head,
    // never the new head on the old tail (which could read as a whole file).
    const bool written = ::ftruncate(file.Get(), 0) == 0 && !InjectedFault(SaveStep::Write) &&
                         WriteAll(file.Get(), bytes) && !InjectedFault(SaveStep::Sync) &&
                         ::fsync(file.Get()) == 0;
    const int error = errno;
    if (!file.Close() || !written) {
        FileResult failed = Failure(shown + " (written in place, its folder is read-only): " +
                                        std::strerror(written ? errno : error),
                                    written ? errno : error);
        failed.inPlace = true;
        return failed;
    }
    return Success(true);
}

// Writes the bytes into a fresh temporary file and moves it over the target.
FileResult ReplaceThroughTemporary(const LocatedFile& at, const std::optional<struct stat>& old,
                                   std::span<const std::uint8_t> bytes, const FilePolicy& policy) {
    const int folder = at.folder.Get();
    const std::string shown = at.folderPath + "/" + at.name;
    std::string tempName;
    FileDescriptor file;
    int openError = EIO;
    for (int attempt = 0; attempt < kMaxTempNameTries && !file.IsOpen(); ++attempt) {
        tempName = TemporaryName(at.name);
        if (InjectedFault(SaveStep::Open)) {
            break;
        }
        file = FileDescriptor(::openat(
            folder, tempName.c_str(),
            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, policy.newFileMode));
        openError = errno;
        if (!file.IsOpen() && openError != EEXIST) {
            break;
        }
    }
    if (!file.IsOpen()) {
        if (old && (openError == EACCES || openError == EPERM)) {
            return WriteInPlace(at, *old, bytes);
        }
        return Failure(shown + ": " + std::strerror(openError), openError);
    }
    const bool written = CopyModeAndOwner(file.Get(), old, policy) &&
                         !InjectedFault(SaveStep::Write) && WriteAll(file.Get(), bytes) &&
                         !InjectedFault(SaveStep::Sync) && ::fsync(file.Get()) == 0;
    int error = errno;
    const bool closed = !InjectedFault(SaveStep::Close) && file.Close();
    if (written && !closed) {
        error = errno;
    }
    const bool renamed = written && closed && !InjectedFault(SaveStep::Rename) &&
                         ::renameat(folder, tempName.c_str(), folder, at.name.c_str()) == 0;
    if (!renamed) {
        error = written && closed ? errno : error;
        file.Close();
        ::unlinkat(folder, tempName.c_str(), 0);
        return Failure(shown + ": " + std::strerror(error), error);
    }
    // Flush the folder entry of the rename; a failure here cannot undo it.
    // (Where the policy does without it, a crash can bring back the old file,
    // whole, in place of the new one.)
    // (The walk holds the folder by a descriptor that cannot be flushed:
    // it is opened again, readable, for that.)
    if (policy.syncFolder) {
        const FileDescriptor readable(
            ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY));
        if (readable.IsOpen()) {
            ::fsync(readable.Get());
        }
    }
    return Success();
}

} // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool FileDescriptor::Close() {
    const int fd = std::exchange(m_fd, -1);
    return fd < 0 || ::close(fd) == 0;
}

FilePolicy PrivateFilePolicy() {
    return FilePolicy{FolderRule::TrustedFolders, 0644, true, true};
}

FilePolicy OutputFilePolicy() {
    return FilePolicy{FolderRule::AnyFolder, 0666, false, false};
}

std::pair<std::size_t, bool> ReadUpTo(int fd, std::span<std::uint8_t> buffer) {
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t count = ::read(fd, buffer.data() + done, buffer.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return {done, true};
        }
        if (count == 0) {
            break;
        }
        done += static_cast<std::size_t>(count);
    }
    return {done, false};
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

FileDescriptor OpenForReading(const std::string& path, const FilePolicy& policy, FileResult* why) {
    LocatedFile at;
    FileResult result;
    if (const WalkError e = LocateFile(path, policy.folders, false, at)) {
        result = FromWalk(e);
    } else {
        struct stat status {};
        const std::string shown = at.folderPath + "/" + at.name;
        // A pipe or device is never opened: opening one can block or act.
        if (::fstatat(at.folder.Get(), at.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            !S_ISREG(status.st_mode)) {
            result = Failure(shown + " is not a regular file", EINVAL);
            if (why != nullptr) {
                *why = std::move(result);
            }
            return FileDescriptor();
        }
        FileDescriptor file(::openat(at.folder.Get(), at.name.c_str(),
                                     O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) {
            result = Failure(shown + ": " + std::strerror(errno), errno);
        } else if (!S_ISREG(status.st_mode)) {
            result = Failure(shown + " is not a regular file", EINVAL);
        } else {
            return file;
        }
    }
    if (why != nullptr) {
        *why = std::move(result);
    }
    return FileDescriptor();
}

FileResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                       const FilePolicy& policy) {
    LocatedFile at;
    if (const WalkError e = LocateFile(path, policy.folders, false, at)) {
        return FromWalk(e);
    }
    RemoveStaleTemporaries(at.folder.Get(), at.name);
    const std::string shown = at.folderPath + "/" + at.name;
    std::optional<struct stat> old;
    struct stat status {};
    if (::fstatat(at.folder.Get(), at.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(status.st_mode)) {
            return Failure(shown + " is not a regular file", EINVAL);
        }
        if (IsReadOnly(at.folder.Get(), at.name, status)) {
            std::string why = shown + " is read-only";
            if (const mode_t mask = CurrentUmask();
                (status.st_mode & S_IWUSR) == 0 && (mask & S_IWUSR) != 0) {
                char octal[16];
                std::snprintf(octal, sizeof octal, "%04o", static_cast<unsigned>(mask));
                why += std::string(" (the umask ") + octal + " makes new files read-only)";
            }
            FileResult failed = Failure(why, EACCES);
            failed.readOnly = true;
            return failed;
        }
        old = status;
    } else if (errno != ENOENT) {
        return Failure(shown + ": " + std::strerror(errno), errno);
    }
    return ReplaceThroughTemporary(at, old, bytes, policy);
}

FileResult MakeFolders(const std::string& path, const FilePolicy& policy) {
    if (const WalkError e = MakeFoldersSafely(path, policy.folders)) {
        return FromWalk(e);
    }
    return Success();
}

SaveFaultHook& SaveFaultSeam() {
    static SaveFaultHook hook;
    return hook;
}

} // namespace norvale
