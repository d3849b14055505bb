// The one stream of the scripted user's lines: a file, standard input or lines
// a test gives, with comment lines skipped.
#include "script.h"

#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <iostream>

namespace user {

Script& Script::Instance() {
  static Script script;
  return script;
}

bool Script::OpenFile(const std::string& path) {
  auto file = std::make_unique<std::ifstream>(path);
  if (!*file) return false;
  m_owned = std::move(file);
  m_in = m_owned.get();
  m_source = nullptr;
  m_fd = -1;
  m_lines.clear();
  m_nextLine = 0;
  m_peeked.reset();
  return true;
}

void Script::UseStream(std::istream* in) {
  m_owned.reset();
  m_in = in;
  m_source = nullptr;
  m_fd = -1;
  m_lines.clear();
  m_nextLine = 0;
  m_peeked.reset();
}

void Script::UseSource(std::function<std::optional<std::string>()> source) {
  UseLines({});
  m_source = std::move(source);
}

void Script::UseLines(std::vector<std::string> lines) {
  m_owned.reset();
  m_in = nullptr;
  m_source = nullptr;
  m_fd = -1;
  m_lines = std::move(lines);
  m_nextLine = 0;
  m_peeked.reset();
}

void Script::UseDescriptor(int fd) {
  m_owned.reset();
  m_in = nullptr;
  m_source = nullptr;
  m_fd = fd;
  m_lines.clear();
  m_nextLine = 0;
  m_peeked.reset();
}

void Script::UseHandOver(HandOver handOver) {
  UseLines(std::move(handOver.lines));
  if (handOver.thenStandardInput) m_fd = 0;
}

HandOver Script::TakeRest() {
  HandOver rest;
  if (m_peeked) rest.lines.push_back(*m_peeked);
  m_peeked.reset();
  if (m_fd >= 0) {
    // Lines still queued come first; the descriptor's unread part stays
    // where it is for the other process.
    while (m_nextLine < m_lines.size()) rest.lines.push_back(m_lines[m_nextLine++]);
    rest.thenStandardInput = m_fd == 0;
  } else {
    while (std::optional<std::string> line = ReadRaw()) rest.lines.push_back(*line);
  }
  m_owned.reset();
  m_in = nullptr;
  m_source = nullptr;
  m_fd = -1;
  m_lines.clear();
  m_nextLine = 0;
  // A peeked end stays an end.
  m_peeked.reset();
  return rest;
}

std::optional<std::string> Script::ReadDescriptorLine() {
  std::string line;
  bool any = false;
  for (;;) {
    char c;
    ssize_t got = ::read(m_fd, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    any = true;
    if (c == '\n') break;
    line.push_back(c);
  }
  if (!any) return std::nullopt;
  return line;
}

std::optional<std::string> Script::ReadRaw() {
  for (;;) {
    std::string line;
    if (m_nextLine < m_lines.size()) {
      line = m_lines[m_nextLine++];
    } else if (m_source) {
      std::optional<std::string> next = m_source();
      if (!next) return std::nullopt;
      line = std::move(*next);
    } else if (m_in) {
      if (!std::getline(*m_in, line)) return std::nullopt;
    } else if (m_fd >= 0) {
      std::optional<std::string> read = ReadDescriptorLine();
      if (!read) return std::nullopt;
      line = *read;
    } else {
      return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] == '#') continue;
    return line;
  }
}

std::optional<std::string> Script::Peek() {
  if (!m_peeked) m_peeked = ReadRaw();
  return m_peeked;
}

std::optional<std::string> Script::Next() {
  std::optional<std::string> line = Peek();
  m_peeked.reset();
  return line;
}

}  // namespace user
