// The transcript on standard output (or a test's stream), with the line-break
// rules of the command line.
#include "transcript.h"

#include <iostream>
#include <mutex>

namespace user {
namespace {

std::mutex g_mutex;
std::ostream* g_sink = &std::cout;
bool g_atLineStart = true;

void Put(std::string_view text) {
  if (text.empty()) return;
  *g_sink << text;
  g_sink->flush();
  g_atLineStart = text.back() == '\n';
}

}  // namespace

void Write(std::string_view utf8) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Put(utf8);
}

void WriteText(std::string_view utf8) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_atLineStart && !utf8.empty() && utf8.front() == '\n') utf8.remove_prefix(1);
  Put(utf8);
}

void WriteLine(std::string_view utf8) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!g_atLineStart) Put("\n");
  Put(utf8);
  Put("\n");
}

std::ostream* SetSink(std::ostream* sink) {
  std::lock_guard<std::mutex> lock(g_mutex);
  std::ostream* old = g_sink;
  g_sink = sink ? sink : &std::cout;
  g_atLineStart = true;
  return old;
}

}  // namespace user
