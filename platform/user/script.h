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

// What one process hands to another that goes on reading the same stream:
// the lines it has read ahead but not taken, and whether the reader then
// continues with the standard input it inherited (the rest of a stream that
// cannot be read ahead without taking it from the other process).
struct HandOver {
  std::vector<std::string> lines;
  bool thenStandardInput = false;
};

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
  // Reads from a file descriptor one byte at a time, so that nothing beyond
  // the lines taken is consumed: a child that inherits the descriptor goes
  // on exactly where this process stopped.
  void UseDescriptor(int fd);
  // Reads what another process handed over: its lines, then (if it says so)
  // standard input.
  void UseHandOver(HandOver handOver);
  // Takes every line this process has not read, for a process that goes on
  // reading the stream; afterwards this process's stream is at its end.
  // Comment lines are left out. A file or list is read to its end; standard
  // input read through UseDescriptor(0) is left to the other process.
  HandOver TakeRest();

  // The next line without taking it; nullopt at the end of the script.
  std::optional<std::string> Peek();
  // Takes the next line; nullopt at the end of the script.
  std::optional<std::string> Next();
  bool AtEnd() { return !Peek().has_value(); }

 private:
  std::optional<std::string> ReadRaw();

  std::optional<std::string> ReadDescriptorLine();

  std::unique_ptr<std::istream> m_owned;
  std::istream* m_in = nullptr;
  int m_fd = -1;
  std::vector<std::string> m_lines;
  std::function<std::optional<std::string>()> m_source;
  size_t m_nextLine = 0;
  std::optional<std::string> m_peeked;
};

}  // namespace user
