#pragma once

// Runs a built program as a child process with a chosen environment and
// arguments, and collects its exit status (or the signal that ended it),
// stdout and stderr. stdout can be sent to a file instead (/dev/full, say).

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

namespace norvale::test {

struct ChildOutcome {
    int exitCode = -1; // the exit status, or -1 when a signal ended the child
    int signal = 0;    // the signal that ended it, or 0
    bool timedOut = false;
    std::string out;
    std::string err;
};

class ChildProcess {
public:
    // Environment changes on top of this process's environment: a value sets
    // the variable, nullopt unsets it.
    using EnvChanges = std::vector<std::pair<std::string, std::optional<std::string>>>;

    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const EnvChanges& env, const std::string& stdoutFile = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    void Signal(int signo) const;
    // Waits for the child to end (killing it after timeout) and collects it.
    ChildOutcome Wait(std::chrono::milliseconds timeout = std::chrono::seconds(30));

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
};

// Starts program and waits for it.
ChildOutcome RunProgram(const std::string& program, const std::vector<std::string>& args,
                        const ChildProcess::EnvChanges& env, const std::string& stdoutFile = {});

} // namespace norvale::test
