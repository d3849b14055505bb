// COM across processes: a client creates the test server's object through
// its ProgID, calls it late- and early-bound, gets the library's exceptions
// for failures, and the server lives exactly as long as it is held.
#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <fstream>
#include <sstream>
#include <typeinfo>

#include "afxdisp.h"
#include "comclient.h"
#include "paths.h"
#include "regtext.h"
#include "script.h"
#include "tempprefix.h"
#include "textconv.h"
#include "testgadget.h"

namespace {

std::wstring ClsidText(const CLSID& clsid) {
  wchar_t text[40];
  StringFromGUID2(clsid, text, 40);
  return text;
}

bool ProcessAlive(LONG pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0; }

// An object of this process: it has no reference a server could resolve.
class LocalObject : public com::RefCounted<IDispatch> {};

class LocalServerTest : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    comtest::RegisterGadgetMarshaller();
    Register(win::ToWindowsPath(COMTESTSERVER));
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override {
    CoUninitialize();
    TempPrefixTest::TearDown();
  }
  static void Register(const std::wstring& program) {
    const std::wstring clsid = ClsidText(comtest::kServerClass);
    win::WriteRegText(HKEY_CLASSES_ROOT, std::wstring(comtest::kProgId) + L"\\CLSID", L"", clsid);
    win::WriteRegText(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid + L"\\LocalServer32", L"", L"\"" + program + L"\"");
  }
  static LONG Pid(COleDispatchDriver& driver) {
    LONG pid = 0;
    driver.GetProperty(comtest::kPid, VT_I4, &pid);
    return pid;
  }
};

// Runs a call that must fail and returns the exception it threw.
template <class F>
CException* Thrown(F&& call) {
  try {
    call();
  } catch (CException* e) {
    return e;
  }
  return nullptr;
}

TEST_F(LocalServerTest, ValuesCrossBothWaysWithTheirTypes) {
  COleDispatchDriver server;
  ASSERT_TRUE(server.CreateDispatch(comtest::kProgId));
  EXPECT_TRUE(ProcessAlive(Pid(server)));
  EXPECT_EQ(1u, com::ConnectedServerCount());

  static BYTE i4[] = VTS_I4, r8[] = VTS_R8, text[] = VTS_BSTR, flag[] = VTS_BOOL, texts[] = VTS_BSTR VTS_BSTR;
  LONG n = 0;
  server.InvokeHelper(comtest::kEcho, DISPATCH_METHOD, VT_I4, &n, i4, static_cast<LONG>(-123456));
  EXPECT_EQ(-123456, n);
  double d = 0;
  server.InvokeHelper(comtest::kEcho, DISPATCH_METHOD, VT_R8, &d, r8, 2.5e-7);
  EXPECT_DOUBLE_EQ(2.5e-7, d);
  CString s;
  server.InvokeHelper(comtest::kEcho, DISPATCH_METHOD, VT_BSTR, &s, text, L"路测 \U0001F4E1 text");
  EXPECT_EQ(CString(L"路测 \U0001F4E1 text"), s);
  BOOL b = FALSE;
  server.InvokeHelper(comtest::kEcho, DISPATCH_METHOD, VT_BOOL, &b, flag, TRUE);
  EXPECT_TRUE(b);
  server.InvokeHelper(comtest::kConcat, DISPATCH_METHOD, VT_BSTR, &s, texts, L"Z:\\a", L";Z:\\b");
  EXPECT_EQ(CString(L"Z:\\a;Z:\\b"), s);
  // A result is converted to the type asked for: a number read as text.
  server.SetProperty(comtest::kValue, VT_I4, static_cast<LONG>(7));
  server.GetProperty(comtest::kValue, VT_BSTR, &s);
  EXPECT_EQ(CString(L"7"), s);
  // A put with text that reads as a number converts on the server's side.
  server.SetProperty(comtest::kValue, VT_BSTR, L"41");
  server.GetProperty(comtest::kValue, VT_I4, &n);
  EXPECT_EQ(41, n);
  // A VARIANT argument goes as it is, EMPTY included.
  VARIANT empty;
  VariantInit(&empty);
  VARIANT back;
  VariantInit(&back);
  static BYTE variant[] = VTS_VARIANT;
  server.InvokeHelper(comtest::kEcho, DISPATCH_METHOD, VT_VARIANT, &back, variant, &empty);
  EXPECT_EQ(VT_EMPTY, back.vt);
}

TEST_F(LocalServerTest, EarlyBoundCallsGoBySlotAndObjectsCrossByReference) {
  COleDispatchDriver server;
  ASSERT_TRUE(server.CreateDispatch(comtest::kProgId));
  ITestGadget* gadget = nullptr;
  ASSERT_EQ(S_OK, server.m_lpDispatch->QueryInterface(ITestGadget::Uuid(), reinterpret_cast<void**>(&gadget)));
  BSTR name = SysAllocString(L"宋体 gadget");
  EXPECT_EQ(S_OK, gadget->put_Name(name));
  SysFreeString(name);
  name = nullptr;
  ASSERT_EQ(S_OK, gadget->get_Name(&name));
  EXPECT_STREQ(L"宋体 gadget", name);
  SysFreeString(name);

  // The object's owner is the object itself: it comes back as a proxy that
  // the server recognises as its own object when passed back.
  IDispatch* owner = nullptr;
  ASSERT_EQ(S_OK, gadget->get_Owner(&owner));
  static BYTE object[] = VTS_DISPATCH;
  BOOL same = FALSE;
  server.InvokeHelper(comtest::kIsSelf, DISPATCH_METHOD, VT_BOOL, &same, object, owner);
  EXPECT_TRUE(same);
  owner->Release();
  gadget->Release();

  LPDISPATCH child = nullptr;
  server.GetProperty(comtest::kChild, VT_DISPATCH, &child);
  ASSERT_NE(nullptr, child);
  server.InvokeHelper(comtest::kIsSelf, DISPATCH_METHOD, VT_BOOL, &same, object, child);
  EXPECT_FALSE(same);
  COleDispatchDriver childDriver(child);
  LONG n = 0;
  static BYTE i4[] = VTS_I4;
  childDriver.InvokeHelper(comtest::kEcho, DISPATCH_METHOD, VT_I4, &n, i4, static_cast<LONG>(5));
  EXPECT_EQ(5, n);

  // An interface this process has no proxy for is refused here, and an
  // object of this process cannot be sent.
  void* none = nullptr;
  const IID unknownIid = {0x11111111, 0x2222, 0x3333, {0, 1, 2, 3, 4, 5, 6, 7}};
  EXPECT_EQ(E_NOINTERFACE, server.m_lpDispatch->QueryInterface(unknownIid, &none));
  EXPECT_EQ(nullptr, none);
  auto* local = new LocalObject;
  local->AddRef();
  CException* e =
      Thrown([&] { server.InvokeHelper(comtest::kIsSelf, DISPATCH_METHOD, VT_BOOL, &same, object, local); });
  local->Release();
  ASSERT_NE(nullptr, e);
  EXPECT_EQ(DISP_E_BADVARTYPE, COleException::Process(e));
  e->Delete();
}

TEST_F(LocalServerTest, FailuresOfTheServerBecomeTheLibrarysExceptions) {
  COleDispatchDriver server;
  ASSERT_TRUE(server.CreateDispatch(comtest::kProgId));
  static BYTE i4[] = VTS_I4, text[] = VTS_BSTR;
  struct Case {
    HRESULT returned;
    const std::type_info* thrown;
    int fileCause;
  };
  const Case cases[] = {
      {E_OUTOFMEMORY, &typeid(CMemoryException), 0},
      {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), &typeid(CFileException), CFileException::fileNotFound},
      {HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), &typeid(CFileException), CFileException::badPath},
      {static_cast<HRESULT>(0x80030020), &typeid(CFileException), CFileException::sharingViolation},
      {static_cast<HRESULT>(0x80030070), &typeid(CFileException), CFileException::diskFull},
      {E_INVALIDARG, &typeid(COleException), 0},
      {HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), &typeid(COleException), 0},
  };
  for (const Case& c : cases) {
    CException* e = Thrown([&] { server.InvokeHelper(comtest::kFail, DISPATCH_METHOD, VT_EMPTY, NULL, i4, c.returned); });
    ASSERT_NE(nullptr, e) << std::hex << c.returned;
    EXPECT_EQ(*c.thrown, typeid(*e)) << std::hex << c.returned;
    if (c.thrown == &typeid(CFileException)) {
      EXPECT_EQ(c.fileCause, static_cast<CFileException*>(e)->m_cause) << std::hex << c.returned;
    }
    if (c.thrown == &typeid(COleException)) {
      EXPECT_EQ(c.returned, static_cast<COleException*>(e)->m_sc);
    }
    e->Delete();
  }
  // The server's own exception record arrives whole.
  CException* e =
      Thrown([&] { server.InvokeHelper(comtest::kRaise, DISPATCH_METHOD, VT_EMPTY, NULL, text, L"加载失败: no file"); });
  ASSERT_NE(nullptr, e);
  auto* d = dynamic_cast<COleDispatchException*>(e);
  ASSERT_NE(nullptr, d);
  EXPECT_EQ(CString(L"加载失败: no file"), d->m_strDescription);
  EXPECT_EQ(CString(L"TestServer"), d->m_strSource);
  EXPECT_EQ(static_cast<HRESULT>(0x80040201), d->m_scError);
  wchar_t message[64];
  EXPECT_TRUE(d->GetErrorMessage(message, 64));
  EXPECT_STREQ(L"加载失败: no file", message);
  e->Delete();
  // No such member, and a driver that holds nothing.
  e = Thrown([&] { server.InvokeHelper(999, DISPATCH_METHOD, VT_EMPTY, NULL, NULL); });
  ASSERT_NE(nullptr, e);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND, COleException::Process(e));
  e->Delete();
  COleDispatchDriver empty;
  e = Thrown([&] { empty.InvokeHelper(1, DISPATCH_METHOD, VT_EMPTY, NULL, NULL); });
  ASSERT_NE(nullptr, e);
  EXPECT_EQ(E_POINTER, COleException::Process(e));
  e->Delete();
}

TEST_F(LocalServerTest, TheServerEndsWhenItsLastReferenceGoes) {
  COleDispatchDriver server;
  ASSERT_TRUE(server.CreateDispatch(comtest::kProgId));
  LONG pid = Pid(server);
  LPDISPATCH child = nullptr;
  server.GetProperty(comtest::kChild, VT_DISPATCH, &child);
  server.ReleaseDispatch();
  // The child still holds the server.
  EXPECT_TRUE(ProcessAlive(pid));
  child->Release();
  // Released, it ended and was waited for.
  EXPECT_FALSE(ProcessAlive(pid));
  EXPECT_EQ(ESRCH, errno);
  EXPECT_EQ(0u, com::ConnectedServerCount());
}

TEST_F(LocalServerTest, AServerThatGoesOnTakesTheRestOfTheScript) {
  const std::string file = m_prefix + "/handover.txt";
  ::setenv("COMTEST_HANDOVER", file.c_str(), 1);
  user::Script::Instance().UseLines({"@click 1", "# a comment", "HELP", "", "QUIT"});
  ASSERT_EQ("@click 1", user::Script::Instance().Next().value_or(""));
  // A peeked line has not been taken: it goes too.
  ASSERT_EQ("HELP", user::Script::Instance().Peek().value_or(""));
  {
    COleDispatchDriver server;
    ASSERT_TRUE(server.CreateDispatch(comtest::kProgId));
    server.SetProperty(comtest::kVisible, VT_BOOL, TRUE);
  }
  com::WaitForHandedOverServers();
  ::unsetenv("COMTEST_HANDOVER");
  std::ifstream in(file);
  std::stringstream got;
  got << in.rdbuf();
  EXPECT_EQ("HELP\n\nQUIT\nstandard input: no\n", got.str());
  EXPECT_FALSE(user::Script::Instance().Next().has_value());
}

TEST_F(LocalServerTest, AServerThatDiesIsAFailureNotAHang) {
  COleDispatchDriver server;
  ASSERT_TRUE(server.CreateDispatch(comtest::kProgId));
  LONG pid = Pid(server);
  for (int i = 0; i < 2; ++i) {
    CException* e = Thrown([&] { server.InvokeHelper(comtest::kCrash, DISPATCH_METHOD, VT_EMPTY, NULL, NULL); });
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(RPC_E_DISCONNECTED, COleException::Process(e));
    e->Delete();
  }
  EXPECT_FALSE(ProcessAlive(pid));
}

TEST_F(LocalServerTest, ServersThatCannotStartOrAreNotThere) {
  IUnknown* object = nullptr;
  CLSID clsid{};
  ASSERT_EQ(S_OK, CLSIDFromProgID(comtest::kProgId, &clsid));
  // A program that is missing, and one that ends without serving.
  Register(L"Z:\\no\\such\\server");
  EXPECT_EQ(CO_E_SERVER_EXEC_FAILURE, CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IUnknown::Uuid(),
                                                       reinterpret_cast<void**>(&object)));
  Register(win::ToWindowsPath("/bin/true"));
  EXPECT_EQ(CO_E_SERVER_EXEC_FAILURE, CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IUnknown::Uuid(),
                                                       reinterpret_cast<void**>(&object)));
  EXPECT_EQ(nullptr, object);
  const CLSID other = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(other, nullptr, CLSCTX_ALL, IUnknown::Uuid(),
                                                  reinterpret_cast<void**>(&object)));
  COleException error;
  COleDispatchDriver driver;
  EXPECT_FALSE(driver.CreateDispatch(L"No.Such.Program", &error));
  EXPECT_EQ(CO_E_CLASSSTRING, error.m_sc);
  // Before the thread is initialised nothing is created.
  CoUninitialize();
  EXPECT_EQ(CO_E_NOTINITIALIZED, CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IUnknown::Uuid(),
                                                  reinterpret_cast<void**>(&object)));
  EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  EXPECT_EQ(RPC_E_CHANGED_MODE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  CoUninitialize();
}

TEST_F(LocalServerTest, ProgramIdentifiersAreReadFromTheClassesRoot) {
  CLSID clsid{};
  // The current version of a version-independent ProgID is followed once.
  win::WriteRegText(HKEY_CLASSES_ROOT, L"Marlo.Test\\CurVer", L"", comtest::kProgId);
  ASSERT_EQ(S_OK, CLSIDFromProgID(L"Marlo.Test", &clsid));
  EXPECT_TRUE(IsEqualGUID(comtest::kServerClass, clsid));
  win::WriteRegText(HKEY_CLASSES_ROOT, L"Marlo.Broken\\CLSID", L"", L"{not a class id}");
  win::WriteRegText(HKEY_CLASSES_ROOT, L"Marlo.Loop\\CurVer", L"", L"Marlo.Loop");
  for (const wchar_t* bad : {L"Marlo.Broken", L"Marlo.Loop", L"", L"CLSID\\..\\Marlo.TestServer",
                             L"Marlo.TestServer\\CLSID"})
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(bad, &clsid)) << win::WideToUtf8(bad);
  EXPECT_EQ(E_INVALIDARG, CLSIDFromProgID(nullptr, &clsid));
}

TEST(CommandLine, SplitsAsTheOriginalParserDid) {
  const std::pair<const wchar_t*, std::vector<std::wstring>> cases[] = {
      {L"\"Z:\\a b\\cadhost\" --automation", {L"Z:\\a b\\cadhost", L"--automation"}},
      {L"  plain   two\t", {L"plain", L"two"}},
      {L"say \"a \\\"quoted\\\" word\"", {L"say", L"a \"quoted\" word"}},
      {L"\"\"", {L""}},
      {L"", {}},
  };
  for (const auto& [line, words] : cases) EXPECT_EQ(words, com::SplitCommandLine(line)) << win::WideToUtf8(line);
}

}  // namespace
