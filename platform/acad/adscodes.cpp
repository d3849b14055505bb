// Result buffers of the host's C interface: building, copying and releasing
// resbuf lists.
#include "adscodes.h"

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cwchar>

int acdbGroupCodeToType(int c) {
  if (c >= 5000) {
    switch (c) {
      case RTREAL: case RTANG: return RTREAL;
      case RTPOINT: case RT3DPOINT: return RT3DPOINT;
      case RTSHORT: return RTSHORT;
      case RTSTR: return RTSTR;
      case RTENAME: case RTPICKS: return RTENAME;
      case RTLONG: return RTLONG;
      case RTINT64: return RTINT64;
      case RTDXF0: return RTSTR;
      default: return RTNONE;
    }
  }
  if (c < 0) return c == -1 || c == -2 ? RTENAME : (c == -3 || c == -4 ? RTNONE : RTNONE);
  if (c <= 9) return RTSTR;
  if (c <= 39) return RT3DPOINT;
  if (c <= 59) return RTREAL;
  if (c <= 79) return RTSHORT;
  if (c >= 90 && c <= 99) return RTLONG;
  if (c >= 100 && c <= 109) return RTSTR;
  if (c >= 110 && c <= 139) return RT3DPOINT;
  if (c >= 140 && c <= 149) return RTREAL;
  if (c >= 160 && c <= 169) return RTINT64;
  if (c >= 170 && c <= 179) return RTSHORT;
  if (c >= 210 && c <= 239) return RT3DPOINT;
  if (c >= 270 && c <= 299) return RTSHORT;
  if (c >= 300 && c <= 329) return RTSTR;
  if (c >= 330 && c <= 369) return RTENAME;
  if (c >= 370 && c <= 389) return RTSHORT;
  if (c >= 390 && c <= 399) return RTENAME;
  if (c >= 400 && c <= 409) return RTSHORT;
  if (c >= 410 && c <= 419) return RTSTR;
  if (c >= 420 && c <= 429) return RTLONG;
  if (c >= 430 && c <= 439) return RTSTR;
  if (c >= 440 && c <= 459) return RTLONG;
  if (c >= 460 && c <= 469) return RTREAL;
  if (c >= 470 && c <= 479) return RTSTR;
  if (c >= 480 && c <= 481) return RTENAME;
  if (c == 999) return RTSTR;
  if (c >= 1000 && c <= 1009) return RTSTR;
  if (c >= 1010 && c <= 1039) return RT3DPOINT;
  if (c >= 1040 && c <= 1059) return RTREAL;
  if (c >= 1060 && c <= 1070) return RTSHORT;
  if (c == 1071) return RTLONG;
  return RTNONE;
}

resbuf* acutNewRb(int type) {
  auto* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  if (rb) rb->restype = static_cast<short>(type);
  return rb;
}

namespace {
ACHAR* DupString(const ACHAR* s) {
  if (!s) s = L"";
  size_t n = std::wcslen(s) + 1;
  auto* out = static_cast<ACHAR*>(std::malloc(n * sizeof(ACHAR)));
  if (out) std::memcpy(out, s, n * sizeof(ACHAR));
  return out;
}

bool IsStringType(int type) { return acdbGroupCodeToType(type) == RTSTR; }
}  // namespace

int acutRelRb(resbuf* rb) {
  while (rb) {
    resbuf* next = rb->rbnext;
    if (IsStringType(rb->restype)) std::free(rb->resval.rstring);
    std::free(rb);
    rb = next;
  }
  return RTNORM;
}

resbuf* acutDupRb(const resbuf* rb) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; rb; rb = rb->rbnext) {
    resbuf* copy = acutNewRb(rb->restype);
    copy->resval = rb->resval;
    if (IsStringType(rb->restype)) copy->resval.rstring = DupString(rb->resval.rstring);
    *tail = copy;
    tail = &copy->rbnext;
  }
  return head;
}

resbuf* acutBuildList(int type, ...) {
  va_list args;
  va_start(args, type);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  bool ok = true;
  // The list ends at 0 or RTNONE, whichever the caller writes.
  while (type != 0 && type != RTNONE) {
    resbuf* rb = acutNewRb(type);
    if (type == RTLB || type == RTLE || type == RTDOTE || type == RTNIL || type == RTT || type == RTVOID) {
      // no value
    } else {
      switch (acdbGroupCodeToType(type)) {
        case RTSTR: rb->resval.rstring = DupString(va_arg(args, const ACHAR*)); break;
        case RTREAL: rb->resval.rreal = va_arg(args, double); break;
        case RTSHORT: rb->resval.rint = static_cast<short>(va_arg(args, int)); break;
        case RTLONG: rb->resval.rlong = va_arg(args, int); break;
        case RTINT64: rb->resval.mnInt64 = va_arg(args, Adesk::Int64); break;
        case RT3DPOINT: {
          const ads_real* p = va_arg(args, const ads_real*);
          for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
          if (type == RTPOINT) rb->resval.rpoint[2] = 0.0;
          break;
        }
        case RTENAME: {
          const Adesk::Int64* n = va_arg(args, const Adesk::Int64*);
          rb->resval.rlname[0] = n ? n[0] : 0;
          rb->resval.rlname[1] = n ? n[1] : 0;
          break;
        }
        default: ok = false; break;
      }
    }
    *tail = rb;
    tail = &rb->rbnext;
    if (!ok) break;
    type = va_arg(args, int);
  }
  va_end(args);
  if (!ok) {
    acutRelRb(head);
    return nullptr;
  }
  return head;
}
