// The toolkit stand-ins: task dialog buttons and results, the hyperlink's
// click, themed buttons in a dialog, skins and style files.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "XTToolkitPro.h"
#include "dlgscript.h"
#include "paths.h"
#include "wintest.h"

namespace {

constexpr UINT IDD_LINKS = 700;
constexpr UINT IDI_RED = 701;

const win::ResourceTable kResources{
    {win::DialogResource{IDD_LINKS,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 186, 125, L"About", L"Tahoma", 8,
                         {{L"Static", L"someone@example.com", 113, 53, 67, 89, 8, SS_LEFT, 0},
                          {L"Button", L"联系方式", 115, 7, 56, 172, 38, BS_GROUPBOX, 0},
                          {L"Button", L"确定", IDOK, 67, 102, 50, 16, BS_DEFPUSHBUTTON | WS_TABSTOP, 0}}}},
    {},
    {win::ImageResource{IDI_RED, IMAGE_ICON, nullptr, 0, 16, 16, std::vector<uint32_t>(16 * 16, 0xFFFF0000u)}}};

class CLinkDlg : public CDialog {
 public:
  CLinkDlg() : CDialog(IDD_LINKS) {}
  CXTPHyperLink m_link;
  CXTPButton m_group;
  CXTPButton m_ok;
  int m_nOkClicks = 0;
  bool m_bIcon = false;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, 113, m_link);
    DDX_Control(pDX, 115, m_group);
    DDX_Control(pDX, IDOK, m_ok);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (m_bIcon) {
      // The dialog gives the button an icon and destroys its own handle at
      // once; the button must paint from a copy.
      HICON hIcon = ::LoadIconW(kResources.Instance(), MAKEINTRESOURCEW(IDI_RED));
      m_ok.SetIcon(CSize(16, 16), hIcon);
      ::DestroyIcon(hIcon);
    }
    m_ok.SetTheme(xtpControlThemeResource);
    m_group.SetTheme(xtpControlThemeResource);
    m_ok.SetTooltip(L"关闭");
    m_link.SetURL(L"mailto:someone@example.com");
    m_link.SetTipText(L"邮箱地址");
    return TRUE;
  }
  void OnOK() override {
    ++m_nOkClicks;
    CDialog::OnOK();
  }
};

TEST(TaskDialog, OkOnlyReturnsOk) {
  wintest::Transcript t;
  wintest::Script({});
  CXTPTaskDialog dlg(nullptr);
  dlg.SetWindowTitle(L"Marlo");
  dlg.SetMainInstruction(L"请先选择范围！");
  dlg.SetMainIcon(TD_WARNING_ICON);
  dlg.SetCommonButtons(TDCBF_OK_BUTTON);
  dlg.EnableMessageBoxStyle();
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(t.Text(), "[Marlo] 请先选择范围！ {OK} -> OK\n");
  EXPECT_EQ(reinterpret_cast<intptr_t>(dlg.GetMainIconId()) & 0xFFFF, 0xFFFF);
}

TEST(TaskDialog, YesNoTakesTheAnswerAndRefusesOthers) {
  wintest::Transcript t;
  wintest::Script({"@answer NO", "@answer CANCEL", "@answer yes"});
  CXTPTaskDialog dlg;
  dlg.SetWindowTitle(L"Marlo");
  dlg.SetMainInstruction(L"继续吗？");
  dlg.SetCommonButtons(FALSE, TRUE, TRUE, FALSE, FALSE, FALSE);
  EXPECT_EQ((std::vector<int>{IDYES, IDNO}), dlg.GetButtonIds());
  EXPECT_EQ(dlg.DoModal(), IDNO);
  EXPECT_EQ(dlg.DoModal(), IDYES) << "a button the dialog lacks leaves the default";
  EXPECT_EQ(dlg.DoModal(), IDYES);
  std::string text = t.Text();
  EXPECT_NE(text.find("[Marlo] 继续吗？ {YES NO} -> NO"), std::string::npos) << text;
  EXPECT_NE(text.find("window input refused: @answer CANCEL"), std::string::npos) << text;
  dlg.SetCommonButtons(TDCBF_CANCEL_BUTTON | TDCBF_OK_BUTTON | TDCBF_RETRY_BUTTON);
  EXPECT_EQ((std::vector<int>{IDOK, IDRETRY, IDCANCEL}), dlg.GetButtonIds());
  dlg.SetDefaultButton(IDCANCEL);
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(HyperLink, ClickOpensTheTargetAndButtonsStillWork) {
  wintest::Transcript t;
  wintest::Script({"@click 113", "@click 1"});
  CLinkDlg dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_nOkClicks, 1);
  EXPECT_EQ(t.Text(), "[shell] open mailto:someone@example.com\n");
}

// How many pixels of the PNG lie within tol of the colour in every channel.
int CountNear(const std::filesystem::path& file, int r, int g, int b, int tol) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(file.string().c_str());
  EXPECT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS) << file;
  int count = 0;
  const unsigned char* data = cairo_image_surface_get_data(png);
  int stride = cairo_image_surface_get_stride(png);
  for (int y = 0; data && y < cairo_image_surface_get_height(png); ++y)
    for (int x = 0; x < cairo_image_surface_get_width(png); ++x) {
      uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
      int pr = (p >> 16) & 0xFF, pg = (p >> 8) & 0xFF, pb = p & 0xFF;
      count += std::abs(pr - r) <= tol && std::abs(pg - g) <= tol && std::abs(pb - b) <= tol;
    }
  cairo_surface_destroy(png);
  return count;
}

TEST(HyperLink, SnapshotShowsThemedControls) {
  auto dir = std::filesystem::temp_directory_path() / ("xtpsnap_" + std::to_string(::getpid()));
  win::SetSnapshotFolder(dir.string());
  wintest::Script({"@snapshot link.png 113", "@snapshot ok.png 1", "@snapshot group.png 115", ""});
  CLinkDlg dlg;
  dlg.DoModal();
  win::SetSnapshotFolder("");
  EXPECT_GT(CountNear(dir / "link.png", 0, 0, 255, 105), 20) << "the link is drawn in blue";
  // The resource theme: the default button's blue frame, the group box's blue caption.
  EXPECT_GT(CountNear(dir / "ok.png", 0, 120, 215, 0), 100) << "the default button has the theme's frame";
  EXPECT_GT(CountNear(dir / "group.png", 0, 70, 160, 40), 10) << "the group box caption has the theme's colour";
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

// Counts the pixels of a snapshot that are within 40 of the colour per channel.
int CountNear(const std::filesystem::path& file, int r, int g, int b) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.string().c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return -1;
  }
  int n = 0;
  const unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < cairo_image_surface_get_height(s); ++y)
    for (int x = 0; x < cairo_image_surface_get_width(s); ++x) {
      uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
      n += std::abs(int((p >> 16) & 0xFF) - r) < 40 && std::abs(int((p >> 8) & 0xFF) - g) < 40 &&
           std::abs(int(p & 0xFF) - b) < 40;
    }
  cairo_surface_destroy(s);
  return n;
}

TEST(Button, PaintsItsCopyOfAnIconTheCallerDestroyed) {
  auto dir = std::filesystem::temp_directory_path() / ("xtpicon_" + std::to_string(::getpid()));
  win::SetSnapshotFolder(dir.string());
  wintest::Script({"@snapshot ok.png 1", ""});
  CLinkDlg dlg;
  dlg.m_bIcon = true;
  dlg.DoModal();
  win::SetSnapshotFolder("");
  EXPECT_GE(CountNear(dir / "ok.png", 255, 0, 0), 16 * 16) << "the whole red icon is painted";
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

TEST(Skins, MissingFilesLeaveTheDefaultLook) {
  EXPECT_FALSE(XTPSkinManager()->LoadSkin(L"Z:\\no\\such\\Marlo Vi.Dll"));
  EXPECT_TRUE(XTPSkinManager()->GetSkinPath().IsEmpty());
  XTPSkinManager()->SetApplyOptions(xtpSkinApplyFrame | xtpSkinApplyColors);
  EXPECT_EQ(XTPSkinManager()->GetApplyOptions(), static_cast<DWORD>(xtpSkinApplyFrame | xtpSkinApplyColors));
  EXPECT_FALSE(XTPResourceImages()->SetHandle(L"/no/such/Marlo Vi7.Dll"));
  EXPECT_FALSE(XTPResourceImages()->IsValid());
  auto file = std::filesystem::temp_directory_path() / ("Marlo Vi7_" + std::to_string(::getpid()) + ".Dll");
  { std::ofstream(file) << "style"; }
  CString path(win::ToWindowsPath(file.string()).c_str());
  EXPECT_TRUE(XTPResourceImages()->SetHandle(path));
  EXPECT_TRUE(XTPResourceImages()->IsValid());
  std::filesystem::remove(file);
}

}  // namespace
