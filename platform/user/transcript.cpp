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
Listener g_listener = nullptr;

void Put(std::string_view text, std::string& told) {
  if (text.empty()) return;
  *g_sink << text;
  g_sink->flush();
  g_atLineStart = text.back() == '\n';
  if (g_listener) told += text;
}

// Tells the listener outside the lock, so that it may read the transcript's
// state or write itself.
void Tell(const std::string& told) {
  Listener listener = g_listener;
  if (listener && !told.empty()) listener(told);
}

}  // namespace

void Write(std::string_view utf8) {
  std::string told;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    Put(utf8, told);
  }
  Tell(told);
}

void WriteText(std::string_view utf8) {
  std::string told;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_atLineStart && !utf8.empty() && utf8.front() == '\n') utf8.remove_prefix(1);
    Put(utf8, told);
  }
  Tell(told);
}

void WriteLine(std::string_view utf8) {
  std::string told;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_atLineStart) Put("\n", told);
    Put(utf8, told);
    Put("\n", told);
  }
  Tell(told);
}

Listener SetListener(Listener listener) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Listener old = g_listener;
  g_listener = listener;
  return old;
}

std::ostream* SetSink(std::ostream* sink) {
  std::lock_guard<std::mutex> lock(g_mutex);
  std::ostream* old = g_sink;
  g_sink = sink ? sink : &std::cout;
  g_atLineStart = true;
  return old;
}

}  // namespace user
