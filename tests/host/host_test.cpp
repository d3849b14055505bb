// The host run as a program: module loading, the command line and prompts
// driven by a script, checked by transcript and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

struct HostRun {
  std::string out;
  int status = -1;
};

HostRun RunHost(const std::string& args, const std::string& script) {
  char path[] = "/tmp/cadhost-script-XXXXXX";
  int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  close(fd);
  std::ofstream(path) << script;
  std::string cmd = std::string(CADHOST) + " " + args + " --script " + path + " 2>&1";
  HostRun run;
  FILE* p = popen(cmd.c_str(), "r");
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) run.out.append(buf.data(), n);
  int st = pclose(p);
  run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  unlink(path);
  return run;
}

std::string Module(const char* name) { return std::string(TEST_MODULES_DIR) + "/" + name; }

// Position of text in out after position from; fails the test if missing.
size_t After(const std::string& out, const std::string& text, size_t from = 0) {
  size_t at = out.find(text, from);
  EXPECT_NE(at, std::string::npos) << "missing \"" << text << "\" in:\n" << out;
  return at == std::string::npos ? from : at + text.size();
}

}  // namespace

TEST(Host, LoadsModulesInOrderAndUnloadsThemAtTheEnd) {
  HostRun r = RunHost("--load " + Module("hosttest.arx"), "HELP\nQUIT\n");
  EXPECT_EQ(r.status, 0) << r.out;
  size_t at = After(r.out, "[attach]");
  at = After(r.out, "[init]", at);
  at = After(r.out, "Command: HELP", at);
  at = After(r.out, "PTEST  _PTEST  HOSTTEST", at);
  at = After(r.out, "hosttest.arx", at);
  at = After(r.out, "Command: QUIT", at);
  at = After(r.out, "[unload]", at);
  After(r.out, "[detach]", at);
}

TEST(Host, RunsCommandsByLocalOrGlobalNameInAnyCase) {
  HostRun r = RunHost("--load " + Module("hosttest.arx"),
                  "ptest\n1,2\n@3,4\n_ptest\n5,6,7\n\nFRAGE\n12\n\"a b\"\n0.5\n_ask\nq\nx\n2\nnosuch\n");
  EXPECT_EQ(r.status, 0);
  size_t at = After(r.out, "First point: 1,2");
  at = After(r.out, "rc=5100 1.00,2.00,0.00", at);
  at = After(r.out, "Other corner: @3,4", at);
  at = After(r.out, "rc=5100 4.00,6.00,0.00", at);
  at = After(r.out, "rc=5100 5.00,6.00,7.00", at);
  at = After(r.out, "rc=5000", at);  // Enter at the corner prompt
  at = After(r.out, "rc=5100 n=12", at);
  at = After(r.out, "name=[a b]", at);
  at = After(r.out, "d=0.500", at);
  at = After(r.out, "keyword Quit", at);
  at = After(r.out, "rc=5100 name=[x]", at);
  at = After(r.out, "d=2.000", at);
  After(r.out, "Unknown command \"NOSUCH\".  Press F1 for help.", at);
}

TEST(Host, EscAndTheEndOfTheScriptCancelPrompts) {
  HostRun r = RunHost("--load " + Module("hosttest.arx"), "PTEST\n^C\nPTEST\n1,1\n");
  EXPECT_EQ(r.status, 0);
  size_t at = After(r.out, "First point: *Cancel*");
  at = After(r.out, "rc=-5002", at);
  at = After(r.out, "Other corner: *Cancel*", at);
  After(r.out, "rc=-5002", at);
}

TEST(Host, AppLoadAtTheCommandLine) {
  HostRun r = RunHost("", "APPLOAD " + Module("hosttest.arx") + "\nPTEST\n0,0\n^C\n");
  EXPECT_EQ(r.status, 0);
  size_t at = After(r.out, "[init]");
  at = After(r.out, "hosttest.arx successfully loaded.", at);
  After(r.out, "rc=5100 0.00,0.00,0.00", at);
}

TEST(Host, RefusesAModuleWhoseLibraryIsMissing) {
  HostRun r = RunHost("--load " + Module("needsgone.arx"), "QUIT\n");
  EXPECT_NE(r.status, 0);
  After(r.out, "libgone.so");
  HostRun a = RunHost("", "APPLOAD " + Module("needsgone.arx") + "\n");
  EXPECT_EQ(a.status, 0);
  After(a.out, "Unable to load");
  After(a.out, "libgone.so");
}

TEST(Host, BadOptionsAndMissingFilesEndWithAMessage) {
  HostRun r = RunHost("--bogus", "");
  EXPECT_EQ(r.status, 2);
  After(r.out, "unknown option \"--bogus\"");
  r = RunHost("--seed -3", "");
  EXPECT_EQ(r.status, 2);
  r = RunHost("--load /nonexistent/x.arx", "");
  EXPECT_EQ(r.status, 1);
  After(r.out, "cannot load the module");
}

TEST(Host, OpensADrawingGivenOnTheCommandLineAndRefusesOneItCannotRead) {
  char dir[] = "/tmp/cadhost-docs-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string saved = std::string(dir) + "/saved.dxf";
  HostRun made = RunHost("", "LINE\n0,0\n10,0\n\nSAVEAS " + saved + "\nQUIT\n");
  EXPECT_EQ(made.status, 0) << made.out;

  HostRun opened = RunHost("--open " + saved, "LIST\nALL\n\nQUIT\n");
  EXPECT_EQ(opened.status, 0) << opened.out;
  After(opened.out, "from (0.0000,0.0000,0.0000) to (10.0000,0.0000,0.0000)");

  std::string broken = std::string(dir) + "/broken.dxf";
  std::ofstream(broken) << "not a drawing\n";
  HostRun bad = RunHost("--open " + broken, "QUIT\n");
  EXPECT_NE(bad.status, 0);
  After(bad.out, "cannot read the drawing \"" + broken + "\"");
  HostRun missing = RunHost("--open " + std::string(dir) + "/none.dxf", "QUIT\n");
  EXPECT_NE(missing.status, 0);
  After(missing.out, "cannot read the drawing");

  // At the command line a drawing that cannot be read leaves the current one.
  HostRun typed = RunHost("--open " + saved, "OPEN " + broken + "\nLIST\nALL\n\nQUIT\n");
  EXPECT_EQ(typed.status, 0);
  size_t at = After(typed.out, "Cannot open \"" + broken + "\"");
  After(typed.out, "LINE       handle", at);
  unlink(broken.c_str());
  unlink(saved.c_str());
  rmdir(dir);
}

TEST(Host, ModuleMenuAndMainWindowShowInHelpAndMenuPickRunsTheCommand) {
  HostRun r = RunHost("--load " + Module("menutest.arx"),
                      "HELP\nMENUPICK \"测试菜单——Host\" \"Menu Test\"\nMENUPICK \"测试菜单——Host\" \"Other\"\n");
  EXPECT_EQ(r.status, 0) << r.out;
  size_t at = After(r.out, "Command: HELP");
  at = After(r.out, "Menu bar: File, Edit, View, Insert, Format, Tools, Draw, Dimension, Modify, 测试菜单——Host, Window, Help\n", at);
  at = After(r.out, "Main window: Host[测试__模块], small icon 128x128\n", at);
  at = After(r.out, "Command: MenuTest\n[menu test command]", at);
  After(r.out, "The pop-up menu \"测试菜单——Host\" has no item \"Other\".", at);
}

