// The common file dialogs (commdlg.h): the folder above a list of its
// matching files and a file name field. Typing a folder's name (or "..") and
// pressing OK goes there; a file's name ends the dialog. Open insists on an
// existing file; Save As asks before a file is replaced when told to.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "commdlg.h"
#include "dlgscript.h"
#include "paths.h"
#include "textconv.h"
#include "textutil.h"

namespace win {
namespace {

namespace fs = std::filesystem;

struct FileDialog {
  OPENFILENAMEW* ofn = nullptr;
  bool save = false;
  fs::path folder;
  std::vector<std::wstring> patterns;  // "*.dxf" ...
  std::wstring chosen;                 // full Windows path
};

std::vector<std::wstring> Patterns(LPCWSTR filter) {
  std::vector<std::wstring> out;
  if (!filter || !*filter) return out;
  // The filter is "name\0pattern\0..." pairs; the first pair's pattern
  // ("*.dxf;*.dwg") is what the dialog lists.
  std::wstring all(filter + wcslen(filter) + 1);
  size_t start = 0;
  while (start <= all.size()) {
    size_t semi = all.find(L';', start);
    std::wstring p(textutil::Trim(std::wstring_view(all).substr(start, semi == std::wstring::npos ? std::wstring::npos : semi - start)));
    if (!p.empty() && p != L"*.*" && p != L"*") out.push_back(textutil::FoldCase(p));
    if (semi == std::wstring::npos) break;
    start = semi + 1;
  }
  return out;
}

bool Matches(const FileDialog& d, const std::wstring& name) {
  if (d.patterns.empty()) return true;
  std::wstring lower = textutil::FoldCase(name);
  for (const std::wstring& p : d.patterns) {
    if (p.size() > 1 && p[0] == L'*' && lower.size() >= p.size() - 1 &&
        lower.compare(lower.size() - (p.size() - 1), p.size() - 1, p, 1) == 0)
      return true;
    if (p == lower) return true;
  }
  return false;
}

// Shows the folder and the list of its sub-folders and matching files.
void Refresh(HWND h, const FileDialog& d) {
  SetDlgItemTextW(h, IDC_FILEDLG_FOLDER, ToWindowsPath(d.folder.string()).c_str());
  std::vector<std::wstring> folders, files;
  std::error_code ec;
  for (fs::directory_iterator it(d.folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::wstring name = Utf8ToWide(it->path().filename().string());
    if (name.empty() || name[0] == L'.') continue;
    if (it->is_directory(ec)) folders.push_back(name + L"\\");
    else if (Matches(d, name)) files.push_back(name);
  }
  std::sort(folders.begin(), folders.end());
  std::sort(files.begin(), files.end());
  std::wstring list;
  size_t shown = 0;
  for (const auto* group : {&folders, &files})
    for (const std::wstring& n : *group) {
      if (shown++ == 16) {
        list += L"...\n";
        break;
      }
      list += n + L"\n";
    }
  SetDlgItemTextW(h, IDC_FILEDLG_LIST, list.empty() ? L"(no files)" : list.c_str());
}

// Takes what was typed: goes to a folder, or accepts a file (true).
bool Accept(HWND h, FileDialog& d) {
  wchar_t buf[1024] = {0};
  GetDlgItemTextW(h, IDC_FILEDLG_NAME, buf, 1024);
  std::wstring typed(textutil::Trim(std::wstring_view(buf)));
  if (typed.empty()) return false;
  bool absolute = typed[0] == L'/' || typed[0] == L'\\' || (typed.size() > 1 && typed[1] == L':');
  fs::path target = absolute ? fs::path(ToPosixPath(typed)) : d.folder / fs::path(ToPosixPath(typed));
  target = target.lexically_normal();
  std::error_code ec;
  if (fs::is_directory(target, ec)) {
    d.folder = target;
    SetDlgItemTextW(h, IDC_FILEDLG_NAME, L"");
    Refresh(h, d);
    return false;
  }
  if (!target.has_extension() && d.ofn->lpstrDefExt && *d.ofn->lpstrDefExt)
    target += "." + WideToUtf8(d.ofn->lpstrDefExt);
  bool exists = fs::exists(target, ec);
  std::wstring shown = ToWindowsPath(target.string());
  if (!d.save && !exists) {
    MessageBoxW(h, (shown + L"\nFile not found.\nCheck the file name and try again.").c_str(),
                d.ofn->lpstrTitle ? d.ofn->lpstrTitle : L"Open", MB_OK | MB_ICONWARNING);
    return false;
  }
  if (d.save && !fs::is_directory(target.parent_path(), ec)) {
    MessageBoxW(h, (shown + L"\nThe folder does not exist.").c_str(), d.ofn->lpstrTitle ? d.ofn->lpstrTitle : L"Save As",
                MB_OK | MB_ICONWARNING);
    return false;
  }
  if (d.save && exists && (d.ofn->Flags & OFN_OVERWRITEPROMPT) &&
      MessageBoxW(h, (shown + L" already exists.\nDo you want to replace it?").c_str(), L"Confirm Save As",
                  MB_YESNO | MB_ICONWARNING) != IDYES)
    return false;
  d.chosen = shown;
  return true;
}

INT_PTR CALLBACK FileDialogProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* d = reinterpret_cast<FileDialog*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (msg == WM_INITDIALOG) {
    d = reinterpret_cast<FileDialog*>(lParam);
    SetWindowLongPtrW(h, GWLP_USERDATA, lParam);
    if (d->ofn->lpstrFile && *d->ofn->lpstrFile) SetDlgItemTextW(h, IDC_FILEDLG_NAME, d->ofn->lpstrFile);
    Refresh(h, *d);
    return TRUE;
  }
  if (msg == WM_COMMAND && d && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      if (Accept(h, *d)) EndDialog(h, IDOK);
      return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      EndDialog(h, IDCANCEL);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL Run(LPOPENFILENAMEW ofn, bool save) {
  if (!ofn || !ofn->lpstrFile || ofn->nMaxFile == 0) return FALSE;
  FileDialog d;
  d.ofn = ofn;
  d.save = save;
  d.patterns = Patterns(ofn->lpstrFilter);
  std::error_code ec;
  d.folder = ofn->lpstrInitialDir && *ofn->lpstrInitialDir ? fs::path(ToPosixPath(ofn->lpstrInitialDir))
                                                            : fs::current_path(ec);
  DialogResource r;
  r.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  r.caption = ofn->lpstrTitle ? ofn->lpstrTitle : save ? L"Save As" : L"Open";
  r.cx = 260;
  r.cy = 190;
  r.items = {
      {L"Static", L"", IDC_FILEDLG_FOLDER, 7, 7, 246, 10, SS_NOPREFIX | SS_LEFT, 0},
      {L"Static", L"", IDC_FILEDLG_LIST, 7, 20, 246, 134, SS_NOPREFIX | SS_LEFT, WS_EX_CLIENTEDGE},
      {L"Static", L"File &name:", -1, 7, 160, 40, 10, SS_LEFT, 0},
      {L"Edit", L"", IDC_FILEDLG_NAME, 50, 158, 203, 12, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0},
      {L"Button", save ? L"&Save" : L"&Open", IDOK, 149, 174, 50, 14, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {L"Button", L"Cancel", IDCANCEL, 203, 174, 50, 14, WS_TABSTOP | BS_PUSHBUTTON, 0},
  };
  HWND h = CreateDialogFromTemplate(r, ofn->hInstance, ofn->hwndOwner, FileDialogProc, reinterpret_cast<LPARAM>(&d));
  if (!h) return FALSE;
  if (RunModalLoop(h) != IDOK || d.chosen.empty()) return FALSE;
  if (d.chosen.size() + 1 > ofn->nMaxFile) return FALSE;
  wcscpy(ofn->lpstrFile, d.chosen.c_str());
  size_t slash = d.chosen.find_last_of(L'\\');
  size_t dot = d.chosen.find_last_of(L'.');
  ofn->nFileOffset = static_cast<WORD>(slash == std::wstring::npos ? 0 : slash + 1);
  ofn->nFileExtension = static_cast<WORD>(dot == std::wstring::npos || dot < ofn->nFileOffset ? 0 : dot + 1);
  return TRUE;
}

}  // namespace
}  // namespace win

BOOL GetOpenFileNameW(LPOPENFILENAMEW ofn) { return win::Run(ofn, false); }
BOOL GetSaveFileNameW(LPOPENFILENAMEW ofn) { return win::Run(ofn, true); }
