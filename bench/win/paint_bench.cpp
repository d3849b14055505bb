// Painting a dialog of the drive-test dialog's size with 50 controls into its
// surface: frames per second.
#include <benchmark/benchmark.h>

#include "dlgscript.h"
#include "wndimpl.h"

namespace {

win::DialogResource MakeTemplate() {
  win::DialogResource t;
  t.id = 900;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
  t.cx = 560;
  t.cy = 380;
  t.caption = L"路测模拟";
  t.fontFace = L"宋体";
  t.pointSize = 9;
  int id = 1000;
  for (int row = 0; row < 10; ++row) {
    short y = static_cast<short>(10 + row * 22);
    t.items.push_back({L"Static", L"测量类型 " + std::to_wstring(row), id++, 10, y, 60, 10, SS_LEFT, 0});
    t.items.push_back({L"Edit", std::to_wstring(row * 100), id++, 75, y, 60, 12, ES_NUMBER | WS_TABSTOP, WS_EX_CLIENTEDGE});
    t.items.push_back({L"ComboBox", L"", id++, 140, y, 70, 80, CBS_DROPDOWNLIST | WS_TABSTOP, 0});
    t.items.push_back({L"Button", L"应用", id++, 215, y, 45, 14, BS_PUSHBUTTON | WS_TABSTOP, 0});
    t.items.push_back({L"Button", L"选中", id++, 265, y, 50, 12, BS_AUTOCHECKBOX | WS_TABSTOP, 0});
  }
  t.items.push_back({L"Button", L"预览", id++, 320, 5, 230, 230, BS_GROUPBOX, 0});
  return t;
}

void BM_PaintDialog(benchmark::State& state) {
  win::DialogResource t = MakeTemplate();
  HWND dlg = win::CreateDialogFromTemplate(t, nullptr, nullptr, nullptr, 0);
  if (!dlg) {
    state.SkipWithError("dialog not made");
    return;
  }
  for (int i = 1000; i < 1050; i += 5) ::SendDlgItemMessageW(dlg, i + 2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"GSM"));
  for (auto _ : state) {
    ::InvalidateRect(dlg, nullptr, TRUE);
    win::wnd::PaintTree(dlg);
  }
  state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  ::DestroyWindow(dlg);
}
BENCHMARK(BM_PaintDialog)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
