// Result codes, value types and the result-buffer list of the host's
// C interface (prompts, extended data, extended records, selection filters).
#pragma once

#include "adesk.h"

typedef double ads_real;
typedef ads_real ads_point[3];
typedef Adesk::Int64 ads_name[2];
typedef ads_real* ads_pointp;
typedef Adesk::Int64* ads_namep;

// Status codes of prompts and calls.
#define RTNORM 5100
#define RTNONE 5000
#define RTERROR (-5001)
#define RTCAN (-5002)
#define RTREJ (-5003)
#define RTFAIL (-5004)
#define RTKWORD (-5005)
#define RTINPUTTRUNCATED (-5008)

// Value types of result buffers.
#define RTREAL 5001
#define RTPOINT 5002
#define RTSHORT 5003
#define RTANG 5004
#define RTSTR 5005
#define RTENAME 5006
#define RTPICKS 5007
#define RTORINT 5008
#define RT3DPOINT 5009
#define RTLONG 5010
#define RTVOID 5014
#define RTLB 5016
#define RTLE 5017
#define RTDOTE 5018
#define RTNIL 5019
#define RTDXF0 5020
#define RTT 5021
#define RTRESBUF 5023
#define RTMODELESS 5027
#define RTLONG_PTR 5030
#define RTINT64 5031

struct ads_binary {
  short clen;
  char* buf;
};

union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  ACHAR* rstring;
  Adesk::Int32 rlong;
  Adesk::Int64 mnInt64;
  ads_name rlname;
  struct ads_binary rbinary;
  unsigned char ihandle[8];
};

struct resbuf {
  struct resbuf* rbnext;
  short restype;
  union ads_u_val resval;
};

// The value type (RTSTR, RTREAL, RTSHORT, RTLONG, RT3DPOINT, RTENAME, RTINT64
// or RTNONE) that a DXF group code carries; codes outside the known ranges
// give RTNONE.
int acdbGroupCodeToType(int groupCode);

// A new zeroed buffer of the type (a DXF group code or an RT type).
resbuf* acutNewRb(int type);
// Frees a whole list, strings included.
int acutRelRb(resbuf* rb);
// Builds a list from (type, value) pairs ending with 0 or RTNONE. Strings are const
// ACHAR*, reals double, shorts and longs int, points const ads_real*, entity
// names const Adesk::Int64* (an ads_name). Returns null on a bad type.
resbuf* acutBuildList(int type, ...);
// A deep copy of a list.
resbuf* acutDupRb(const resbuf* rb);
