// The About dialog: its template and icon, the caption with the maker's name,
// the version line in bold, the mail link and the keep-focus answer.
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "About.h"
#include "dlgscript.h"
#include "wintest.h"

namespace {

// Records what the dialog shows once it is initialised.
class CAboutProbe : public CAbout {
 public:
  using CAbout::CAbout;
  CString m_strCaption, m_strVersion, m_strURL, m_strTip;
  LONG m_nVersionWeight = 0;
  HICON m_hBig = nullptr, m_hSmall = nullptr;
  int m_nOkTheme = 0, m_nGroupTheme = 0;
  LRESULT m_nKeepFocus = 0;

 protected:
  BOOL OnInitDialog() override {
    BOOL result = CAbout::OnInitDialog();
    GetWindowText(m_strCaption);
    GetDlgItemText(IDC_STC_VERSION, m_strVersion);
    LOGFONT lf{};
    if (CFont* font = GetDlgItem(IDC_STC_VERSION)->GetFont()) font->GetLogFont(&lf);
    m_nVersionWeight = lf.lfWeight;
    m_strURL = m_stcMail.GetURL();
    m_strTip = m_stcMail.GetTipText();
    m_hBig = GetIcon(TRUE);
    m_hSmall = GetIcon(FALSE);
    m_nOkTheme = m_btnOK.GetTheme();
    m_nGroupTheme = m_grpContact.GetTheme();
    m_nKeepFocus = SendMessage(WM_ACAD_KEEPFOCUS);
    return result;
  }
};

class AboutTest : public ::testing::Test {
 protected:
  wintest::Transcript m_transcript;
};

TEST_F(AboutTest, ShowsTheVersionInBoldAndTheCaptionWithTheMakersName) {
  for (int opening = 0; opening < 2; ++opening) {
    wintest::Script({""});
    CAboutProbe dlg;
    EXPECT_EQ(IDOK, dlg.DoModal()) << "Enter presses the default OK button";
    EXPECT_EQ(CString(L"路测仿真系统 V1.0.0.1"), dlg.m_strVersion) << "the same text on every opening";
    EXPECT_EQ(CString(L"Marlo-路测仿真系统"), dlg.m_strCaption);
    EXPECT_EQ(FW_BOLD, dlg.m_nVersionWeight);
    EXPECT_EQ(7, dlg.m_nOkTheme);
    EXPECT_EQ(7, dlg.m_nGroupTheme);
    EXPECT_EQ(TRUE, dlg.m_nKeepFocus);
    EXPECT_NE(nullptr, dlg.m_hBig);
    EXPECT_EQ(dlg.m_hBig, dlg.m_hSmall);
  }
}

TEST_F(AboutTest, TheMailLinkOpensTheMailProgramWithTheAddress) {
  ::unsetenv("MARLO_SHELL_HANDLER");
  wintest::Script({"@click 113", "@close"});
  CAboutProbe dlg;
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
  EXPECT_EQ(CString(L"mailto:support@marlo-soft.cn"), dlg.m_strURL);
  EXPECT_EQ(CString(L"邮箱地址\n（点击会调用系统默认邮件软件写信）"), dlg.m_strTip);
  EXPECT_NE(std::string::npos, m_transcript.Text().find("[shell] open mailto:support@marlo-soft.cn\n"))
      << m_transcript.Text();
}

TEST_F(AboutTest, TemplateAndIconAreTheModulesOwn) {
  const win::DialogResource* tmpl = win::FindDialogResource(LevelmapResourceInstance(), IDD_ABOUTBOX);
  ASSERT_NE(nullptr, tmpl);
  EXPECT_EQ(186, tmpl->cx);
  EXPECT_EQ(125, tmpl->cy);
  EXPECT_EQ(std::wstring(L"Tahoma"), tmpl->fontFace);
  ASSERT_EQ(5u, tmpl->items.size());
  EXPECT_EQ(std::wstring(L"联系方式"), tmpl->items[1].text);
  EXPECT_EQ(std::wstring(L"确定"), tmpl->items[4].text);
  HICON icon = ::LoadIconW(LevelmapResourceInstance(), MAKEINTRESOURCEW(IDI_MARLO));
  ASSERT_NE(nullptr, icon);
  ::DestroyIcon(icon);
  const win::ImageResource* img = win::FindImageResource(LevelmapResourceInstance(), IDI_MARLO, IMAGE_ICON);
  ASSERT_NE(nullptr, img);
  ASSERT_NE(nullptr, img->png);
  struct Reader {
    const unsigned char* p;
    size_t left;
  } reader{img->png, img->pngSize};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(
      [](void* closure, unsigned char* out, unsigned int n) {
        auto* r = static_cast<Reader*>(closure);
        if (n > r->left) return CAIRO_STATUS_READ_ERROR;
        std::memcpy(out, r->p, n);
        r->p += n;
        r->left -= n;
        return CAIRO_STATUS_SUCCESS;
      },
      &reader);
  EXPECT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_status(s));
  EXPECT_EQ(128, cairo_image_surface_get_width(s)) << "the product icon is 128 x 128";
  EXPECT_EQ(128, cairo_image_surface_get_height(s));
  cairo_surface_destroy(s);
}

TEST_F(AboutTest, SnapshotShowsTheDialog) {
  std::filesystem::path folder = std::filesystem::temp_directory_path() / "levelmap_ui_about";
  std::filesystem::create_directories(folder);
  win::SetSnapshotFolder(folder.string());
  wintest::Script({"@snapshot about.png", ""});
  CAbout dlg;
  EXPECT_EQ(IDOK, dlg.DoModal());
  std::string file = (folder / "about.png").string();
  cairo_surface_t* s = cairo_image_surface_create_from_png(file.c_str());
  ASSERT_EQ(CAIRO_STATUS_SUCCESS, cairo_surface_status(s));
  int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  EXPECT_GT(w, 186);
  EXPECT_GT(h, 125);
  // Dark text pixels in the version line's band and in the group box's band.
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  auto darkIn = [&](int y0, int y1) {
    int n = 0;
    for (int y = y0; y < y1 && y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint32_t p = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
        if (((p >> 16) & 0xFF) < 80 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80) ++n;
      }
    return n;
  };
  int top = h - 125 * 2;  // below the caption bar; dialog units are about 2 pixels high
  EXPECT_GT(darkIn(top + 20, top + 45), 20) << "the version line";
  cairo_surface_destroy(s);
  win::SetSnapshotFolder("");
}

}  // namespace
