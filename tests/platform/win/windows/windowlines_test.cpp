// The window lines that look into controls: @print on the built-in kinds, on
// a control that answers for itself and on one that cannot say; @cell through
// a control that knows where its cells are.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dlgscript.h"
#include "scriptprobe.h"
#include "wintest.h"

namespace {

constexpr UINT IDD_PROBE = 520;
constexpr int IDC_EDIT = 1100, IDC_LABEL = 1101, IDC_NET = 1102, IDC_NAME = 1103, IDC_CHECK = 1104, IDC_GRID = 1105,
              IDC_LIST = 1106, IDC_SILENT = 1107, IDC_OFF = 1108;

const win::ResourceTable kResources{
    {win::DialogResource{IDD_PROBE,
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                         0, 0, 0, 220, 160, L"探查", L"Tahoma", 8,
                         {{L"Edit", L"", IDC_EDIT, 7, 7, 60, 12, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
                          {L"Static", L"数量 ", IDC_LABEL, 70, 9, 40, 8, SS_LEFT, 0},
                          {L"ComboBox", L"", IDC_NET, 7, 25, 60, 80, CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, 0},
                          {L"ComboBox", L"", IDC_NAME, 70, 25, 60, 80, CBS_DROPDOWN | WS_TABSTOP, 0},
                          {L"Button", L"显示", IDC_CHECK, 140, 7, 50, 12, BS_AUTOCHECKBOX | WS_TABSTOP, 0},
                          {L"ProbeGrid", L"", IDC_GRID, 7, 45, 80, 60, WS_TABSTOP, 0},
                          {L"ListBox", L"", IDC_LIST, 100, 45, 60, 40, WS_TABSTOP, 0},
                          {L"ProbeSilent", L"", IDC_SILENT, 100, 90, 60, 12, 0, 0},
                          {L"Edit", L"灰", IDC_OFF, 170, 90, 40, 12, WS_DISABLED, 0},
                          {L"Button", L"确定", IDOK, 80, 140, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, 0}}}}};

// What the grid heard of the mouse: "down x,y", "up x,y", "dbl x,y".
std::vector<std::string> g_gridMouse;

// A grid of 3 rows and 2 columns, 40 x 20 pixels a cell, that knows its cells.
LRESULT CALLBACK GridProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto at = [&] { return std::to_string(GET_X_LPARAM(lParam)) + "," + std::to_string(GET_Y_LPARAM(lParam)); };
  switch (msg) {
    case WM_SCRIPT_CELLPOINT: {
      int row = static_cast<int>(wParam), col = static_cast<int>(lParam);
      if (row >= 3 || col >= 2) return -1;
      return MAKELRESULT(col * 40 + 20, row * 20 + 10);
    }
    case WM_SCRIPT_PRINT: {
      auto* lines = reinterpret_cast<win::ScriptPrintLines*>(lParam);
      lines->emplace_back(L"", L"3 x 2");
      for (int r = 0; r < 3; ++r) lines->emplace_back(L"row " + std::to_wstring(r), L"a | b");
      return TRUE;
    }
    case WM_LBUTTONDOWN: g_gridMouse.push_back("down " + at()); return 0;
    case WM_LBUTTONUP: g_gridMouse.push_back("up " + at()); return 0;
    case WM_LBUTTONDBLCLK: g_gridMouse.push_back("dbl " + at()); return 0;
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

// A list box as far as @print asks one: three items, the second chosen.
LRESULT CALLBACK ListProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  static const wchar_t* const items[] = {L"一", L"二", L"三"};
  switch (msg) {
    case LB_GETCOUNT: return 3;
    case LB_GETCURSEL: return 1;
    case LB_GETTEXTLEN: return wParam < 3 ? static_cast<LRESULT>(wcslen(items[wParam])) : LB_ERR;
    case LB_GETTEXT:
      if (wParam >= 3) return LB_ERR;
      wcscpy(reinterpret_cast<wchar_t*>(lParam), items[wParam]);
      return static_cast<LRESULT>(wcslen(items[wParam]));
    default: return DefWindowProcW(h, msg, wParam, lParam);
  }
}

INT_PTR CALLBACK ProbeDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) {
    for (const wchar_t* net : {L"WCDMA", L"GSM", L"CDMA"}) SendDlgItemMessageW(dlg, IDC_NET, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(net));
    for (const wchar_t* name : {L"甲", L"乙"}) SendDlgItemMessageW(dlg, IDC_NAME, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    return TRUE;
  }
  if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dlg, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void RegisterProbeClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::pair<const wchar_t*, WNDPROC> classes[] = {
      {L"ProbeGrid", GridProc}, {L"ListBox", ListProc}, {L"ProbeSilent", DefWindowProcW}};
  for (auto [name, proc] : classes) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    RegisterClassW(&wc);
  }
}

TEST(WindowLines, PrintShowsWhatEachKindOfControlHolds) {
  RegisterProbeClasses();
  wintest::Transcript t;
  wintest::Script({"@text 1100 \"42 m\"", "@select 1102 GSM", "@text 1103 丙", "@print 1100",
                   "@print 1101", "@print 1102", "@print 1103", "@print 1104", "@print 1105", "@print 1106",
                   "@print 1107", "@print 1108", "@print 4242", "@key ESC"});
  EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_PROBE), nullptr, ProbeDlgProc, 0), IDCANCEL);
  EXPECT_EQ(t.Text(),
            "[print 1100] 42 m\n"
            "[print 1101] 数量 \n"  // as held: the blank stays
            "[print 1102] GSM\n"
            "[print 1102 item 0] CDMA\n"
            "[print 1102 item 1] GSM\n"
            "[print 1102 item 2] WCDMA\n"
            "[print 1103] 丙\n"  // the edit field's text, which is no item
            "[print 1103 item 0] 甲\n"
            "[print 1103 item 1] 乙\n"
            "[print 1104] 显示\n"
            "[print 1105] 3 x 2\n"
            "[print 1105 row 0] a | b\n"
            "[print 1105 row 1] a | b\n"
            "[print 1105 row 2] a | b\n"
            "[print 1106] 二\n"
            "[print 1106 item 0] 一\n"
            "[print 1106 item 1] 二\n"
            "[print 1106 item 2] 三\n"
            "window input refused: @print 1107 (the control does not say what it holds)\n"
            "[print 1108] 灰\n"  // a disabled control can be read
            "window input refused: @print 4242 (no control 4242)\n");
}

TEST(WindowLines, CellClicksTheCentreTheControlNames) {
  RegisterProbeClasses();
  g_gridMouse.clear();
  wintest::Transcript t;
  wintest::Script({"@cell 1105 2 1", "@cell 1105 0 0 DBL", "@cell 1105 3 0", "@cell 1105 1", "@cell 1105 0 0 twice",
                   "@cell 1101 0 0", "@cell 1108 0 0", "@key ESC"});
  DialogBoxParamW(nullptr, MAKEINTRESOURCEW(IDD_PROBE), nullptr, ProbeDlgProc, 0);
  EXPECT_EQ((std::vector<std::string>{"down 60,50", "up 60,50", "down 20,10", "up 20,10", "dbl 20,10", "up 20,10"}),
            g_gridMouse);
  EXPECT_EQ(t.Text(),
            "window input refused: @cell 1105 3 0 (no such cell)\n"
            "window input refused: @cell 1105 1 (needs a row and a column)\n"
            "window input refused: @cell 1105 0 0 twice (only dbl may follow the column)\n"
            "window input refused: @cell 1101 0 0 (control 1101 has no cells)\n"
            "window input refused: @cell 1108 0 0 (control 1108 is hidden or disabled)\n");
}

}  // namespace
