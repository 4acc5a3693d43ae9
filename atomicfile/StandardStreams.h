#pragma once

// The three standard descriptors of a program, made safe to use before
// anything else opens a file. Plain C++, no Qt.

namespace norvale {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed. Started
// with one of them closed (`2>&-`), the next file, socket or display
// connection the program opens would take its number, and every message
// meant for the terminal would be written into it. Call it first in main.
void OpenClosedStandardDescriptors();

} // namespace norvale
