// The host's side of its in-process automation model (acadi.h): the menus it
// starts with, a reset for tests, and what the host's own commands read of it
// (HELP lists the menu bar, MENUPICK looks up an item's macro).
//
// The host starts with a menu bar of eleven menus (File, Edit, View, Insert,
// Format, Tools, Draw, Dimension, Modify, Window, Help) and one menu group,
// "ACAD", whose pop-up menus are those menus plus every pop-up added later.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace acad {

// Puts the model back as the host starts: the default menus, the application
// not visible. Interfaces handed out before keep their objects alive but no
// longer reach the host's menus (their calls then fail with E_UNEXPECTED).
void ResetAutomation();

// Titles of the menus on the menu bar, left to right.
std::vector<std::wstring> MenuBarTitles();
// Titles of the menu group's pop-ups that are not on the menu bar, in the
// order they were added.
std::vector<std::wstring> PopupsOffMenuBar();
// The items (label, macro) of the menu bar's pop-up number `index` (from
// 0), in order; none for an index past the bar.
std::vector<std::pair<std::wstring, std::wstring>> MenuBarItems(size_t index);
// The application's visible flag (put_Visible).
bool ApplicationVisible();

enum class MenuPick { kFound, kNoPopup, kNotOnMenuBar, kNoItem };

// Finds the item a user would choose: the first pop-up on the menu bar with
// that title, then its first item with that label. Titles and labels compare
// without regard to case and to the '&' that marks a mnemonic. kNotOnMenuBar
// when the only pop-ups of that title are in the group but off the bar.
MenuPick FindMenuItem(const std::wstring& popupTitle, const std::wstring& itemLabel, std::wstring& macro);

// Turns a menu macro into the characters it types: "^C" is Esc, ';' is
// Enter, everything else as it stands ("^C^C_line " is Esc Esc "_line ").
std::wstring MacroKeystrokes(const std::wstring& macro);

// Automation objects alive at this moment (application, collections, menus
// and items), so tests can check that references are balanced.
long LiveAutomationObjects();

}  // namespace acad
