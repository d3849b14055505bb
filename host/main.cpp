// cadhost: the program that plays the CAD application. It loads modules,
// runs the command line from a script or the terminal, and ends.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "acdocman.h"
#include "afxwin.h"
#include "automation.h"
#include "commandline.h"
#include "displayhost.h"
#include "dlgscript.h"
#include "hostoptions.h"
#include "registration.h"
#include "rxdynlink.h"
#include "script.h"
#include "textconv.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  std::optional<host::Options> options = host::ParseOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "cadhost: %s\n%s", error.c_str(), host::Usage());
    return 2;
  }
  if (options->help) {
    std::fputs(host::Usage(), stdout);
    return 0;
  }
  if (options->registerServer || options->unregisterServer) {
    std::vector<const host::Release*> releases;
    for (const host::Release& r : host::Releases())
      if (options->release.empty() || win::Utf8ToWide(options->release) == r.key) releases.push_back(&r);
    bool ok = options->registerServer ? host::RegisterReleases(releases) : host::UnregisterReleases(releases);
    return ok ? 0 : 1;
  }
  // The main window takes its caption from the application's name.
  win::SetAppName(L"AutoCAD");
  // A host the COM runtime started for a client on a display shows on that
  // display too; headless otherwise.
  bool display = options->display;
  std::string displayName = options->displayName;
  if (options->automation) {
    if (!com::StartedAsLocalServer()) {
      std::fprintf(stderr,
                   "cadhost: --automation is for the COM runtime: a client starts the host through its ProgID "
                   "(see --register)\n");
      return 2;
    }
    displayName = com::ClientDisplay();
    display = !displayName.empty();
    // Until the client hands its script over there is nothing to read: a
    // window or prompt that waits meanwhile gets the end of the script.
    user::Script::Instance().UseLines({});
  }
  if (display) {
    // The script, if any, runs first; then the person at the display.
    std::vector<std::string> first;
    if (!options->script.empty()) {
      std::ifstream in(options->script);
      if (!in) {
        std::fprintf(stderr, "cadhost: cannot read the script \"%s\"\n", options->script.c_str());
        return 1;
      }
      for (std::string l; std::getline(in, l);) first.push_back(l.empty() || l.back() != '\r' ? l : l.substr(0, l.size() - 1));
    }
    std::string error;
    if (!host::screen::Start(displayName, std::move(first), error)) {
      std::fprintf(stderr, "cadhost: %s\n", error.c_str());
      return 1;
    }
  } else if (!options->automation && !options->script.empty()) {
    if (!user::Script::Instance().OpenFile(options->script)) {
      std::fprintf(stderr, "cadhost: cannot read the script \"%s\"\n", options->script.c_str());
      return 1;
    }
  } else if (!options->automation) {
    user::Script::Instance().UseStream(&std::cin);
  }
  if (options->seed) std::srand(*options->seed);
  win::SetSnapshotFolder(options->outDir);

  for (const std::string& module : options->modules) {
    if (!acrxDynamicLinker->loadModule(win::Utf8ToWide(module).c_str(), true)) {
      std::fprintf(stderr, "cadhost: cannot load the module \"%s\": %s\n", module.c_str(),
                   win::WideToUtf8(acrxDynamicLinker->lastError()).c_str());
      acrxDynamicLinker->unloadAll();
      return 1;
    }
  }

  // The host starts with a new drawing; --open puts the drawing read in its place.
  acDocManager->curDocument();
  if (!options->drawing.empty()) {
    AcApDocument* doc = nullptr;
    Acad::ErrorStatus es = acDocManager->openDocument(win::Utf8ToWide(options->drawing).c_str(), doc);
    if (es != Acad::eOk) {
      std::fprintf(stderr, "cadhost: cannot read the drawing \"%s\": %s\n", options->drawing.c_str(),
                   win::WideToUtf8(Acad::ErrorStatusText(es)).c_str());
      acrxDynamicLinker->unloadAll();
      acDocManager->closeAllDocuments();
      return 1;
    }
    host::PrintReadNotes(*doc);
  }
  if (display) host::screen::ZoomExtents();

  if (options->automation) {
    com::ServerEnd end = host::ServeAutomationClient();
    if (end.handedOver) {
      // On a display the person goes on after the client's lines.
      if (display) host::screen::Feed(end.stream.lines);
      else user::Script::Instance().UseHandOver(std::move(end.stream));
      host::CommandLine().Run();
    }
  } else {
    host::CommandLine().Run();
  }
  if (display) host::screen::Stop();
  acrxDynamicLinker->unloadAll();
  acDocManager->closeAllDocuments();
  return 0;
}
