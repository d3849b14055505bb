// Printing a grid into PDF files and reading them back with poppler's
// pdfinfo and pdftotext: the page count the row heights give, the footer on
// the pages, the two page layouts, the print dialog answered by the scripted
// user, and the jobs that must end without a file.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "GridTestSupport.h"
#include "paths.h"
#include "wintest.h"

using gridtest::GridFixture;

namespace {

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

int PdfPages(const std::string& path) {
  std::string info = Shell("pdfinfo '" + path + "' 2>/dev/null");
  size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

std::string PdfText(const std::string& path, int page) {
  return Shell("pdftotext -layout -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + path + "' - 2>/dev/null");
}

class GridPrintTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    ASSERT_FALSE(Shell("command -v pdfinfo pdftotext").empty()) << "poppler-utils (scripts/install-deps.sh) is missing";
    char dir[] = "/tmp/gridprintXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    m_dir = dir;
  }
  void TearDown() override {
    std::filesystem::remove_all(m_dir);
    GridFixture::TearDown();
  }
  // Prints on the printer that writes the file; the result of Print.
  BOOL PrintTo(const std::string& file, const DEVMODEW* devMode = nullptr) {
    CPrintDialog dlg(FALSE);
    dlg.m_pd.hDC = ::CreateDCW(L"WINSPOOL", CString(file.c_str()), nullptr, devMode);
    return m_grid->Print(&dlg);
  }
  std::string m_dir;
};

TEST_F(GridPrintTest, FiveHundredRowsFillThePagesTheRowHeightsGive) {
  Fill(501, 4);
  for (int c = 0; c < 4; ++c) m_grid->SetItemText(0, c, CString(L"Heading") + CString(std::to_wstring(c).c_str()));
  std::string file = m_dir + "/rows.pdf";
  ASSERT_TRUE(PrintTo(file));

  // The layout from the print font: fit-width, so the page is as wide as the
  // columns and the margins, as high as the paper's aspect makes it.
  CSize charSize = m_grid->GetPrintCharSize();
  ASSERT_GT(charSize.cx, 0);
  CSize page = m_grid->GetPrintLogicalPageSize();
  EXPECT_EQ(4 * 50 + 8 * charSize.cx, page.cx);
  EXPECT_EQ(static_cast<LONG>(static_cast<long long>(page.cx) * 7016 / 4961), page.cy) << "A4 at 600 dpi";
  int body = page.cy - 20 - 6 * charSize.cy;  // header 2, footer 2, two gaps of 1
  EXPECT_EQ(body, m_grid->GetPrintPageHeight());
  int rowsPerPage = body / 20;
  int pages = (500 + rowsPerPage - 1) / rowsPerPage;
  ASSERT_GT(pages, 1);
  EXPECT_EQ(pages, m_grid->GetPrintPageCount());
  EXPECT_EQ(pages, PdfPages(file));
  EXPECT_EQ(1 + rowsPerPage, m_grid->GetPrintPageFirstRow(2));

  std::string first = PdfText(file, 1), last = PdfText(file, pages);
  EXPECT_NE(std::string::npos, first.find("Page 1 of " + std::to_string(pages))) << first;
  EXPECT_NE(std::string::npos, first.find("Heading3")) << "the column headings";
  EXPECT_NE(std::string::npos, first.find("1,2"));
  EXPECT_NE(std::string::npos, last.find("Page " + std::to_string(pages) + " of " + std::to_string(pages))) << last;
  EXPECT_NE(std::string::npos, last.find("Heading3")) << "headings on every page";
  EXPECT_NE(std::string::npos, last.find("500,3"));
  EXPECT_EQ(std::string::npos, first.find("500,3")) << "the last row is not on the first page";
}

TEST_F(GridPrintTest, WysiwygPagesAndATallRowOnAPageOfItsOwn) {
  Fill(30, 3);
  m_grid->EnableWysiwygPrinting(TRUE);
  m_grid->SetRowHeight(6, 5000);
  m_grid->SetItemFormat(6, 1, DT_LEFT | DT_TOP | DT_SINGLELINE);
  std::string file = m_dir + "/tall.pdf";
  ASSERT_TRUE(PrintTo(file));
  // Printer dots at screen resolution, times 3/4: about the screen size.
  EXPECT_EQ(CSize(4961 * 96 / 600 * 3 / 4, 7016 * 96 / 600 * 3 / 4), m_grid->GetPrintLogicalPageSize());
  ASSERT_EQ(3, m_grid->GetPrintPageCount());
  EXPECT_EQ(1, m_grid->GetPrintPageFirstRow(1));
  EXPECT_EQ(6, m_grid->GetPrintPageFirstRow(2));
  EXPECT_EQ(7, m_grid->GetPrintPageFirstRow(3));
  EXPECT_EQ(3, PdfPages(file));
  EXPECT_NE(std::string::npos, PdfText(file, 2).find("6,1"));

  // Landscape letter paper at 300 dpi comes from the printer settings.
  DEVMODEW dm{};
  dm.dmSize = sizeof dm;
  dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY;
  dm.dmOrientation = DMORIENT_LANDSCAPE;
  dm.dmPaperSize = DMPAPER_LETTER;
  dm.dmPrintQuality = 300;
  m_grid->SetRowHeight(6, 20);
  ASSERT_TRUE(PrintTo(m_dir + "/letter.pdf", &dm));
  EXPECT_EQ(CSize(3300 * 96 / 300 * 3 / 4, 2550 * 96 / 300 * 3 / 4), m_grid->GetPrintLogicalPageSize());
}

TEST_F(GridPrintTest, JobsThatCannotPrintEndWithoutAFile) {
  Fill(10, 3);
  // Only hidden data rows: no page holds a row.
  for (int r = 1; r < 10; ++r) m_grid->SetRowHeight(r, 0);
  EXPECT_FALSE(PrintTo(m_dir + "/hidden.pdf"));
  for (int r = 1; r < 10; ++r) m_grid->SetRowHeight(r, 20);
  // A header taller than the page leaves no body.
  m_grid->SetPrintMarginInfo(1000, 2, 4, 4, 1);
  EXPECT_FALSE(PrintTo(m_dir + "/nobody.pdf"));
  m_grid->SetPrintMarginInfo(2, 2, 4, 4, 1);
  // A page too small for one dot across.
  DEVMODEW dm{};
  dm.dmFields = DM_PAPERWIDTH | DM_PRINTQUALITY;
  dm.dmPaperWidth = 100;
  dm.dmPrintQuality = 1;
  EXPECT_FALSE(PrintTo(m_dir + "/tiny.pdf", &dm));
  // A folder that is not there.
  EXPECT_FALSE(PrintTo(m_dir + "/missing/x.pdf"));
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::is_empty(m_dir, ec)) << "no file of a failed job is left";
  EXPECT_TRUE(PrintTo(m_dir + "/fine.pdf"));
  EXPECT_EQ(1, PdfPages(m_dir + "/fine.pdf"));

  // A grid so wide that width times printer dots passes 32 bits.
  for (int c = 0; c < 3; ++c) m_grid->SetColumnWidth(c, 200000);
  EXPECT_TRUE(PrintTo(m_dir + "/wide.pdf"));
  LONG width = 600000 + 8 * m_grid->GetPrintCharSize().cx;
  EXPECT_EQ(CSize(width, static_cast<LONG>(static_cast<long long>(width) * 7016 / 4961)),
            m_grid->GetPrintLogicalPageSize());
}

TEST_F(GridPrintTest, PrintDialogIsAnsweredByTheScriptedUser) {
  Fill(5, 3);
  std::string file = m_dir + "/chosen.pdf";
  wintest::Script({"@text 1139 " + file, "@click 1"});
  EXPECT_TRUE(m_grid->Print());
  EXPECT_EQ(1, PdfPages(file));
  wintest::Script({"@text 1139 " + m_dir + "/never.pdf", "@click 2"});
  EXPECT_FALSE(m_grid->Print());
  EXPECT_FALSE(std::filesystem::exists(m_dir + "/never.pdf"));

  // The default printer: $MARLO_PRINTER, else print.pdf in the snapshot folder.
  setenv("MARLO_PRINTER", (m_dir + "/default.pdf").c_str(), 1);
  CPrintDialog dlg(FALSE);
  ASSERT_TRUE(dlg.GetDefaults());
  EXPECT_EQ(CString((m_dir + "/default.pdf").c_str()), CString(win::ToPosixPath(std::wstring_view(dlg.GetDeviceName().GetString())).c_str()));
  EXPECT_TRUE(m_grid->Print(&dlg));
  unsetenv("MARLO_PRINTER");
  EXPECT_EQ(1, PdfPages(m_dir + "/default.pdf"));
}

}  // namespace
