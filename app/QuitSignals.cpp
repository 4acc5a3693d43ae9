#include "app/QuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace norvale {

namespace {

constexpr std::array<int, 3> kQuitSignals = {SIGTERM, SIGHUP, SIGINT};

// The pipe between the handler and the event loop: [0] read, [1] write.
int g_pipe[2] = {-1, -1};

extern "C" void OnQuitSignal(int signo) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signo);
    // A full pipe already holds a request; nothing more is needed.
    [[maybe_unused]] const ssize_t ignored = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

CQuitSignals::CQuitSignals() {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return; // the signals keep their default action
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CQuitSignals::OnReadable);
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        // A signal ignored at start stays ignored: "nohup norvale &" must
        // outlive its terminal, and a script may shield it from Ctrl+C.
        struct sigaction previous {};
        ::sigaction(kQuitSignals[i], nullptr, &previous);
        if (previous.sa_handler != SIG_IGN) {
            ::sigaction(kQuitSignals[i], &action, nullptr);
            m_caught[i] = true;
        }
    }
}

CQuitSignals::~CQuitSignals() {
    for (std::size_t i = 0; i < kQuitSignals.size(); ++i) {
        if (m_caught[i]) {
            ::signal(kQuitSignals[i], SIG_DFL);
        }
    }
    for (int& fd : g_pipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void CQuitSignals::OnReadable() {
    unsigned char byte = 0;
    while (::read(g_pipe[0], &byte, 1) == 1) {
        if (m_received == 0) {
            m_received = byte;
        }
    }
    emit QuitRequested();
}

void CQuitSignals::RaiseReceived() const {
    if (m_received != 0) {
        ::signal(m_received, SIG_DFL);
        ::raise(m_received);
    }
}

} // namespace norvale
