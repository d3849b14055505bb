// The host on a display: the main window gets a menu bar, the drawing
// window, the command line and a status bar, and a person's input at them
// becomes the user's lines that the command loop, prompts, selection and
// acedGrRead take (in place of a script's).
#pragma once

#include <string>
#include <vector>

namespace host::screen {

// Opens the display (empty name: $DISPLAY), lays out the main window and
// makes the person the user. `firstLines` (an optional script) are taken
// before the person's input. False with the reason when there is no display.
bool Start(const std::string& displayName, std::vector<std::string> firstLines, std::string& error);
// Lines taken before the person's next input (the script an automation
// client hands over).
void Feed(const std::vector<std::string>& lines);
// Takes the windows off the display again.
void Stop();
// Shows all of model space (after a drawing was opened).
void ZoomExtents();
// Ends the session: whatever waits for input is cancelled, then the command
// loop ends.
void Quit();

}  // namespace host::screen
