#include "atomicfile/AtomicFile.h"

#include "atomicfile/SafePath.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <optional>

#include <dirent.h>
#include <fcntl.h>
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

// ".info.dat.<pid>-<counter>-<tick>.tmp": unique among threads and processes
// saving at the same time (the exclusive create catches what is left).
std::string TemporaryName(const std::string& name) {
    static std::atomic<unsigned long> counter{0};
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    return "." + name + "." + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(tick) + ".tmp";
}

bool Digits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Whether entry is a name TemporaryName could have made for name.
bool IsOwnTemporary(std::string_view entry, const std::string& name) {
    const std::string prefix = "." + name + ".";
    constexpr std::string_view suffix = ".tmp";
    if (entry.size() <= prefix.size() + suffix.size() || entry.substr(0, prefix.size()) != prefix ||
        entry.substr(entry.size() - suffix.size()) != suffix) {
        return false;
    }
    std::string_view middle =
        entry.substr(prefix.size(), entry.size() - prefix.size() - suffix.size());
    for (int part = 0; part < 3; ++part) {
        const std::size_t dash = part < 2 ? middle.find('-') : middle.size();
        if (dash == std::string_view::npos || !Digits(middle.substr(0, dash))) {
            return false;
        }
        middle = middle.substr(std::min(dash + 1, middle.size()));
    }
    return middle.empty();
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
bool CopyModeAndOwner(int fd, const std::optional<struct stat>& old) {
    if (InjectedFault(SaveStep::Mode)) {
        return false;
    }
    if (!old) {
        return true;
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
    const bool written = CopyModeAndOwner(file.Get(), old) && !InjectedFault(SaveStep::Write) &&
                         WriteAll(file.Get(), bytes) && !InjectedFault(SaveStep::Sync) &&
                         ::fsync(file.Get()) == 0;
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
    if (policy.syncFolder) {
        ::fsync(folder);
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
    return FilePolicy{FolderRule::TrustedFolders, 0644, true};
}

FilePolicy OutputFilePolicy() {
    return FilePolicy{FolderRule::AnyFolder, 0666, false};
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
            return Failure(shown + " is read-only", EACCES);
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
