// The objects the COM tests talk to across processes: a dual interface with
// its own methods (called by slot), its marshaller, and the class the test
// server offers.
#pragma once

#include "comproxy.h"
#include "objbase.h"

struct ITestGadget : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Name(BSTR* name) = 0;          // slot 7
  virtual HRESULT put_Name(BSTR name) = 0;           // slot 8
  virtual HRESULT get_Owner(IDispatch** owner) = 0;  // slot 9
};

namespace comtest {

// {6E0C3F58-2B7D-4C11-9A3E-8F0D5B1C2A47}
inline const CLSID kServerClass = {0x6E0C3F58, 0x2B7D, 0x4C11, {0x9A, 0x3E, 0x8F, 0x0D, 0x5B, 0x1C, 0x2A, 0x47}};
inline const wchar_t kProgId[] = L"Marlo.TestServer";

// Dispatch identifiers of the server's object.
enum : DISPID {
  kEcho = 1,      // method: returns its one argument
  kConcat = 2,    // method: the two texts joined
  kValue = 3,     // property get/put, a 32-bit integer
  kFail = 4,      // method: returns the result code it is given
  kRaise = 5,     // method: fails with DISP_E_EXCEPTION and the description given
  kChild = 6,     // property get: a new object whose kEcho answers too
  kIsSelf = 7,    // method: TRUE when the argument is the object itself
  kCrash = 8,     // method: the server process dies
  kVisible = 9,   // property put: the server goes on after its client
  kPid = 10,      // property get: the server's process id
};

void RegisterGadgetMarshaller();

}  // namespace comtest
