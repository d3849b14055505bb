// Font and text libraries keep caches for the life of the process; they are
// not leaks of the code under test.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libpango\nleak:libcairo\nleak:libglib\nleak:libharfbuzz\nleak:libpixman\n"
         "leak:libgobject\nleak:libfreetype\n";
}
