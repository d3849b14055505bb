// One typed value of extended data or of an extended record, kept in C++ form
// (result-buffer lists are made from it on request).
#pragma once

#include <string>
#include <vector>

#include "adscodes.h"
#include "dbid.h"

struct AcDbTypedValue {
  short code = 0;
  int type = RTNONE;         // RTSTR, RTREAL, RTSHORT, RTLONG, RTINT64, RT3DPOINT, RTENAME
  std::wstring text;         // RTSTR
  double point[3] = {0, 0, 0};  // RT3DPOINT (x only for RTREAL)
  Adesk::Int64 integer = 0;  // RTSHORT, RTLONG, RTINT64
  AcDbObjectId id;           // RTENAME: the object referred to
  AcDbHandle handle;         // RTENAME: its handle, kept when the object is unknown

  double real() const { return point[0]; }
};

typedef std::vector<AcDbTypedValue> AcDbTypedValueList;

// Conversions between result-buffer lists and value lists. A null list gives
// an empty value list and an empty list gives null.
AcDbTypedValueList acdbValuesFromRb(const resbuf* rb);
resbuf* acdbRbFromValues(const AcDbTypedValueList& values);
