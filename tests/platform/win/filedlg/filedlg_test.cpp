// The common file dialogs driven by the scripted user's window lines: the
// folder's matching files are listed, a typed folder is entered, Open insists
// on an existing file, Save As asks before replacing one, Esc cancels, and a
// path that does not fit the caller's buffer is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "commdlg.h"
#include "paths.h"
#include "textconv.h"
#include "wintest.h"

namespace {

namespace fs = std::filesystem;

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = fs::temp_directory_path() / ("filedlg-" + std::to_string(getpid()));
    fs::create_directories(m_dir / "floors");
    for (const char* f : {"plan.dxf", "lc.dwg", "notes.txt", "floors/f2.DXF"}) std::ofstream(m_dir / f) << "0\nEOF\n";
    m_folder = win::ToWindowsPath(m_dir.string());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(m_dir, ec);
  }

  // Runs the dialog on the script's lines; the chosen path or "" when cancelled.
  std::wstring Run(bool save, std::vector<std::string> lines, DWORD flags = 0, DWORD size = 512) {
    wintest::Script(std::move(lines));
    std::wstring buffer(512, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lpstrFilter = L"Drawing (*.dwg;*.dxf)\0*.dwg;*.dxf\0\0";
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = size;
    ofn.lpstrInitialDir = m_folder.c_str();
    ofn.lpstrDefExt = L"dwg";
    ofn.Flags = flags;
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return L"";
    m_offset = ofn.nFileOffset;
    return buffer.c_str();
  }

  fs::path m_dir;
  std::wstring m_folder;
  WORD m_offset = 0;
};

TEST_F(FileDialogTest, OpenListsTheFolderEntersFoldersAndInsistsOnAFile) {
  wintest::Transcript t;
  // The list holds the folder, then the matching files; "missing" is
  // refused with a message; the sub-folder is entered and its file taken.
  std::wstring path = Run(false, {"@print 1088", "@text 1152 missing.dxf", "", "@answer OK", "@text 1152 floors", "",
                                  "@print 1089", "@text 1152 f2.DXF", ""});
  EXPECT_EQ(path, m_folder + L"\\floors\\f2.DXF");
  EXPECT_EQ(m_offset, m_folder.size() + 8);
  std::string text = t.Text();
  EXPECT_NE(text.find("[print 1088] floors\\\nlc.dwg\nplan.dxf\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("notes.txt"), std::string::npos) << "the filter leaves other files out";
  EXPECT_NE(text.find("missing.dxf\nFile not found."), std::string::npos) << text;
  EXPECT_NE(text.find("[print 1089] " + win::WideToUtf8(m_folder) + "\\floors"), std::string::npos) << text;
}

TEST_F(FileDialogTest, SaveAsAsksBeforeReplacingAndCancelAndSmallBuffersGiveNothing) {
  wintest::Transcript t;
  // "plan.dxf" exists: No keeps the dialog open, a new name (with the
  // default extension added) is taken.
  std::wstring path = Run(true, {"@text 1152 plan.dxf", "", "@answer NO", "@text 1152 copy", ""}, OFN_OVERWRITEPROMPT);
  EXPECT_EQ(path, m_folder + L"\\copy.dwg");
  EXPECT_NE(t.Text().find("already exists.\nDo you want to replace it? {YES NO} -> NO"), std::string::npos) << t.Text();
  EXPECT_EQ(Run(true, {"@text 1152 plan.dxf", "", "@answer YES"}, OFN_OVERWRITEPROMPT), m_folder + L"\\plan.dxf");
  EXPECT_EQ(Run(false, {"@text 1152 plan.dxf", "^C"}), L"") << "Esc cancels";
  EXPECT_EQ(Run(false, {"@text 1152 plan.dxf", ""}, 0, 4), L"") << "a path longer than the buffer is refused";
}

}  // namespace
