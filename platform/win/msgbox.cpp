// Message boxes: without a display no window is shown; the box takes its
// answer from the script (@answer, or @close and ^C for Esc) or its default
// button. On a display a person answers the box (msgboxwindow.cpp). Either
// way "[title] text {BUTTONS} -> ANSWER" goes to the transcript.
#include <algorithm>
#include <string>
#include <vector>

#include "dlgimpl.h"
#include "dlgscript.h"
#include "msgboxwindow.h"
#include "script.h"
#include "textconv.h"
#include "textutil.h"
#include "transcript.h"
#include "wndbackend.h"

namespace win {
namespace {

const char* ButtonName(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "CANCEL";
    case IDABORT: return "ABORT";
    case IDRETRY: return "RETRY";
    case IDIGNORE: return "IGNORE";
    case IDYES: return "YES";
    case IDNO: return "NO";
    case IDCLOSE: return "CLOSE";
    default: return "?";
  }
}

}  // namespace

int ScriptedMessageBox(const std::wstring& caption, const std::wstring& text, const std::vector<int>& buttons,
                       int defaultButton) {
  int answer = defaultButton;
  std::optional<std::string> next;
  if (wnd::GetBackend()) answer = ShowMessageBoxWindow(GetActiveWindow(), caption, text, buttons, defaultButton);
  else next = user::Script::Instance().Peek();
  if (next) {
    std::string l(textutil::Trim(*next));
    if (textutil::StartsWithNoCase(l, "@answer")) {
      user::Script::Instance().Next();
      std::string name = textutil::Upper(textutil::Trim(std::string_view(l).substr(7)));
      bool found = false;
      for (int b : buttons)
        if (name == ButtonName(b)) {
          answer = b;
          found = true;
        }
      if (!found) dlg::RefuseLine(l, "the message box has no such button");
    } else if (textutil::EqualNoCase(l, "@close") || textutil::EqualNoCase(l, "^c")) {
      // Esc and the close box: Cancel where there is one, OK on a box with
      // only OK; other boxes cannot be closed that way and keep waiting.
      user::Script::Instance().Next();
      if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) answer = IDCANCEL;
      else if (buttons.size() == 1 && buttons[0] == IDOK) answer = IDOK;
    }
  }
  // The text without the line breaks and blanks around it.
  std::string t(textutil::Trim(WideToUtf8(text)));
  std::string names;
  for (int btn : buttons) names += std::string(names.empty() ? "" : " ") + ButtonName(btn);
  user::WriteLine("[" + WideToUtf8(caption) + "] " + t + " {" + names + "} -> " + ButtonName(answer));
  return answer;
}

}  // namespace win

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
  std::vector<int> buttons;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: buttons = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: buttons = {IDRETRY, IDCANCEL}; break;
    default: buttons = {IDOK}; break;
  }
  size_t def = ((type & MB_DEFMASK) >> 8);
  if (def >= buttons.size()) def = 0;
  return win::ScriptedMessageBox(caption ? caption : L"错误", text ? text : L"", buttons, buttons[def]);
}
