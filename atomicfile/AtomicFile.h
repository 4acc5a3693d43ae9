#pragma once

// Reading and safely replacing small files on POSIX systems: a file is read
// only when it is a regular file, and a replacement is written to a temporary
// file beside the target, flushed to the disk and renamed over it, so the
// target is either the old file or the whole new one. Plain C++, no Qt.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>

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

// Opens path for reading only when it is a regular file, so a named pipe or a
// device in its place can neither block nor be disturbed; closed otherwise.
FileDescriptor OpenRegularForReading(const std::string& path);

// Reads up to buffer.size() bytes: the count read before the end of the file
// or an error, and whether an error stopped the read.
std::pair<std::size_t, bool> ReadUpTo(int fd, std::span<std::uint8_t> buffer);

// Writes every byte, retrying after interruptions; false on any failure.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes);

// Replaces the file at path with bytes. Symbolic links at path are followed,
// so they keep pointing where they did and their final target is replaced. A
// file nobody may write (or this process may not) is left alone, as is
// anything that is not a regular file. The new file takes the mode and owner
// of the file it replaces; a new file gets 0666 less the umask. On any
// failure the old file is untouched, no temporary file remains and the result
// is false.
bool ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Creates path and its missing parents; false when it does not end up a folder.
bool MakeFolders(const std::string& path);

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
