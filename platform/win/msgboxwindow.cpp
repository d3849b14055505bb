// The message box a person sees on a display: a dialog with the text and a
// row of buttons, run modally; the window line interpreter's twin for the
// headless message box of msgbox.cpp.
#include <algorithm>

#include "dlgscript.h"
#include "msgboxwindow.h"

namespace win {
namespace {

const wchar_t* ButtonLabel(int id) {
  switch (id) {
    case IDOK: return L"OK";
    case IDCANCEL: return L"Cancel";
    case IDABORT: return L"&Abort";
    case IDRETRY: return L"&Retry";
    case IDIGNORE: return L"&Ignore";
    case IDYES: return L"&Yes";
    case IDNO: return L"&No";
    case IDCLOSE: return L"&Close";
    default: return L"?";
  }
}

INT_PTR CALLBACK BoxProc(HWND h, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    int id = LOWORD(wParam);
    // Esc and the close box answer Cancel only where the box has it, else
    // OK on a box whose one button is OK; other boxes keep waiting.
    if (id == IDCANCEL && !GetDlgItem(h, IDCANCEL)) {
      if (!GetDlgItem(h, IDOK) || GetDlgItem(h, IDNO) || GetDlgItem(h, IDRETRY)) return TRUE;
      id = IDOK;
    }
    EndDialog(h, id);
    return TRUE;
  }
  return FALSE;
}

// The text's size in dialog units, lines counted at their breaks.
void TextSize(const std::wstring& text, int& cx, int& cy) {
  int lines = 1, longest = 0, run = 0;
  for (wchar_t c : text) {
    if (c == L'\n') {
      ++lines;
      longest = std::max(longest, run);
      run = 0;
    } else if (c != L'\r') {
      // Wide (CJK) characters take about two average widths.
      run += c >= 0x2E80 ? 2 : 1;
    }
  }
  longest = std::max(longest, run);
  cx = std::clamp(longest * 4 + 8, 80, 320);
  cy = std::max(1, lines + longest * 4 / 320) * 9 + 4;
}

}  // namespace

DialogResource MessageBoxTemplate(const std::wstring& caption, const std::wstring& text, const std::vector<int>& buttons,
                                  int defaultButton) {
  DialogResource r;
  r.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  r.caption = caption;
  int textCx = 0, textCy = 0;
  TextSize(text, textCx, textCy);
  const short bw = 50, bh = 14, gap = 6;
  int row = static_cast<int>(buttons.size()) * (bw + gap) - gap;
  r.cx = static_cast<short>(std::max(textCx + 14, row + 14));
  r.cy = static_cast<short>(textCy + bh + 24);
  r.items.push_back({L"Static", text, -1, 7, 7, static_cast<short>(r.cx - 14), static_cast<short>(textCy), SS_LEFT, 0});
  short x = static_cast<short>((r.cx - row) / 2);
  for (int id : buttons) {
    DWORD style = WS_TABSTOP | (id == defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    r.items.push_back({L"Button", ButtonLabel(id), id, x, static_cast<short>(r.cy - bh - 7), bw, bh, style, 0});
    x = static_cast<short>(x + bw + gap);
  }
  return r;
}

int ShowMessageBoxWindow(HWND owner, const std::wstring& caption, const std::wstring& text, const std::vector<int>& buttons,
                         int defaultButton) {
  DialogResource r = MessageBoxTemplate(caption, text, buttons, defaultButton);
  HWND box = CreateDialogFromTemplate(r, nullptr, owner, BoxProc, 0);
  if (!box) return defaultButton;
  if (HWND def = GetDlgItem(box, defaultButton)) SetFocus(def);
  INT_PTR answer = RunModalLoop(box);
  return std::find(buttons.begin(), buttons.end(), static_cast<int>(answer)) != buttons.end() ? static_cast<int>(answer)
                                                                                            : defaultButton;
}

}  // namespace win
