// Automation calls by dispatch identifier: the parameter block of
// IDispatch::Invoke, the exception record a server fills in when a member
// fails, the call kinds and the dispatch result codes.
#pragma once

#include "comutil.h"
#include "unknwn.h"
#include "wintypes.h"

typedef LONG SCODE;
typedef DISPID MEMBERID;
typedef wchar_t OLECHAR;
typedef const wchar_t* LPCOLESTR;

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000E)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000F)

// The arguments of one call. rgvarg holds them last first (rgvarg[0] is the
// last argument); named arguments come first in rgvarg with their
// identifiers in rgdispidNamedArgs (a property put names its value
// DISPID_PROPERTYPUT).
typedef struct tagDISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;

// What a member that failed with DISP_E_EXCEPTION says about the failure.
// The texts are BSTRs that the caller frees.
typedef struct tagEXCEPINFO {
  WORD wCode;  // an error number of the server's, or 0 when scode is set
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  PVOID pvReserved;
  HRESULT (*pfnDeferredFillIn)(struct tagEXCEPINFO*);
  SCODE scode;
} EXCEPINFO, *LPEXCEPINFO;

namespace com {

// Frees the texts of an exception record and clears it.
void ClearExcepInfo(EXCEPINFO* info);

// Fills an exception record for a failing member: the result code, the
// server's name and the description. Returns DISP_E_EXCEPTION, what Invoke
// then returns.
HRESULT FillExcepInfo(EXCEPINFO* info, HRESULT code, const wchar_t* source, const wchar_t* description);

// The positional argument `index` (0 = the first as the caller wrote it) of a
// call, or null when the call has fewer.
VARIANT* DispatchArgument(DISPPARAMS* params, UINT index);
// The value of a property put (the argument named DISPID_PROPERTYPUT), or null.
VARIANT* PropertyPutValue(DISPPARAMS* params);

}  // namespace com
