// The COM library: initialisation of a thread, class identifiers from
// program identifiers, and object creation in this process (classes a
// library registered with com::RegisterClassFactory) or in a local server
// process (classes registered under HKEY_CLASSES_ROOT\CLSID\{...}\LocalServer32).
//
// A local server is started as a child process connected to this one by a
// socket pair. Interface pointers of its objects come back as proxies: calls
// on them (IDispatch::Invoke by dispatch identifier, QueryInterface, and the
// early-bound methods of interfaces whose marshaller is registered,
// comproxy.h) travel to the server and their results back. The server lives
// as long as its clients hold references; see comserver.h for its side.
#pragma once

#include "comdef.h"
#include "oaidl.h"
#include "unknwn.h"
#include "wintypes.h"

typedef CLSID* LPCLSID;

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define COINIT_DISABLE_OLE1DDE 0x4

#define REGCLS_SINGLEUSE 0
#define REGCLS_MULTIPLEUSE 1

#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#define CO_E_APPNOTFOUND ((HRESULT)0x800401F5)
#define CO_E_SERVER_EXEC_FAILURE ((HRESULT)0x80080005)
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106)
#define RPC_E_SERVERFAULT ((HRESULT)0x80010105)
#define RPC_E_DISCONNECTED ((HRESULT)0x80010108)

// The class object of a class: makes its instances.
struct IClassFactory : IUnknown {
  static const GUID& Uuid();
  virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
  virtual HRESULT LockServer(BOOL lock) = 0;
};

// Initialises COM for the calling thread: S_OK the first time, S_FALSE when
// it already was in the same model, RPC_E_CHANGED_MODE in the other one.
// Every successful call is matched by CoUninitialize.
HRESULT CoInitializeEx(LPVOID reserved, DWORD coInit);
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();

// The class identifier of a program identifier: a class registered in this
// process first, then HKEY_CLASSES_ROOT\<ProgID>\CLSID (a ProgID whose key
// names only a current version, HKEY_CLASSES_ROOT\<ProgID>\CurVer, follows it
// once). CO_E_CLASSSTRING when it is not registered or its CLSID value does
// not read as a class identifier.
HRESULT CLSIDFromProgID(LPCOLESTR progId, LPCLSID clsid);

// Creates an object and asks it for the interface. With CLSCTX_INPROC_SERVER
// a class registered in this process is made here; with CLSCTX_LOCAL_SERVER a
// class registered under HKEY_CLASSES_ROOT\CLSID\{clsid}\LocalServer32 starts
// that command line as a child process. CO_E_NOTINITIALIZED before
// CoInitializeEx, REGDB_E_CLASSNOTREG when neither is registered,
// CO_E_SERVER_EXEC_FAILURE when the server cannot be started or does not
// answer.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD clsContext, REFIID iid, LPVOID* object);

// A local server offers its class objects; the runtime asks them for the
// objects its clients create (comserver.h). cookie identifies the
// registration for CoRevokeClassObject.
HRESULT CoRegisterClassObject(REFCLSID clsid, LPUNKNOWN classObject, DWORD clsContext, DWORD flags, LPDWORD cookie);
HRESULT CoRevokeClassObject(DWORD cookie);

// Text form of class identifiers (atlbase.h has the same for GUIDs).
int StringFromGUID2(REFGUID guid, LPWSTR lpsz, int cchMax);
HRESULT CLSIDFromString(LPCWSTR lpsz, CLSID* pclsid);
bool IsEqualGUID(REFGUID a, REFGUID b);

namespace com {

// Waits for the local servers this process handed its script stream to
// (a server that its user took over goes on reading the stream after its
// clients let go). A program calls it before it exits, so that the server's
// session ends before the program's own.
void WaitForHandedOverServers();

}  // namespace com
