// Preloaded into a saving process (LD_PRELOAD): records the real fsync and
// rename calls the process makes, in order, with the paths behind the file
// descriptors, so a test sees what reached the kernel rather than what the
// program says it did. norvale_recorded_calls() returns the record.

#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <mutex>
#include <string>

namespace {

std::mutex& RecordLock() {
    static std::mutex lock;
    return lock;
}

std::string& Record() {
    static std::string record;
    return record;
}

std::string PathOf(int fd) {
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string("?");
}

void Note(const std::string& line) {
    const std::lock_guard guard(RecordLock());
    Record() += line + '\n';
}

template <typename F> F Real(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

const char* norvale_recorded_calls() {
    const std::lock_guard guard(RecordLock());
    static std::string copy;
    copy = Record();
    return copy.c_str();
}

int fsync(int fd) {
    static const auto real = Real<int (*)(int)>("fsync");
    const int result = real(fd);
    Note("fsync " + PathOf(fd) + (result == 0 ? "" : " failed"));
    return result;
}

int fdatasync(int fd) {
    static const auto real = Real<int (*)(int)>("fdatasync");
    const int result = real(fd);
    Note("fdatasync " + PathOf(fd) + (result == 0 ? "" : " failed"));
    return result;
}

int rename(const char* from, const char* to) {
    static const auto real = Real<int (*)(const char*, const char*)>("rename");
    const int result = real(from, to);
    Note(std::string("rename ") + from + " " + to + (result == 0 ? "" : " failed"));
    return result;
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    static const auto real = Real<int (*)(int, const char*, int, const char*)>("renameat");
    const std::string fromPath = fromDir == AT_FDCWD ? from : PathOf(fromDir) + "/" + from;
    const std::string toPath = toDir == AT_FDCWD ? to : PathOf(toDir) + "/" + to;
    const int result = real(fromDir, from, toDir, to);
    Note("rename " + fromPath + " " + toPath + (result == 0 ? "" : " failed"));
    return result;
}

} // extern "C"
