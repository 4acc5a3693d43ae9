#pragma once

#include <QObject>

#include <array>

class QSocketNotifier;

namespace norvale {

// Turns SIGTERM, SIGHUP and SIGINT (log-out, a closed terminal, Ctrl+C,
// `kill`) into a request on the event loop, so the window can end the way
// its close command does, settings saved. The handler itself only writes the
// signal's number into a pipe, which is all a signal handler may safely do; a
// socket notifier reads it in the event loop. One object per process.
class CQuitSignals : public QObject {
    Q_OBJECT

public:
    CQuitSignals();
    ~CQuitSignals() override;
    CQuitSignals(const CQuitSignals&) = delete;
    CQuitSignals& operator=(const CQuitSignals&) = delete;

    // The first of the signals received, or 0.
    int Received() const { return m_received; }
    // When a signal ended the program: restores that signal's default action
    // and raises it again, so whoever started the program sees it ended by
    // that signal. Returns only when no signal was received.
    void RaiseReceived() const;

signals:
    void QuitRequested();

private:
    void OnReadable();

    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
    // Which of SIGTERM, SIGHUP and SIGINT this object caught (not those
    // ignored when the program started).
    std::array<bool, 3> m_caught{};
};

} // namespace norvale
