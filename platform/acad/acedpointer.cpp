// The editor's pointer request (acedpointer.h).
#include "acedpointer.h"

namespace acad {
namespace {
PointerRequest& Current() {
  static PointerRequest request;
  return request;
}
}  // namespace

const PointerRequest& CurrentPointerRequest() { return Current(); }

PointerRequestScope::PointerRequestScope(PointerWants wants, const double* base, bool drags) : m_saved(Current()) {
  PointerRequest r;
  r.wants = wants;
  r.drags = drags;
  if (base) {
    r.hasBase = true;
    for (int i = 0; i < 3; ++i) r.base[i] = base[i];
  }
  Current() = r;
}

PointerRequestScope::~PointerRequestScope() { Current() = m_saved; }

}  // namespace acad
