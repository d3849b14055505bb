// Reading cadhost's command-line options, and its usage text.
#include "hostoptions.h"

#include <cerrno>
#include <cstdlib>

namespace host {

const char* Usage() {
  return "usage: cadhost [--load MODULE]... [--open DRAWING] [--script FILE] [--out DIR] [--seed N] [--display[=NAME]]\n"
         "       cadhost --register [R17.0|R17.1|R17.2] | --unregister [R17.0|R17.1|R17.2]\n"
         "  --load MODULE   load a module (.dbx, .arx) at start-up; repeatable, loaded in order\n"
         "  --open DRAWING  open a drawing (DXF) as the current document\n"
         "  --script FILE   read the user's lines from FILE instead of standard input\n"
         "  --out DIR       folder for snapshots and other output (default: out)\n"
         "  --seed N        seed the C runtime's random generator so a run can be repeated\n"
         "  --display[=NAME]  show the main window on the X display NAME (default: $DISPLAY) for a person;\n"
         "                  a --script then runs first, before the person takes over\n"
         "  --register      register the host as the automation server of the releases\n"
         "                  R17.0, R17.1 and R17.2 (or of the one named)\n"
         "  --unregister    remove what --register wrote (all releases, or the one named)\n"
         "  --automation    serve the automation client that the COM runtime started the\n"
         "                  host for, then go on as a session when it was made visible\n"
         "  --help          show this text\n";
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
  Options options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        error = "option " + a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a == "--display") {
      options.display = true;
    } else if (a.rfind("--display=", 0) == 0) {
      options.display = true;
      options.displayName = a.substr(10);
    } else if (a == "--register" || a == "--unregister") {
      (a == "--register" ? options.registerServer : options.unregisterServer) = true;
      if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
        options.release = args[++i];
        if (options.release != "R17.0" && options.release != "R17.1" && options.release != "R17.2") {
          error = "unknown release \"" + options.release + "\" (R17.0, R17.1 or R17.2)";
          return std::nullopt;
        }
      }
    } else if (a == "--automation") {
      options.automation = true;
    } else if (a == "--load") {
      if (!value(v)) return std::nullopt;
      options.modules.push_back(v);
    } else if (a == "--open") {
      if (!value(options.drawing)) return std::nullopt;
    } else if (a == "--script") {
      if (!value(options.script)) return std::nullopt;
    } else if (a == "--out") {
      if (!value(options.outDir)) return std::nullopt;
    } else if (a == "--seed") {
      if (!value(v)) return std::nullopt;
      char* end = nullptr;
      errno = 0;
      unsigned long n = std::strtoul(v.c_str(), &end, 10);
      if (errno || !end || *end || v[0] == '-' || n > 0xFFFFFFFFul) {
        error = "--seed needs a whole number from 0 to 4294967295, not \"" + v + "\"";
        return std::nullopt;
      }
      options.seed = static_cast<unsigned>(n);
    } else {
      error = "unknown option \"" + a + "\"";
      return std::nullopt;
    }
  }
  if (options.registerServer + options.unregisterServer + options.automation + options.display > 1) {
    error = "--register, --unregister, --automation and --display exclude each other";
    return std::nullopt;
  }
  return options;
}

}  // namespace host
