// acutPrintf: printing on the host's command line, into the transcript.
#include "acutprint.h"

#include <cstdarg>

#include "format.h"
#include "textconv.h"
#include "transcript.h"

int acutPrintf(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = win::FormatV(format, args);
  va_end(args);
  user::WriteText(win::WideToUtf8(text));
  return static_cast<int>(text.size());
}
