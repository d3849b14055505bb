// The transcript: what the person at the command line would read. Everything
// the host, the modules and the window system show goes through here, in order.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

namespace user {

// Appends UTF-8 text as it is (callers put their own line breaks).
void Write(std::string_view utf8);
// Appends command-line text: one leading line break is dropped when the
// transcript already stands at the start of a line, so that messages that
// begin with "\n" do not leave blank lines after an answer.
void WriteText(std::string_view utf8);
// Appends text and a line break, starting a new line first if the transcript
// is in the middle of one.
void WriteLine(std::string_view utf8);
// Where the transcript goes; standard output unless a test redirects it.
// Returns the previous sink.
std::ostream* SetSink(std::ostream* sink);
// A function told of every piece of text after it went to the sink (a
// command-line window on a display shows the transcript); null for none.
// Returns the previous one.
using Listener = void (*)(std::string_view utf8);
Listener SetListener(Listener listener);

}  // namespace user
