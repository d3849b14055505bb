// The host's command line: reads the scripted user's lines at the "Command:"
// prompt and runs built-in commands and the commands modules registered.
#pragma once

#include <string>

class AcApDocument;

namespace host {

// Prints what reading the document's drawing repaired, one line per kind.
void PrintReadNotes(AcApDocument& doc);

class CommandLine {
 public:
  // Runs until QUIT or the end of the script.
  void Run();
  // Runs one typed command line; false when it asks the host to end.
  bool Execute(const std::wstring& line);
  // True while the loop waits at "Command:" (no command is running).
  static bool AtCommandPrompt();
  // A function told after OPEN read a drawing (the drawing window zooms to it).
  static void SetOpenedHook(void (*hook)());

 private:
  bool RunBuiltIn(const std::wstring& name, const std::wstring& argument, bool& quit);
  void Help();
  // MENUPICK "pop-up title" "item label": types the item's macro into the
  // command line.
  void MenuPick(const std::wstring& argument);
};

}  // namespace host
