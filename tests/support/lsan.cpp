// Font and text libraries (and Xlib, with its input-method and locale
// tables) keep caches for the life of the process; they are not leaks of the
// code under test.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libpango\nleak:libcairo\nleak:libglib\nleak:libharfbuzz\nleak:libpixman\n"
         "leak:libgobject\nleak:libfreetype\nleak:libX11\nleak:libxcb\n";
}
