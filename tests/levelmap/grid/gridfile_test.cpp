// Delimited files: Load's columns and rows, Save then Load giving back every
// text, lines of any length, failures that report and keep the grid.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "GridTestSupport.h"
#include "wintest.h"

using gridtest::GridFixture;

namespace {

class GridFileTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    m_dir = std::filesystem::temp_directory_path() / ("gridfile_" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
    GridFixture::TearDown();
  }
  CString PathOf(const std::string& name) const { return CString((m_dir / name).string().c_str()); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(m_dir / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(m_dir / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  std::filesystem::path m_dir;
  wintest::Transcript m_transcript;
};

TEST_F(GridFileTest, LoadMakesAColumnPerHeadingAndARowPerLine) {
  Write("three.csv", "Site,Band,Level\r\nA,GSM,-50\nB,,-61,extra\n");
  ASSERT_TRUE(m_grid->Load(PathOf("three.csv")));
  EXPECT_EQ(3, m_grid->GetColumnCount());
  EXPECT_EQ(3, m_grid->GetRowCount());
  EXPECT_EQ("Site|Band|Level", Row(0));
  EXPECT_EQ("A|GSM|-50", Row(1));
  EXPECT_EQ("B||-61", Row(2)) << "an empty field stays a field; one past the columns is dropped";
  EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), m_grid->GetItemFormat(0, 2));
  EXPECT_GT(m_grid->GetColumnWidth(0), 0) << "auto-sized";
  EXPECT_EQ("", m_transcript.Text());
}

TEST_F(GridFileTest, SaveThenLoadGivesBackEveryText) {
  Fill(5, 4);
  m_grid->SetItemText(2, 2, L"");
  m_grid->SetItemText(3, 1, L"电平 -85");
  m_grid->SetItemText(0, 0, L"");
  m_grid->MergeCells(CCellRange(1, 1, 2, 2));
  ASSERT_TRUE(m_grid->Save(PathOf("round.txt"), L';'));
  EXPECT_EQ(";0,1;0,2;0,3\r\n", Read("round.txt").substr(0, 14)) << "text mode ends lines with CRLF";

  CGridCtrl other;
  ASSERT_TRUE(other.Load(PathOf("round.txt"), L';'));
  ASSERT_EQ(5, other.GetRowCount());
  ASSERT_EQ(4, other.GetColumnCount());
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(m_grid->GetItemText(r, c), other.GetItemText(r, c)) << r << "," << c;

  ASSERT_TRUE(m_grid->Load(PathOf("round.txt"), L';'));
  EXPECT_EQ(0, m_grid->GetMergedCellCount()) << "a loaded grid has no ranges of the old one";
}

TEST_F(GridFileTest, LinesLongerThanAnyBufferAreReadWhole) {
  std::string longField(5000, 'y');
  Write("long.csv", "a,b\n" + longField + ",end\n");
  ASSERT_TRUE(m_grid->Load(PathOf("long.csv")));
  EXPECT_EQ(2, m_grid->GetRowCount());
  EXPECT_EQ(longField, m_grid->GetItemText(1, 0).ToUtf8());
  EXPECT_EQ("end", m_grid->GetItemText(1, 1).ToUtf8());
}

TEST_F(GridFileTest, FailuresReportAndLeaveTheGridAsItWas) {
  Fill(3, 3);
  // A folder is no file to load.
  std::filesystem::create_directories(m_dir / "folder");
  EXPECT_FALSE(m_grid->Load(PathOf("folder")));
  // A file that opens but fails while it is read.
  EXPECT_FALSE(m_grid->Load(L"/proc/self/mem"));
  // A missing file cannot be opened: the platform's description.
  EXPECT_FALSE(m_grid->Load(PathOf("missing.csv")));
  EXPECT_EQ("1,0|1,1|1,2", Row(1));
  // Writing to a full device fails when the data reach it.
  EXPECT_FALSE(m_grid->Save(L"/dev/full"));
  // A folder that does not exist cannot hold the file.
  EXPECT_FALSE(m_grid->Save(PathOf("no/such/folder.csv")));
  std::string text = m_transcript.Text();
  EXPECT_NE(std::string::npos, text.find("was not found.")) << text;
  EXPECT_NE(std::string::npos, text.find("Unable to save grid list")) << text;
  EXPECT_NE(std::string::npos, text.find("Unable to load grid data")) << text;
  EXPECT_NE(std::string::npos, text.find("missing.csv")) << text;
  EXPECT_NE(std::string::npos, text.find("Access to ")) << "the folder that cannot be loaded: " << text;
}

}  // namespace
