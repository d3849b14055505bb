// The launcher's resources: the dialog template and the application icon,
// as tables in its code.
#include <cmath>
#include <cstdint>
#include <vector>

#include "resource.h"
#include "resourcetable.h"

namespace {

// Icon 128, 32x32: three rising signal bars in white on a blue disc with an
// orange rim, the product's mark.
std::vector<uint32_t> MakeIcon() {
  const int n = 32;
  std::vector<uint32_t> pixels(static_cast<size_t>(n) * n, 0x00000000u);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      double dx = x + 0.5 - n / 2.0, dy = y + 0.5 - n / 2.0;
      double r = std::sqrt(dx * dx + dy * dy);
      uint32_t& p = pixels[static_cast<size_t>(y) * n + x];
      if (r <= 13.5) p = 0xFF1F5FAFu;          // the disc
      else if (r <= 15.5) p = 0xFFF08A24u;     // the rim
    }
  }
  // Bars 4 pixels wide from the baseline y = 23, heights 6, 10 and 14.
  const int lefts[] = {8, 14, 20};
  const int heights[] = {6, 10, 14};
  for (int b = 0; b < 3; ++b)
    for (int y = 23 - heights[b]; y < 23; ++y)
      for (int x = lefts[b]; x < lefts[b] + 4; ++x) pixels[static_cast<size_t>(y) * n + x] = 0xFFFFFFFFu;
  return pixels;
}

const win::ResourceTable kLauncherResources{
    {win::DialogResource{IDD_KX_DIALOG,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
                         WS_EX_APPWINDOW, 0, 0, 186, 83, MARLO_LAUNCHER_CAPTION, L"宋体", 9,
                         {{L"Static", L"CAD版本：", -1, 25, 23, 39, 8, SS_LEFT, 0},
                          {L"ComboBox", L"", IDC_CMB_VERSION, 65, 21, 90, 12,
                           CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 0},
                          {L"Button", L"登 入", IDOK, 35, 49, 50, 19, BS_DEFPUSHBUTTON | WS_TABSTOP, 0},
                          {L"Button", L"退 出", IDCANCEL, 100, 49, 50, 19, BS_PUSHBUTTON | WS_TABSTOP, 0}}}},
    {},
    {win::ImageResource{IDR_MAINFRAME, IMAGE_ICON, nullptr, 0, 32, 32, MakeIcon()}}};

}  // namespace

HINSTANCE LauncherResourceInstance() { return kLauncherResources.Instance(); }
