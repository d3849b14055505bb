// The shared CAD library loaded as the host loads it: its application
// messages, its COM server registration and what happens when the registry
// cannot be written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "CadcoreApp.h"
#include "GlobalVars.h"
#include "rxdynlink.h"
#include "tempprefix.h"
#include "textconv.h"
#include "transcript.h"
#include "windows.h"

namespace {

const std::wstring kTypeLibKey = L"TypeLib\\{3C1B7A52-8E0D-4B6F-9A21-5D4C7E9F0B13}\\1.0";

class CadcoreEntry : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    m_old = user::SetSink(&m_out);
  }
  void TearDown() override {
    user::SetSink(m_old);
    TempPrefixTest::TearDown();
  }
  // Loads the module as the host does and unloads it again; the transcript
  // of the load.
  std::string LoadAndUnload() {
    std::wstring path = win::Utf8ToWide(CADCORE_DBX);
    EXPECT_TRUE(acrxDynamicLinker->loadModule(path.c_str(), true));
    EXPECT_FALSE(acrxDynamicLinker->isApplicationLocked(L"Cadcore.dbx"));
    EXPECT_TRUE(acrxDynamicLinker->isAppMDIAware(L"Cadcore.dbx"));
    EXPECT_TRUE(acrxDynamicLinker->unloadModule(path.c_str()));
    std::string text = m_out.str();
    m_out.str("");
    return text;
  }
  static bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  std::ostringstream m_out;
  std::ostream* m_old = nullptr;
};

}  // namespace

TEST_F(CadcoreEntry, LoadingRegistersTheTypeLibraryQuietly) {
  EXPECT_EQ(LoadAndUnload(), "");
  ASSERT_TRUE(KeyExists(kTypeLibKey));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, kTypeLibKey.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  wchar_t text[128] = {0};
  DWORD size = sizeof text / 2;  // bytes of UTF-16 text, as the registry counts them
  EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_STREQ(text, L"KXCadcore 1.0 Type Library");
  // The module file is registered for the library's locale.
  EXPECT_TRUE(KeyExists(kTypeLibKey + L"\\409\\win64"));
  // The application id is declared by the module but not part of the server's
  // registration.
  EXPECT_FALSE(KeyExists(L"AppID\\KXCadcore.dbx"));
}

TEST_F(CadcoreEntry, UnregisteringRemovesTheTypeLibraryAndTheAppIdKeyStays) {
  LoadAndUnload();
  ASSERT_TRUE(KeyExists(kTypeLibKey));
  EXPECT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_FALSE(KeyExists(kTypeLibKey));
  EXPECT_FALSE(KeyExists(L"TypeLib\\{3C1B7A52-8E0D-4B6F-9A21-5D4C7E9F0B13}"));
  EXPECT_EQ(DllUnregisterServer(), S_OK);  // nothing left to remove is no failure

  CCadcoreModule module;
  EXPECT_EQ(module.UpdateRegistryAppId(TRUE), S_OK);
  EXPECT_TRUE(KeyExists(L"AppID\\{A82346CF-D3C7-4DD2-B61D-18DC1DF2871A}"));
  EXPECT_TRUE(KeyExists(L"AppID\\KXCadcore.dbx"));
  EXPECT_EQ(module.UpdateRegistryAppId(FALSE), S_OK);
  EXPECT_FALSE(KeyExists(L"AppID\\KXCadcore.dbx"));
  EXPECT_TRUE(KeyExists(L"AppID\\{A82346CF-D3C7-4DD2-B61D-18DC1DF2871A}"));
}

TEST_F(CadcoreEntry, AReadOnlyRegistryIsReportedOncePerLoadAndServicesStillWork) {
  // A prefix inside a file cannot be created: every registry write fails.
  std::string file = m_prefix + "/plain-file";
  FILE* f = fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fclose(f);
  setenv("MARLO_PREFIX", (file + "/prefix").c_str(), 1);
  EXPECT_EQ(LoadAndUnload(), "Failed to register COM server.\n");
  EXPECT_EQ(LoadAndUnload(), "Failed to register COM server.\n");
  EXPECT_NE(DllRegisterServer(), S_OK);
  // The module's services do not depend on the registration.
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
  CStringArray parts;
  CGlobalVars::SplitString(L"a,b", L",", parts, FALSE);
  EXPECT_EQ(parts.GetSize(), 2);
  EXPECT_NE(CString(CGlobalVars::g_CurPath).Find(L"\\bin\\"), -1);
}

TEST_F(CadcoreEntry, TheComServerHasNoClassesAndCountsLocks) {
  void* object = reinterpret_cast<void*>(1);
  GUID any{};
  EXPECT_EQ(DllGetClassObject(any, any, &object), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(DllCanUnloadNow(), S_OK);
  CCadcoreModule module;
  module.Lock();
  EXPECT_EQ(module.DllCanUnloadNow(), S_FALSE);
  module.Unlock();
  EXPECT_EQ(module.DllCanUnloadNow(), S_OK);
}

TEST(CadcoreApp, MessagesGoToTheirHandlersAndUnknownCodesGiveZero) {
  struct Recorder : AcRxDbxApp {
    int last = -1;
    AcRx::AppRetCode On_kSaveMsg(void*) override { last = 9; return AcRx::kRetOK; }
    AcRx::AppRetCode On_kNullMsg(void*) override { last = 0; return AcRx::kRetError; }
  } app;
  EXPECT_EQ(app.acrxEntryPoint(AcRx::kSaveMsg, nullptr), AcRx::kRetOK);
  EXPECT_EQ(app.last, 9);
  EXPECT_EQ(app.acrxEntryPoint(AcRx::kNullMsg, nullptr), AcRx::kRetError);
  EXPECT_EQ(app.last, 0);
  EXPECT_EQ(app.acrxEntryPoint(static_cast<AcRx::AppMsgCode>(99), nullptr), 0);
  EXPECT_EQ(app.acrxEntryPoint(AcRx::kEndDialogMsg, nullptr), AcRx::kRetOK);
}

TEST(Guids, TextFormRoundTripsAndRefusesBadInput) {
  wchar_t text[39];
  EXPECT_EQ(StringFromGUID2(LIBID_KXCadcoreLib, text, 39), 39);
  EXPECT_STREQ(text, L"{3C1B7A52-8E0D-4B6F-9A21-5D4C7E9F0B13}");
  EXPECT_EQ(StringFromGUID2(LIBID_KXCadcoreLib, text, 38), 0);
  CLSID back{};
  EXPECT_EQ(CLSIDFromString(text, &back), S_OK);
  EXPECT_TRUE(IsEqualGUID(back, LIBID_KXCadcoreLib));
  EXPECT_EQ(CLSIDFromString(L"{3C1B7A52-8E0D-4B6F-9A21-5D4C7E9F0B1}", &back), E_INVALIDARG);
  EXPECT_EQ(CLSIDFromString(L"{3C1B7A52+8E0D-4B6F-9A21-5D4C7E9F0B13}", &back), E_INVALIDARG);
  EXPECT_EQ(CLSIDFromString(L"{3C1B7A52-8E0D-4B6F-9A21-5D4C7E9F0BZ3}", &back), E_INVALIDARG);
}
