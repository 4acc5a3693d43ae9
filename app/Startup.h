#pragma once

// What the program does before its window exists: its own two options, and
// what it does when Qt cannot open the display it was given.

#include <string>

namespace norvale {

// The program takes no command line of its own but --help/-h and
// --version/-V; every option QApplication consumes keeps working (the value
// of one that takes a value, "-session ID" say, is never read as ours) and
// any other argument is ignored.
enum class ProgramRequest { Run, Help, Version };
ProgramRequest ParseProgramArguments(int argc, const char* const* argv);

// Whether the command line (-platform, -display) or QT_QPA_PLATFORM chooses
// where the window goes: then it is tried even without DISPLAY or
// WAYLAND_DISPLAY (the offscreen platform needs neither).
bool PlatformChosen(int argc, const char* const* argv);

// The text of --help and of --version, each ending in a newline.
std::string ProgramHelpText();
std::string ProgramVersionText();

// While an object of this class lives, a fatal error of Qt (which is what a
// display or platform that cannot be opened gives while QApplication is
// made) prints Qt's line, one line of ours naming the display and platform
// that could not be used, and today's three lines, then ends the program
// with status 1: no abort, no core dump. Make it just before QApplication
// and drop it once the application object exists.
class CPlatformStartGuard {
public:
    CPlatformStartGuard(int argc, const char* const* argv);
    ~CPlatformStartGuard();
    CPlatformStartGuard(const CPlatformStartGuard&) = delete;
    CPlatformStartGuard& operator=(const CPlatformStartGuard&) = delete;
};

// "the display "nowhere:0" (Qt platform "xcb")": what Qt was asked to open,
// from -display and -platform, else the environment.
std::string DescribeDisplay(int argc, const char* const* argv);

} // namespace norvale
