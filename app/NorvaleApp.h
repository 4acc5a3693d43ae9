#pragma once

namespace norvale {

// The application object: runs the one main window modally; the program ends
// when the window ends.
class CNorvaleApp {
public:
    CNorvaleApp();
    ~CNorvaleApp();
    CNorvaleApp(const CNorvaleApp&) = delete;
    CNorvaleApp& operator=(const CNorvaleApp&) = delete;

    // Runs the window to its end; returns false, so no message loop of the
    // application's own follows.
    bool InitInstance();
};

} // namespace norvale
