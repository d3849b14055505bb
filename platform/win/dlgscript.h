// Dialogs built from resource templates, the modal loop that takes the
// scripted user's window lines, and snapshots of windows as PNG files.
#pragma once

#include <functional>
#include <string>

#include "resourcetable.h"
#include "winuser.h"

namespace win {

// Makes a dialog from a template: the dialog window, its font, its controls
// (positions in dialog units of the font) and WM_INITDIALOG. `attach` runs
// right after the dialog window exists, before its controls and before
// WM_INITDIALOG (the class library attaches its object there). Returns null
// if the window could not be made.
HWND CreateDialogFromTemplate(const DialogResource& tmpl, HINSTANCE instance, HWND owner, DLGPROC proc, LPARAM param,
                              const std::function<void(HWND)>& attach = {});

// Runs the modal loop of a dialog until EndDialog: posted messages are
// dispatched, then the next script line is taken and carried out. At the end
// of the script the dialog gets its close box (and, if it still stays up,
// ends with IDCANCEL), so the loop always ends. The owner is disabled while
// the loop runs. Returns EndDialog's result; the dialog window is destroyed.
INT_PTR RunModalLoop(HWND dialog);

// Carries out one scripted window line ("@click 1", "@key ENTER", an empty
// line for Enter, "^C" for Esc ...) on the window. False (with a note in the
// transcript) when the line cannot be carried out.
bool HandleWindowLine(HWND window, const std::string& line);

// The folder snapshots go to: the setter's value, else $MARLO_SNAPSHOT_DIR,
// else "out".
void SetSnapshotFolder(const std::string& folder);
std::string SnapshotFolder();
// Paints the window tree and writes `window` (or only its descendant
// `part`) as a PNG file into the snapshot folder. False on failure.
bool WriteSnapshot(HWND window, const std::string& fileName, HWND part = nullptr);

// The base units of a dialog font: average character width and height.
SIZE DialogBaseUnits(HFONT font);

// The text a message box shows in the transcript and how it was answered.
// Used by the toolkit's task dialog too.
int ScriptedMessageBox(const std::wstring& caption, const std::wstring& text, const std::vector<int>& buttons,
                       int defaultButton);

}  // namespace win
