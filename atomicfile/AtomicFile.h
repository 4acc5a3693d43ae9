#pragma once

// Reading and safely replacing small files on POSIX systems. A file is read
// only when it is a regular file, and a replacement is written to a temporary
// file beside the target, flushed to the disk and renamed over it, so the
// target is either the old file or the whole new one. Where the path leads is
// decided by the walk of atomicfile/SafePath.h. Plain C++, no Qt.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

#include <sys/types.h>

namespace norvale {

// Owns one file descriptor and closes it when it goes out of scope.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    // Closes the descriptor and reports whether the close succeeded.
    bool Close();

private:
    int m_fd;
};

// What the walk to a file checks besides the owners of links
// (atomicfile/SafePath.h).
enum class FolderRule {
    AnyFolder,     // any folder this process can open (a user's output files)
    TrustedFolders // every folder belongs to root or the user and only they can change it
};

// How a file may be reached and what a new one looks like.
struct FilePolicy {
    FolderRule folders = FolderRule::TrustedFolders;
    // The mode a new file is created with; the umask still applies.
    mode_t newFileMode = 0644;
    // Whether the folder is flushed to the disk after the rename too, so the
    // new name survives a crash (the file itself is always flushed before the
    // rename, so no crash leaves it empty or cut short).
    bool syncFolder = true;
    // Whether a new file is the program's own (settings, cache): it always
    // gets owner read and write, whatever the umask took, and nothing more.
    bool ownerReadWrite = true;
};

// The settings file: only trusted folders, and a new file is never writable
// by group or others (0644 at most, less when the umask says so) and always
// readable and writable by its owner (0600 at least).
FilePolicy PrivateFilePolicy();
// A user's output file: any folder the user can write, a new file gets the
// usual 0666 less the umask (read-only under a umask such as 0277: then it
// cannot be replaced, which its message says), and the folder is not flushed after the rename
// (a crash may bring back the whole old picture, never a broken one).
FilePolicy OutputFilePolicy();

// The outcome of a read or a replacement, with the reason when it failed.
struct FileResult {
    bool ok = false;
    bool refused = false;  // a link or folder on the way may not be trusted
    bool inPlace = false;  // the file itself was written: its folder is read-only
    bool readOnly = false; // the file is read-only and was left alone
    int error = 0;         // errno of the failed call, or 0
    std::string message;   // why it failed, for one line of a message
};

// Opens path for reading when it is a regular file reached under the
// policy's rules, so a named pipe or a device in its place can neither block
// nor be disturbed; closed otherwise, with the reason in why (if given).
FileDescriptor OpenForReading(const std::string& path, const FilePolicy& policy,
                              FileResult* why = nullptr);

// Reads up to buffer.size() bytes: the count read before the end of the file
// or an error, and whether an error stopped the read.
std::pair<std::size_t, bool> ReadUpTo(int fd, std::span<std::uint8_t> buffer);

// Writes every byte, retrying after interruptions; false on any failure.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes);

// Replaces the file at path with bytes.
// - Links are followed under the walk's rules, so a trusted link keeps
//   pointing where it did and its final target is replaced.
// - A file nobody may write (or this process may not) is left alone, as is
//   anything that is not a regular file.
// - The new file keeps the old one's owner and mode, less the set-user-id,
//   set-group-id and sticky bits; a new file gets the policy's mode.
// - When the folder is read-only but the file is writable, the file is
//   written in place (and synced): the one case where a failure part way
//   can leave it cut short.
// - The program's own temporary files that a killed save left behind
//   (".norvale-tmp.<name>.<16 hexadecimal digits>", regular files of the
//   user, over a minute old) are removed first; nothing else is.
// On any other failure the old file is untouched and no temporary file
// remains.
FileResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                       const FilePolicy& policy);

// Makes the folder path and its missing parents (mode 0700) under the
// policy's rules.
FileResult MakeFolders(const std::string& path, const FilePolicy& policy);

// The steps of a replacement, in the order the writer takes them.
enum class SaveStep {
    Open,   // create the temporary file next to the target
    Mode,   // give it the mode (and owner) of the file it replaces
    Write,  // write the bytes
    Sync,   // flush it to the disk
    Close,  // close it
    Rename, // move it over the target
};

// Test seam: called before each step of a replacement; returning true makes
// that step fail as if the system call had failed. Empty: no faults. Set it
// only while no replacement is running.
using SaveFaultHook = std::function<bool(SaveStep)>;
SaveFaultHook& SaveFaultSeam();

} // namespace norvale
