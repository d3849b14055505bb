// Marlo as a program with the real host: it starts cadhost through the
// registered ProgID, the host loads the modules and reads the rest of the
// script, the support path grows by the launcher's folder on each run, and
// no process is left behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "paths.h"
#include "regtext.h"
#include "tempprefix.h"
#include "textconv.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const wchar_t kProfile172[] =
    L"Software\\Autodesk\\AutoCAD\\R17.2\\ACAD-7001:804\\Profiles\\<<Unnamed Profile>>\\General";

struct ProgramRun {
  std::string out;
  int status = -1;
  bool leftBehind = false;
};

// Runs a program in a process group of its own with the given standard
// input, collects standard output and error until every process holding
// them (the host too) has closed them, and looks for survivors.
ProgramRun RunProgram(std::vector<std::string> args, const std::string& input) {
  int out[2], in[2];
  EXPECT_EQ(0, ::pipe(out));
  EXPECT_EQ(0, ::pipe(in));
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, out[1], 2);
  posix_spawn_file_actions_addclose(&actions, in[1]);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attr, 0);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  ProgramRun run;
  EXPECT_EQ(0, ::posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), environ));
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  ::close(in[0]);
  ::close(out[1]);
  if (!input.empty()) {
    EXPECT_EQ(static_cast<ssize_t>(input.size()), ::write(in[1], input.data(), input.size()));
  }
  ::close(in[1]);
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(out[0], buffer, sizeof buffer)) > 0) run.out.append(buffer, static_cast<size_t>(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  // The group is the one this test made for the run: any member still
  // there is a process the run left behind.
  if (::kill(-pid, 0) == 0) {
    run.leftBehind = true;
    ::kill(-pid, SIGKILL);
  }
  return run;
}

class MarloTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    // In the sanitizer build the programs get the end-to-end runs' leak
    // suppressions (the font libraries' caches).
    ::setenv("LSAN_OPTIONS", "suppressions=" E2E_LSAN_SUPPRESSIONS ":print_suppressions=0", 1);
    ProgramRun r = RunProgram({std::string(MODULE_DIR) + "/cadhost", "--register", "R17.2"}, "");
    ASSERT_EQ(0, r.status) << r.out;
  }
  void TearDown() override {
    ::unsetenv("LSAN_OPTIONS");
    TempPrefixTest::TearDown();
  }
  std::string Script(const std::string& text) const {
    std::string path = m_prefix + "/run.script";
    std::ofstream(path) << text;
    return path;
  }
  // A launcher folder: the program, its libraries, Cadcore.dbx and, unless
  // left out, a Levelmap.arx (the host tests' module under that name).
  fs::path LauncherFolder(bool withLevelmap) const {
    const fs::path folder = fs::path(m_prefix) / "launcher";
    fs::create_directories(folder);
    fs::copy_file(fs::path(MODULE_DIR) / "Marlo", folder / "Marlo");
    for (const auto& entry : fs::directory_iterator(MODULE_DIR)) {
      if (entry.path().extension() == ".so" || entry.path().filename() == "Cadcore.dbx")
        fs::create_symlink(entry.path(), folder / entry.path().filename());
    }
    if (withLevelmap) fs::create_symlink(fs::path(TEST_MODULES_DIR) / "hosttest.arx", folder / "Levelmap.arx");
    return folder;
  }
};

size_t After(const std::string& out, const std::string& text, size_t from = 0) {
  size_t at = out.find(text, from);
  EXPECT_NE(at, std::string::npos) << "missing \"" << text << "\" in:\n" << out;
  return at == std::string::npos ? from : at + text.size();
}

TEST_F(MarloTest, TwoRunsStartTheHostWithBothModulesAndGrowTheSupportPath) {
  const fs::path folder = LauncherFolder(true);
  const std::string marlo = (folder / "Marlo").string();
  const std::string script = Script("@select 1000 CAD2009\n@click 1\nHELP\nQUIT\n");
  for (int i = 0; i < 2; ++i) {
    ProgramRun r = RunProgram({marlo, "--script", script}, "");
    EXPECT_EQ(0, r.status) << r.out;
    EXPECT_FALSE(r.leftBehind) << r.out;
    size_t at = After(r.out, "[input] left button down at 1230,12 (cursor confined to 1230,12 1231,13)\n");
    at = After(r.out, "[input] left button down at 1230,12: caption bar of", at);
    at = After(r.out, "[input] left button up at 1230,12", at);
    at = After(r.out, "Command: HELP", at);
    at = After(r.out, "Loaded modules:\n  Cadcore.dbx\n  Levelmap.arx\n", at);
    After(r.out, "Command: QUIT", at);
  }
  const std::wstring bin = win::ToWindowsPath(MODULE_DIR);
  const std::wstring launcher = win::ToWindowsPath(folder.string());
  EXPECT_EQ(bin + L"\\support;" + launcher + L";" + launcher,
            win::ReadRegText(HKEY_CURRENT_USER, kProfile172, L"ACAD").value_or(L"(none)"));
}

TEST_F(MarloTest, TheHostReadsOnFromStandardInputWhereTheLauncherStopped) {
  ProgramRun r = RunProgram({(LauncherFolder(true) / "Marlo").string()}, "@select 1000 CAD2009\n@click 1\nHELP\n");
  EXPECT_EQ(0, r.status) << r.out;
  EXPECT_FALSE(r.leftBehind);
  After(r.out, "Loaded modules:\n  Cadcore.dbx\n  Levelmap.arx\n", After(r.out, "Command: HELP"));
}

TEST_F(MarloTest, AModuleMissingBesideTheLauncherIsAFailedLoadAndTheHostEnds) {
  const fs::path folder = LauncherFolder(false);
  ProgramRun r = RunProgram({(folder / "Marlo").string(), "--script", Script("@select 1000 CAD2009\n@click 1\n@click 2\n")},
                     "");
  EXPECT_EQ(0, r.status) << r.out;
  EXPECT_FALSE(r.leftBehind) << r.out;
  After(r.out, "[Marlo] 加载ARX失败！ {OK} -> OK");
  EXPECT_EQ(std::string::npos, r.out.find("[input]")) << "no click after a failed load";
  EXPECT_EQ(std::string::npos, r.out.find("Command:")) << "the host, never made visible, read nothing";
}

}  // namespace
