// The host's "Command:" loop: built-in commands (APPLOAD, HELP, MENUPICK, OPEN,
// SAVEAS, QUIT), the drawing commands and the commands modules registered.
#include "commandline.h"

#include <cwctype>
#include <exception>
#include <optional>
#include <vector>

#include "acadmodel.h"
#include "acdocman.h"
#include "acedcmdline.h"
#include "acedframe.h"
#include "dbdatabase.h"
#include "acutprint.h"
#include "edcmdstack.h"
#include "edcommands.h"
#include "format.h"
#include "rxdynlink.h"
#include "rxmfcapi.h"
#include "script.h"
#include "textconv.h"
#include "textutil.h"
#include "transcript.h"

namespace host {
namespace {

using win::textutil::Upper;

using win::textutil::Trimmed;

// A value, without the double quotes that may hold its blanks.
std::wstring Unquote(std::wstring_view s) { return std::wstring(win::textutil::Unquote(win::textutil::Trim(s))); }

// Splits arguments at blanks; a value between double quotes keeps its blanks.
std::vector<std::wstring> SplitArguments(const std::wstring& text) {
  std::vector<std::wstring> parts;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == L' ' || text[i] == L'\t') {
      ++i;
      continue;
    }
    std::wstring part;
    if (text[i] == L'"') {
      size_t close = text.find(L'"', i + 1);
      if (close == std::wstring::npos) close = text.size();
      part = text.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      size_t end = text.find_first_of(L" \t", i);
      if (end == std::wstring::npos) end = text.size();
      part = text.substr(i, end - i);
      i = end;
    }
    parts.push_back(part);
  }
  return parts;
}

// A command name as the built-ins know it: the prefixes "_" (the English
// name) and "." (the built-in, not a redefinition) are dropped.
std::wstring BuiltInName(const std::wstring& name) {
  size_t start = name.find_first_not_of(L"_.");
  return start == std::wstring::npos ? name : name.substr(start);
}

std::wstring Joined(const std::vector<std::wstring>& parts) {
  std::wstring out;
  for (const std::wstring& part : parts) out += (out.empty() ? L"" : L", ") + part;
  return out;
}

}  // namespace

void PrintReadNotes(AcApDocument& doc) {
  for (const std::wstring& note : doc.database()->readNotes()) acutPrintf(L"\n%s\n", note.c_str());
}

namespace {
bool g_atCommandPrompt = false;
void (*g_openedHook)() = nullptr;
}  // namespace

bool CommandLine::AtCommandPrompt() { return g_atCommandPrompt; }
void CommandLine::SetOpenedHook(void (*hook)()) { g_openedHook = hook; }

void CommandLine::Run() {
  for (;;) {
    user::WriteText("\nCommand: ");
    // What was typed into the command line (a menu item's macro, characters
    // sent to its window) comes before the script's next line.
    g_atCommandPrompt = true;
    std::optional<std::string> line = acad::NextCommandLineInput();
    g_atCommandPrompt = false;
    if (!line) {
      user::Write("\n");
      return;
    }
    user::Write(*line + "\n");
    if (!Execute(win::Utf8ToWide(*line))) return;
  }
}

bool CommandLine::Execute(const std::wstring& typed) {
  std::wstring line = Trimmed(typed);
  if (line.empty() || line == L"^C") return true;
  size_t blank = line.find_first_of(L" \t");
  std::wstring name = line.substr(0, blank);
  std::wstring argument = blank == std::wstring::npos ? L"" : Trimmed(line.substr(blank));

  bool quit = false;
  if (RunBuiltIn(Upper(BuiltInName(name)), argument, quit)) return !quit;

  const AcEdCommand* command = acedRegCmds->lookupCmd(name.c_str());
  if (!command) {
    acutPrintf(L"\nUnknown command \"%s\".  Press F1 for help.\n", Upper(name).c_str());
    return true;
  }
  try {
    command->functionAddr()();
  } catch (const std::exception& e) {
    // A module must not throw across the host; say so instead of dying.
    acutPrintf(L"\nCommand %s failed: %S\n", command->localName(), e.what());
  } catch (...) {
    acutPrintf(L"\nCommand %s failed.\n", command->localName());
  }
  return true;
}

bool CommandLine::RunBuiltIn(const std::wstring& name, const std::wstring& argument, bool& quit) {
  if (name == L"QUIT" || name == L"EXIT") {
    quit = true;
    return true;
  }
  if (name == L"HELP") {
    Help();
    return true;
  }
  if (name == L"APPLOAD") {
    std::wstring path = Unquote(argument);
    if (path.empty()) {
      acutPrintf(L"\nAPPLOAD needs the module's file name.\n");
    } else if (acrxDynamicLinker->loadModule(path.c_str(), true)) {
      acutPrintf(L"\n%s successfully loaded.\n", path.c_str());
    }
    return true;
  }
  if (name == L"MENUPICK") {
    MenuPick(argument);
    return true;
  }
  if (name == L"OPEN" || name == L"SAVEAS") {
    std::wstring path = Unquote(argument);
    if (path.empty()) {
      acutPrintf(L"\n%s needs the drawing's file name.\n", name.c_str());
      return true;
    }
    AcApDocument* doc = nullptr;
    Acad::ErrorStatus es = name == L"OPEN" ? acDocManager->openDocument(path.c_str(), doc)
                                           : acDocManager->saveDocumentAs(path.c_str());
    if (es != Acad::eOk)
      acutPrintf(L"\nCannot %s \"%s\": %s\n", name == L"OPEN" ? L"open" : L"save", path.c_str(),
                 Acad::ErrorStatusText(es));
    else if (doc)
      PrintReadNotes(*doc);
    if (es == Acad::eOk && doc && g_openedHook) g_openedHook();
    return true;
  }
  return acad::RunDrawingCommand(name);
}

void CommandLine::MenuPick(const std::wstring& argument) {
  std::vector<std::wstring> parts = SplitArguments(argument);
  if (parts.size() != 2) {
    acutPrintf(L"\nMENUPICK needs the pop-up menu's title and the item's label.\n");
    return;
  }
  std::wstring macro;
  switch (acad::FindMenuItem(parts[0], parts[1], macro)) {
    case acad::MenuPick::kFound:
      // The macro is typed into the command-line window, as choosing the
      // item does; the command loop takes it before the next script line.
      if (CWnd* window = acedGetAcadDockCmdLine()) {
        for (wchar_t c : acad::MacroKeystrokes(macro)) window->SendMessage(WM_CHAR, c, 1);
      }
      return;
    case acad::MenuPick::kNotOnMenuBar:
      acutPrintf(L"\nThe pop-up menu \"%s\" is not on the menu bar.\n", parts[0].c_str());
      return;
    case acad::MenuPick::kNoItem:
      acutPrintf(L"\nThe pop-up menu \"%s\" has no item \"%s\".\n", parts[0].c_str(), parts[1].c_str());
      return;
    case acad::MenuPick::kNoPopup:
      acutPrintf(L"\nNo pop-up menu \"%s\" on the menu bar.\n", parts[0].c_str());
      return;
  }
}

void CommandLine::Help() {
  acutPrintf(L"\nBuilt-in commands:\n");
  acutPrintf(L"  APPLOAD path   load a module\n");
  acutPrintf(L"  HELP           this list\n");
  acutPrintf(L"  MENUPICK \"pop-up\" \"item\"  choose a menu item: its macro goes to the command line\n");
  acutPrintf(L"  OPEN path      open a drawing (DXF) as the current document\n");
  acutPrintf(L"  QUIT           end the host\n");
  acutPrintf(L"  SAVEAS path    save the current drawing as DXF\n");
  for (const auto& [command, text] : acad::DrawingCommands())
    acutPrintf(L"  %-14s %s\n", command.c_str(), text.c_str());
  std::vector<const AcEdCommand*> commands = acedRegCmds->commands();
  if (!commands.empty()) acutPrintf(L"Commands of the loaded modules (local name, global name, group):\n");
  for (const AcEdCommand* c : commands)
    acutPrintf(L"  %s  %s  %s\n", c->localName(), c->globalName(), c->groupName());
  std::vector<std::wstring> modules = acrxDynamicLinker->loadedModules();
  if (!modules.empty()) acutPrintf(L"Loaded modules:\n");
  for (const std::wstring& m : modules) acutPrintf(L"  %s\n", m.c_str());
  acutPrintf(L"Menu bar: %s\n", Joined(acad::MenuBarTitles()).c_str());
  std::vector<std::wstring> offBar = acad::PopupsOffMenuBar();
  if (!offBar.empty()) acutPrintf(L"Pop-up menus not on the menu bar: %s\n", Joined(offBar).c_str());
  acad::FrameIcon icon = acad::FrameSmallIcon();
  std::wstring iconText =
      icon.present ? win::Format(L"small icon %dx%d", icon.width, icon.height) : std::wstring(L"no small icon");
  acutPrintf(L"Main window: %s, %s\n", acad::FrameCaption().c_str(), iconText.c_str());
}

}  // namespace host
