// The scripted user's input: one ordered stream of lines feeding the command
// line, prompts and windows alike. Whoever waits for input takes the next
// line. Comment lines ("#...") are skipped wherever they stand; an empty line
// is the Enter key and is a line like any other.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace user {

class Script {
 public:
  // The one stream of the process.
  static Script& Instance();

  // Reads from a file; false (and nothing changed) if it cannot be opened.
  bool OpenFile(const std::string& path);
  // Reads from a stream (standard input for the host by default).
  void UseStream(std::istream* in);
  // Feeds the given lines (tests).
  void UseLines(std::vector<std::string> lines);
  // Takes each line from a function, which may wait for it (a person at a
  // display); nullopt from it is the end.
  void UseSource(std::function<std::optional<std::string>()> source);

  // The next line without taking it; nullopt at the end of the script.
  std::optional<std::string> Peek();
  // Takes the next line; nullopt at the end of the script.
  std::optional<std::string> Next();
  bool AtEnd() { return !Peek().has_value(); }

 private:
  std::optional<std::string> ReadRaw();

  std::unique_ptr<std::istream> m_owned;
  std::istream* m_in = nullptr;
  std::vector<std::string> m_lines;
  std::function<std::optional<std::string>()> m_source;
  size_t m_nextLine = 0;
  std::optional<std::string> m_peeked;
};

}  // namespace user
