#pragma once

#include "app/QuitSignals.h"

namespace norvale {

// The application object: runs the one main window modally; the program ends
// when the window ends. Make it once the QApplication exists.
class CNorvaleApp {
public:
    CNorvaleApp();
    ~CNorvaleApp();
    CNorvaleApp(const CNorvaleApp&) = delete;
    CNorvaleApp& operator=(const CNorvaleApp&) = delete;

    // Runs the window to its end; returns false, so no message loop of the
    // application's own follows. SIGTERM, SIGHUP and SIGINT, and a session
    // manager's request to save, reach the window while it runs.
    bool InitInstance();

    // When one of the quit signals ended the window, raises it again with its
    // default action; returns only when none did.
    void RaiseQuitSignal() const { m_quitSignals.RaiseReceived(); }

private:
    CQuitSignals m_quitSignals;
};

} // namespace norvale
