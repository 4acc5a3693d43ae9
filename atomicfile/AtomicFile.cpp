#include "atomicfile/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace norvale {

namespace {

constexpr int kMaxLinkHops = 40;
constexpr int kMaxTempNameTries = 100;

// True when the test seam asks this step to fail.
bool InjectedFault(SaveStep step) {
    const SaveFaultHook& hook = SaveFaultSeam();
    return hook && hook(step);
}

// The folder part of an absolute path, with its trailing slash.
std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::optional<std::string> ReadLink(const std::string& path) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Follows symbolic links from path to the file they finally name,
// which need not exist yet. Saving replaces that file, so the links keep
// pointing where they did.
std::optional<std::string> ResolveLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) {
                return path;
            }
            return std::nullopt;
        }
        if (!S_ISLNK(status.st_mode)) {
            return path;
        }
        std::optional<std::string> target = ReadLink(path);
        if (!target || target->empty()) {
            return std::nullopt;
        }
        path = target->front() == '/' ? *target : FolderOf(path) + *target;
    }
    return std::nullopt;
}

// A file a replacement must leave alone: nobody may write it (root included, who
// could otherwise write past the mode bits), or this process may not.
bool IsReadOnly(const std::string& path, const struct stat& status) {
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return true;
    }
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

// A name for the temporary file, unique among threads and processes saving at
// the same time (the exclusive create catches what is left).
std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned long> counter{0};
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    return FolderOf(target) + "." + NameOf(target) + "." + std::to_string(::getpid()) + "-" +
           std::to_string(counter.fetch_add(1)) + "-" + std::to_string(tick) + ".tmp";
}

// Creates the temporary file next to the target; its path goes to tempPath.
FileDescriptor CreateTemporary(const std::string& target, std::string& tempPath) {
    if (InjectedFault(SaveStep::Open)) {
        return FileDescriptor();
    }
    for (int attempt = 0; attempt < kMaxTempNameTries; ++attempt) {
        tempPath = TemporaryName(target);
        // Mode 0666 lets the umask decide, as for any newly created file.
        const int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0) {
            return FileDescriptor(fd);
        }
        if (errno != EEXIST) {
            break;
        }
    }
    tempPath.clear();
    return FileDescriptor();
}

// Gives the new file the mode and owner of the file it replaces; a new file
// keeps the mode its creation gave it.
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
    return ::fchmod(fd, old->st_mode & 07777) == 0;
}

// Flushes the folder entry of a completed rename; a failure here cannot undo
// the rename and is not a failed save.
void SyncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.IsOpen()) {
        ::fsync(dir.Get());
    }
}

// Writes the record into a fresh temporary file and moves it over target.
// Any failure removes the temporary file and leaves target as it was.
bool ReplaceFile(const std::string& target, const std::optional<struct stat>& old,
                 std::span<const std::uint8_t> bytes) {
    std::string tempPath;
    FileDescriptor file = CreateTemporary(target, tempPath);
    if (!file.IsOpen()) {
        return false;
    }
    const bool written = CopyModeAndOwner(file.Get(), old) && !InjectedFault(SaveStep::Write) &&
                         WriteAll(file.Get(), bytes) && !InjectedFault(SaveStep::Sync) &&
                         ::fsync(file.Get()) == 0;
    const bool closed = !InjectedFault(SaveStep::Close) && file.Close();
    if (!written || !closed || InjectedFault(SaveStep::Rename) ||
        ::rename(tempPath.c_str(), target.c_str()) != 0) {
        file.Close();
        ::unlink(tempPath.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
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

FileDescriptor OpenRegularForReading(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return FileDescriptor();
    }
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    // The path may have been replaced between the stat and the open.
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return FileDescriptor();
    }
    return file;
}

bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    const std::optional<std::string> target = ResolveLinks(path);
    if (!target) {
        return false;
    }
    std::optional<struct stat> old;
    struct stat status {};
    if (::stat(target->c_str(), &status) == 0) {
        if (!S_ISREG(status.st_mode) || IsReadOnly(*target, status)) {
            return false;
        }
        old = status;
    } else if (errno != ENOENT) {
        return false;
    }
    return ReplaceFile(*target, old, bytes);
}

bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            break;
        }
    }
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

SaveFaultHook& SaveFaultSeam() {
    static SaveFaultHook hook;
    return hook;
}

} // namespace norvale
