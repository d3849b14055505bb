// Command-line options of cadhost.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct Options {
  std::vector<std::string> modules;  // --load, in order
  std::string drawing;               // --open
  std::string script;                // --script (empty: standard input)
  std::string outDir = "out";        // --out
  std::optional<unsigned> seed;      // --seed
  bool help = false;
  // --display or --display=NAME: a person at an X display (NAME, else
  // $DISPLAY) instead of the scripted user.
  bool display = false;
  std::string displayName;
  // --register [RELEASE] / --unregister [RELEASE]: the automation server's
  // registration; release empty means all of them.
  bool registerServer = false;
  bool unregisterServer = false;
  std::string release;
  bool automation = false;           // --automation: started by the COM runtime
};

// Parses argv; on a bad option returns nullopt and puts the reason in error.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

const char* Usage();

}  // namespace host
