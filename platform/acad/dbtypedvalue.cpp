// Typed values of extended data and extended records, to and from result buffers.
#include "dbtypedvalue.h"

#include <cstdlib>
#include <cstring>

AcDbTypedValueList acdbValuesFromRb(const resbuf* rb) {
  AcDbTypedValueList out;
  for (; rb; rb = rb->rbnext) {
    AcDbTypedValue v;
    v.code = rb->restype;
    v.type = acdbGroupCodeToType(rb->restype);
    switch (v.type) {
      case RTSTR: v.text = rb->resval.rstring ? rb->resval.rstring : L""; break;
      case RTREAL: v.point[0] = rb->resval.rreal; break;
      case RTSHORT: v.integer = rb->resval.rint; break;
      case RTLONG: v.integer = rb->resval.rlong; break;
      case RTINT64: v.integer = rb->resval.mnInt64; break;
      case RT3DPOINT: std::memcpy(v.point, rb->resval.rpoint, sizeof v.point); break;
      case RTENAME:
        v.id.setFromOldId(rb->resval.rlname[0]);
        v.handle = v.id.handle();
        break;
      default: break;
    }
    out.push_back(std::move(v));
  }
  return out;
}

resbuf* acdbRbFromValues(const AcDbTypedValueList& values) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const AcDbTypedValue& v : values) {
    resbuf* rb = acutNewRb(v.code);
    switch (v.type) {
      case RTSTR: {
        size_t n = v.text.size() + 1;
        rb->resval.rstring = static_cast<ACHAR*>(std::malloc(n * sizeof(ACHAR)));
        std::memcpy(rb->resval.rstring, v.text.c_str(), n * sizeof(ACHAR));
        break;
      }
      case RTREAL: rb->resval.rreal = v.point[0]; break;
      case RTSHORT: rb->resval.rint = static_cast<short>(v.integer); break;
      case RTLONG: rb->resval.rlong = static_cast<Adesk::Int32>(v.integer); break;
      case RTINT64: rb->resval.mnInt64 = v.integer; break;
      case RT3DPOINT: std::memcpy(rb->resval.rpoint, v.point, sizeof v.point); break;
      case RTENAME: rb->resval.rlname[0] = v.id.asOldId(); rb->resval.rlname[1] = 0; break;
      default: break;
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}
