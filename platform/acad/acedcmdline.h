// What is typed into the host's command line but not yet taken: characters
// sent to the command-line window (WM_CHAR) and the keystrokes of chosen menu
// items. A blank or Enter ends a word, as when typing at the command line;
// the host's command loop and its prompts take complete words before they
// read the next script line. Everything runs on the host's main thread.
#pragma once

#include <deque>
#include <optional>
#include <string>

namespace acad {

class CommandLineInput {
 public:
  static CommandLineInput& Instance();

  // One keystroke: a blank, Enter ('\r' or '\n') ends the word being typed
  // (an Enter with nothing typed is an empty word); Backspace takes back the
  // last character of it; Esc discards it; other control characters are
  // ignored.
  void Type(wchar_t c);
  void Type(const std::wstring& keys);

  // The oldest complete word, taken; nullopt when none is complete.
  std::optional<std::wstring> TakeWord();
  bool HasWord() const { return !m_words.empty(); }
  // The characters of the word still being typed.
  const std::wstring& Typing() const { return m_typing; }
  // Forgets everything (host reset, tests).
  void Clear();

 private:
  std::deque<std::wstring> m_words;
  std::wstring m_typing;
};

// The next answer for the command line or a prompt: a complete word typed
// into the command line, else the script's next line (nullopt at its end).
std::optional<std::string> NextCommandLineInput();

}  // namespace acad
