// acedGrRead: the drawing window's pointer and keyboard from the script's
// @drag, @pick, @rclick and @type lines.
#include "acedgr.h"

#include <deque>
#include <optional>
#include <string>

#include "acedpointer.h"
#include "acutprint.h"
#include "edprompt.h"
#include "script.h"
#include "textconv.h"
#include "transcript.h"

namespace {

std::deque<int>& Pending() {
  static std::deque<int> pending;
  return pending;
}

void SetPoint(resbuf* result, const ads_point p) {
  result->restype = RT3DPOINT;
  for (int i = 0; i < 3; ++i) result->resval.rpoint[i] = p[i];
}

void SetShort(resbuf* result, int value) {
  result->restype = RTSHORT;
  result->resval.rint = static_cast<short>(value);
}

}  // namespace

namespace acad {
void ResetGrRead() { Pending().clear(); }
}  // namespace acad

int acedGrRead(int track, int* type, resbuf* result) {
  if (!type || !result) return RTERROR;
  acad::PointerRequestScope pointer(acad::PointerWants::kTracking, nullptr, (track & 1) != 0);
  for (;;) {
    if (!Pending().empty()) {
      *type = GRREAD_KEYBOARD;
      SetShort(result, Pending().front());
      Pending().pop_front();
      return RTNORM;
    }
    std::optional<std::string> line = user::Script::Instance().Next();
    if (!line || *line == "^C") {
      user::Write("*Cancel*\n");
      return RTCAN;
    }
    user::Write(*line + "\n");
    std::wstring text = win::Utf8ToWide(*line);
    size_t blank = text.find(L' ');
    std::wstring verb = text.substr(0, blank);
    std::wstring rest = blank == std::wstring::npos ? L"" : text.substr(blank + 1);
    if (verb == L"@type") {
      // "@type 12" is the characters only; Enter is an empty "@type".
      if (rest.empty()) Pending().push_back(13);
      for (wchar_t c : rest) Pending().push_back(static_cast<int>(c));
      continue;
    }
    if (verb == L"@rclick") {
      *type = GRREAD_RCLICK;
      SetShort(result, 0);
      return RTNORM;
    }
    if (verb == L"@drag" || verb == L"@pick") {
      ads_point base = {0, 0, 0}, p;
      acad::GetLastPoint(base);
      while (!rest.empty() && rest.front() == L' ') rest.erase(0, 1);
      if (!acad::ParsePoint(rest.c_str(), base, p)) {
        acutPrintf(L"\nInvalid point.\n");
        continue;
      }
      if (verb == L"@drag" && !(track & 1)) continue;
      *type = verb == L"@drag" ? GRREAD_DRAG : GRREAD_PICK;
      SetPoint(result, p);
      return RTNORM;
    }
    acutPrintf(L"\nThe drawing window takes @drag, @pick, @rclick or @type.\n");
  }
}
