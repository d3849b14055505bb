// mkmdb SQL-FILE DATABASE PASSWORD: builds the encrypted configuration database.
#include <cstdio>
#include <string>

#include "mdbbuild.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: mkmdb SQL-FILE DATABASE PASSWORD\n");
    return 2;
  }
  std::string sql;
  if (!mdbbuild::ReadFile(argv[1], sql)) {
    std::fprintf(stderr, "mkmdb: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string error;
  if (!mdbbuild::BuildDatabase(sql, argv[2], argv[3], error)) {
    std::fprintf(stderr, "mkmdb: %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  return 0;
}
