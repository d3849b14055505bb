// libFuzzer target for the DXF reader: any input either fails with a status
// or reads; what was read writes out and reads back again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dbdatabase.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  AcDbDatabase db(false);
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (db.dxfIn(text) != Acad::eOk) return 0;
  std::string out;
  if (db.dxfOut(out) != Acad::eOk) std::abort();
  AcDbDatabase again(false);
  if (again.dxfIn(out) != Acad::eOk) std::abort();
  std::string twice;
  again.dxfOut(twice);
  return 0;
}
