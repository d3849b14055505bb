// Window-test support: a transcript catcher and the scripted user's lines.
// Tests that link the support library also get lsan.cpp's leak suppressions
// for the font and text libraries.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "script.h"
#include "transcript.h"

namespace wintest {

// Captures the transcript while alive.
class Transcript {
 public:
  Transcript() : m_old(user::SetSink(&m_out)) {}
  ~Transcript() { user::SetSink(m_old); }
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;
  std::string Text() const { return m_out.str(); }

 private:
  std::ostringstream m_out;
  std::ostream* m_old;
};

inline void Script(std::vector<std::string> lines) { user::Script::Instance().UseLines(std::move(lines)); }

}  // namespace wintest
