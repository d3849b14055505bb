// Snapshots: the PNG of a dialog shows its caption and its controls' text.
#include <cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "afxwin.h"
#include "dlgscript.h"
#include "wintest.h"

namespace {

constexpr UINT IDD_SNAP = 600;

const win::ResourceTable kSnapResources{
    {win::DialogResource{IDD_SNAP,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 186, 125, L"关于", L"Tahoma", 8,
                         {{L"Static", L"电平测试 V1.0.0.1", 114, 51, 12, 83, 8, SS_LEFT, 0},
                          {L"Button", L"联系方式", 115, 7, 56, 172, 38, BS_GROUPBOX, 0},
                          {L"Static", L"", 116, 53, 67, 89, 8, SS_LEFT, 0},
                          {L"Button", L"确定", IDOK, 67, 102, 50, 16, BS_DEFPUSHBUTTON | WS_TABSTOP, 0}}}}};

struct Png {
  cairo_surface_t* s = nullptr;
  explicit Png(const std::string& path) : s(cairo_image_surface_create_from_png(path.c_str())) {}
  ~Png() { cairo_surface_destroy(s); }
  Png(const Png&) = delete;
  Png& operator=(const Png&) = delete;
  bool Ok() const { return cairo_surface_status(s) == CAIRO_STATUS_SUCCESS; }
  int Width() const { return cairo_image_surface_get_width(s); }
  int Height() const { return cairo_image_surface_get_height(s); }
  uint32_t At(int x, int y) const {
    return *reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) + y * cairo_image_surface_get_stride(s) + x * 4) &
           0xFFFFFF;
  }
  // Pixels darker than mid grey inside the rectangle.
  int Dark(const RECT& r) const {
    int n = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, Height()); ++y)
      for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, Width()); ++x) {
        uint32_t p = At(x, y);
        n += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 100;
      }
    return n;
  }
};

class SnapshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir = std::filesystem::temp_directory_path() / ("winsnap_" + std::to_string(::getpid()));
    win::SetSnapshotFolder(m_dir.string());
  }
  void TearDown() override {
    win::SetSnapshotFolder("");
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
  }
  std::filesystem::path m_dir;
};

TEST_F(SnapshotTest, PixelsShowTheDialogsTextAndFrame) {
  wintest::Transcript transcript;
  wintest::Script({"@snapshot about.png", "@snapshot version.png 114", "@snapshot empty.png 116", ""});
  RECT versionInDialog{};
  struct CProbe : CDialog {
    using CDialog::CDialog;
    RECT* m_pOut = nullptr;
    BOOL OnInitDialog() override {
      CDialog::OnInitDialog();
      CRect r, w;
      GetDlgItem(114)->GetWindowRect(&r);
      GetWindowRect(&w);
      r.OffsetRect(-w.left, -w.top);
      *m_pOut = r;
      return TRUE;
    }
  } probe(IDD_SNAP);
  probe.m_pOut = &versionInDialog;
  EXPECT_EQ(probe.DoModal(), IDOK);
  EXPECT_EQ(transcript.Text(), "");

  Png whole((m_dir / "about.png").string());
  ASSERT_TRUE(whole.Ok());
  SIZE base = win::DialogBaseUnits(nullptr);
  EXPECT_GT(whole.Width(), MulDiv(186, base.cx, 4));
  // The caption bar is dark blue, with white title text in it.
  int blue = 0;
  for (int x = 5; x < whole.Width() - 5; ++x) blue += whole.At(x, 12) == 0x0A246A;
  EXPECT_GT(blue, whole.Width() / 2);
  // The version line's rectangle holds dark text; a rectangle of the face does not.
  EXPECT_GT(whole.Dark(versionInDialog), 30);
  RECT face{versionInDialog.left, versionInDialog.bottom + 4, versionInDialog.right, versionInDialog.bottom + 20};
  EXPECT_EQ(whole.Dark(face), 0);

  Png version((m_dir / "version.png").string());
  ASSERT_TRUE(version.Ok());
  EXPECT_EQ(version.Width(), versionInDialog.right - versionInDialog.left);
  EXPECT_GT(version.Dark(RECT{0, 0, version.Width(), version.Height()}), 30);
  Png empty((m_dir / "empty.png").string());
  ASSERT_TRUE(empty.Ok());
  EXPECT_EQ(empty.Dark(RECT{0, 0, empty.Width(), empty.Height()}), 0) << "a static without text shows no ink";
}

}  // namespace
