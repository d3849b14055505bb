#include "commandline.h"

#include <cwctype>
#include <exception>

#include "acdocman.h"
#include "acutprint.h"
#include "edcommands.h"
#include "edcmdstack.h"
#include "rxdynlink.h"
#include "script.h"
#include "textconv.h"
#include "transcript.h"

namespace host {
namespace {

std::wstring Upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towupper(c));
  return s;
}

std::wstring Trim(const std::wstring& s) {
  size_t b = s.find_first_not_of(L" \t");
  if (b == std::wstring::npos) return L"";
  return s.substr(b, s.find_last_not_of(L" \t") - b + 1);
}

std::wstring Unquote(std::wstring s) {
  s = Trim(s);
  if (s.size() >= 2 && s.front() == L'"' && s.back() == L'"') s = s.substr(1, s.size() - 2);
  return s;
}

}  // namespace

void CommandLine::Run() {
  for (;;) {
    user::WriteText("\nCommand: ");
    std::optional<std::string> line = user::Script::Instance().Next();
    if (!line) {
      user::Write("\n");
      return;
    }
    user::Write(*line + "\n");
    if (!Execute(win::Utf8ToWide(*line))) return;
  }
}

bool CommandLine::Execute(const std::wstring& typed) {
  std::wstring line = Trim(typed);
  if (line.empty() || line == L"^C") return true;
  size_t blank = line.find_first_of(L" \t");
  std::wstring name = line.substr(0, blank);
  std::wstring argument = blank == std::wstring::npos ? L"" : Trim(line.substr(blank));

  bool quit = false;
  if (RunBuiltIn(Upper(name), argument, quit)) return !quit;

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
    return true;
  }
  return acad::RunDrawingCommand(name);
}

void CommandLine::Help() {
  acutPrintf(L"\nBuilt-in commands:\n");
  acutPrintf(L"  APPLOAD path   load a module\n");
  acutPrintf(L"  HELP           this list\n");
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
}

}  // namespace host
