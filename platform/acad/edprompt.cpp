// The editor's prompts (points, corners, texts, numbers, keywords) answered by
// the script's lines, and the last point.
#include "edprompt.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "acedpointer.h"
#include "acedcmdline.h"
#include "acutprint.h"
#include "edcmdstack.h"
#include "adscodes.h"
#include "script.h"
#include "textconv.h"
#include "textutil.h"
#include "transcript.h"

namespace {

void CopyPoint(const ads_point from, ads_point to) {
  for (int i = 0; i < 3; ++i) to[i] = from[i];
}

struct PromptState {
  int initFlags = 0;
  std::vector<std::wstring> keywords;  // from acedInitGet, for the next prompt only
  std::wstring lastInput;              // behind the last RTKWORD
  ads_point lastPoint = {0, 0, 0};
};

PromptState& State() {
  static PromptState state;
  return state;
}

// Takes the prompt's settings from acedInitGet; they last for one prompt.
struct OnePrompt {
  int flags;
  std::vector<std::wstring> keywords;
  OnePrompt() : flags(State().initFlags), keywords(std::move(State().keywords)) {
    State().initFlags = 0;
    State().keywords.clear();
  }
};

using win::textutil::Upper;

using win::textutil::Trimmed;

// An answer "'NAME" that names a registered command runs it inside the
// prompt when it is transparent (then the prompt is asked again); any other
// command is refused with the host's line. False when the answer names no
// command, so that it stays an ordinary answer.
bool RunTransparentCommand(const std::wstring& text) {
  if (text.size() < 2 || text[0] != L'\'') return false;
  const AcEdCommand* command = acedRegCmds->lookupCmd(text.c_str() + 1);
  if (!command) return false;
  if (!(command->commandFlags() & ACRX_CMD_TRANSPARENT)) {
    acutPrintf(L"\n** That command may not be invoked transparently **\n");
    return true;
  }
  command->functionAddr()();
  acutPrintf(L"\nResuming the command.\n");
  return true;
}

// Shows the prompt and takes the next line. nullopt is Esc or the end.
std::optional<std::wstring> Ask(const ACHAR* prompt) {
  std::optional<std::string> line;
  for (;;) {
    user::WriteText(win::WideToUtf8(prompt ? prompt : L""));
    // Words typed into the command line (a menu macro) answer before the script.
    line = acad::NextCommandLineInput();
    if (!line || *line == "^C") {
      user::Write("*Cancel*\n");
      return std::nullopt;
    }
    user::Write(*line + "\n");
    if (!RunTransparentCommand(Trimmed(win::Utf8ToWide(*line)))) break;
  }
  // A value with blanks may be written between double quotes.
  return std::wstring(win::textutil::Unquote(Trimmed(win::Utf8ToWide(*line))));
}

// The keyword the input names: the whole keyword or any prefix at least as
// long as its capitalised abbreviation ("LType": "LT", "lty", "ltype").
std::optional<std::wstring> MatchKeyword(const std::wstring& input, const std::vector<std::wstring>& keywords) {
  if (input.empty()) return std::nullopt;
  std::wstring in = Upper(input);
  for (const std::wstring& kw : keywords) {
    size_t abbrev = 0;
    while (abbrev < kw.size() && std::iswupper(kw[abbrev])) ++abbrev;
    if (abbrev == 0) abbrev = kw.size();
    std::wstring up = Upper(kw);
    if (in.size() >= abbrev && in.size() <= up.size() && up.compare(0, in.size(), in) == 0) return kw;
  }
  return std::nullopt;
}

void CopyOut(const std::wstring& text, ACHAR* result, size_t bufLen) {
  if (!result || bufLen == 0) return;
  size_t n = std::min(text.size(), bufLen - 1);
  std::wmemcpy(result, text.data(), n);
  result[n] = 0;
}

bool ParseNumber(const std::wstring& text, double& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  errno = 0;
  value = std::wcstod(text.c_str(), &end);
  return errno == 0 && end && *end == 0 && std::isfinite(value);
}

// What a prompt does with keywords and an empty answer; 0 to go on parsing.
int KeywordOrNone(const OnePrompt& p, const std::wstring& text) {
  if (auto kw = MatchKeyword(text, p.keywords)) {
    State().lastInput = *kw;
    return RTKWORD;
  }
  if (text.empty() && !(p.flags & RSG_NONULL)) return RTNONE;
  return 0;
}

int GetPointImpl(const ads_point base, const ACHAR* prompt, ads_point result) {
  OnePrompt p;
  for (;;) {
    std::optional<std::wstring> answer = Ask(prompt);
    if (!answer) return RTCAN;
    if (int r = KeywordOrNone(p, *answer)) return r;
    ads_point from = {0, 0, 0};
    acad::GetLastPoint(from);
    if (base) CopyPoint(base, from);
    if (!answer->empty() && acad::ParsePoint(answer->c_str(), from, result)) {
      acad::SetLastPoint(result);
      return RTNORM;
    }
    if (p.flags & RSG_OTHER && !answer->empty()) {
      State().lastInput = *answer;
      return RTKWORD;
    }
    acutPrintf(answer->empty() ? L"\nRequires a point.\n" : L"\nInvalid point.\n");
  }
}

}  // namespace

namespace acad {

void SetLastPoint(const ads_point pt) { CopyPoint(pt, State().lastPoint); }
void GetLastPoint(ads_point pt) { CopyPoint(State().lastPoint, pt); }

bool ParsePoint(const wchar_t* text, const ads_point base, ads_point result) {
  if (!text) return false;
  std::wstring s = Trimmed(text);
  bool relative = !s.empty() && s[0] == L'@';
  if (relative) s = Trimmed(s.substr(1));
  std::vector<double> v;
  size_t start = 0;
  for (;;) {
    size_t comma = s.find(L',', start);
    double d;
    if (!ParseNumber(Trimmed(s.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start)), d))
      return false;
    v.push_back(d);
    if (comma == std::wstring::npos) break;
    start = comma + 1;
  }
  if (v.size() < 2 || v.size() > 3) return false;
  if (v.size() == 2) v.push_back(relative ? 0.0 : (base ? base[2] : 0.0));
  for (int i = 0; i < 3; ++i) result[i] = relative && base ? base[i] + v[i] : v[i];
  return true;
}

}  // namespace acad

int acedInitGet(int val, const ACHAR* kwl) {
  State().initFlags = val;
  State().keywords.clear();
  if (kwl) {
    std::wstring list(kwl);
    // Local keywords come before an underscore that starts the global ones.
    size_t underscore = list.find(L'_');
    if (underscore != std::wstring::npos) list = list.substr(0, underscore);
    size_t pos = 0;
    while (pos < list.size()) {
      size_t b = list.find_first_not_of(L" ", pos);
      if (b == std::wstring::npos) break;
      size_t e = list.find(L' ', b);
      State().keywords.push_back(list.substr(b, e == std::wstring::npos ? std::wstring::npos : e - b));
      pos = e == std::wstring::npos ? list.size() : e;
    }
  }
  return RTNORM;
}

int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result) {
  acad::PointerRequestScope pointer(acad::PointerWants::kPoint, pt);
  return GetPointImpl(pt, prompt, result);
}

int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result) {
  if (!pt) return RTERROR;
  acad::PointerRequestScope pointer(acad::PointerWants::kCorner, pt);
  return GetPointImpl(pt, prompt, result);
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen) {
  OnePrompt p;
  std::optional<std::wstring> answer = Ask(prompt);
  if (!answer) return RTCAN;
  std::wstring text = *answer;
  // Without cronly a blank ends the text, as the space bar does.
  if (!cronly) text = text.substr(0, text.find(L' '));
  if (text.size() >= bufLen) {
    CopyOut(text, result, bufLen);
    return RTINPUTTRUNCATED;
  }
  CopyOut(text, result, bufLen);
  return RTNORM;
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result) { return acedGetString(cronly, prompt, result, 133); }

int acedGetInt(const ACHAR* prompt, int* result) {
  OnePrompt p;
  for (;;) {
    std::optional<std::wstring> answer = Ask(prompt);
    if (!answer) return RTCAN;
    if (int r = KeywordOrNone(p, *answer)) return r;
    double d;
    if (ParseNumber(*answer, d) && d == std::floor(d) && d >= -32768 && d <= 32767) {
      int n = static_cast<int>(d);
      if ((p.flags & RSG_NOZERO) && n == 0) acutPrintf(L"\nValue must be nonzero.\n");
      else if ((p.flags & RSG_NONEG) && n < 0) acutPrintf(L"\nValue must be positive.\n");
      else {
        if (result) *result = n;
        return RTNORM;
      }
    } else {
      acutPrintf(L"\nRequires an integer between -32768 and 32767.\n");
    }
  }
}

int acedGetReal(const ACHAR* prompt, ads_real* result) {
  OnePrompt p;
  for (;;) {
    std::optional<std::wstring> answer = Ask(prompt);
    if (!answer) return RTCAN;
    if (int r = KeywordOrNone(p, *answer)) return r;
    double d;
    if (ParseNumber(*answer, d)) {
      if ((p.flags & RSG_NOZERO) && d == 0) acutPrintf(L"\nValue must be nonzero.\n");
      else if ((p.flags & RSG_NONEG) && d < 0) acutPrintf(L"\nValue must be positive.\n");
      else {
        if (result) *result = d;
        return RTNORM;
      }
    } else {
      acutPrintf(L"\nRequires numeric value.\n");
    }
  }
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufLen) {
  OnePrompt p;
  for (;;) {
    std::optional<std::wstring> answer = Ask(prompt);
    if (!answer) return RTCAN;
    if (answer->empty() && !(p.flags & RSG_NONULL)) {
      CopyOut(L"", result, bufLen);
      return RTNONE;
    }
    if (auto kw = MatchKeyword(*answer, p.keywords)) {
      CopyOut(*kw, result, bufLen);
      return RTNORM;
    }
    if ((p.flags & RSG_OTHER) && !answer->empty()) {
      CopyOut(*answer, result, bufLen);
      return RTNORM;
    }
    acutPrintf(L"\nInvalid option keyword.\n");
  }
}

int acedGetKword(const ACHAR* prompt, ACHAR* result) { return acedGetKword(prompt, result, 133); }

int acedGetInput(ACHAR* result, size_t bufLen) {
  CopyOut(State().lastInput, result, bufLen);
  return RTNORM;
}

int acedGetInput(ACHAR* result) { return acedGetInput(result, 133); }
