// The command line of the host on a display: the transcript's last lines
// above the line being typed, with the history of entered words on the up
// and down arrows and Esc cancelling what waits for input.
#pragma once

#include <string>

#include "windows.h"

namespace host::cmdline {

// Takes over the host's command-line window (it keeps typing into the
// command line's input) and shows the transcript in it from now on.
void Attach(HWND window);
// Lets the window go back to what it was (the transcript is no longer shown).
void Detach();
// The transcript's text as the window holds it (tests).
std::wstring Text();

}  // namespace host::cmdline
