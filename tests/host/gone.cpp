// A library that is removed from the loader's reach: a module needing it
// cannot load.
extern "C" __attribute__((visibility("default"))) int GoneValue() { return 42; }
