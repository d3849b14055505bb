// Typed input of the host's command line: characters sent to the command-line
// window and menu macros, collected into words that come before the script's
// next line.
#include "acedcmdline.h"

#include "script.h"
#include "textconv.h"

namespace acad {

CommandLineInput& CommandLineInput::Instance() {
  static CommandLineInput input;
  return input;
}

void CommandLineInput::Type(wchar_t c) {
  switch (c) {
    case L' ':
    case L'\r':
    case L'\n':
      m_words.push_back(std::move(m_typing));
      m_typing.clear();
      return;
    case L'\b':
      if (!m_typing.empty()) m_typing.pop_back();
      return;
    case L'\x1B':
      m_typing.clear();
      return;
    default:
      if (c >= L' ' && c != L'\x7F') m_typing.push_back(c);
      return;
  }
}

void CommandLineInput::Type(const std::wstring& keys) {
  for (wchar_t c : keys) Type(c);
}

std::optional<std::wstring> CommandLineInput::TakeWord() {
  if (m_words.empty()) return std::nullopt;
  std::wstring word = std::move(m_words.front());
  m_words.pop_front();
  return word;
}

void CommandLineInput::Clear() {
  m_words.clear();
  m_typing.clear();
}

std::optional<std::string> NextCommandLineInput() {
  if (std::optional<std::wstring> typed = CommandLineInput::Instance().TakeWord()) return win::WideToUtf8(*typed);
  return user::Script::Instance().Next();
}

}  // namespace acad
