// A module for the host's tests that brands the host as an application module
// does on its initialisation: registers a command, adds a pop-up menu with one
// item that runs it before the last two menus of the menu bar, and sets the
// main window's caption and small icon.
#include <cstdint>
#include <vector>

#include "acadi.h"
#include "acutprint.h"
#include "edcmdstack.h"
#include "resourcetable.h"
#include "rxdynlink.h"
#include "rxmfcapi.h"
#include "windows.h"

namespace {

constexpr UINT IDI_PRODUCT = 111;

const win::ResourceTable kResources{
    {}, {}, {win::ImageResource{IDI_PRODUCT, IMAGE_ICON, nullptr, 0, 128, 128, std::vector<uint32_t>(128 * 128, 0xFF2060C0u)}}};

HINSTANCE g_hInstance = nullptr;

void MenuTestCommand() { acutPrintf(L"\n[menu test command]\n"); }

VARIANT IntIndex(long value) {
  VARIANT index;
  VariantInit(&index);
  index.vt = VT_I4;
  index.lVal = static_cast<LONG>(value);
  return index;
}

void AddMenu() {
  IDispatch* dispatch = AcadGetIDispatch(TRUE);
  if (!dispatch) return;
  IAcadApplication* app = nullptr;
  HRESULT hr = dispatch->QueryInterface(__uuidof(IAcadApplication), reinterpret_cast<void**>(&app));
  dispatch->Release();
  if (FAILED(hr)) return;
  app->put_Visible(VARIANT_TRUE);
  IAcadMenuBar* menuBar = nullptr;
  IAcadMenuGroups* menuGroups = nullptr;
  app->get_MenuBar(&menuBar);
  app->get_MenuGroups(&menuGroups);
  app->Release();
  long n = 0;
  menuBar->get_Count(&n);
  menuBar->Release();
  IAcadMenuGroup* group = nullptr;
  menuGroups->Item(IntIndex(0), &group);
  menuGroups->Release();
  IAcadPopupMenus* menus = nullptr;
  group->get_Menus(&menus);
  group->Release();
  // Plain wide buffers, as a module converts its texts into.
  wchar_t title[256] = L"测试菜单——Host";
  wchar_t label[256] = L"Menu Test";
  wchar_t macro[256] = L"MenuTest ";
  IAcadPopupMenu* popup = nullptr;
  menus->Add(title, &popup);
  if (popup) {
    IAcadPopupMenuItem* item = nullptr;
    popup->AddMenuItem(IntIndex(0), label, macro, &item);
    if (item) item->Release();
    popup->InsertInMenuBar(IntIndex(n - 2));
    popup->Release();
  } else {
    acutPrintf(L"\nMenu not created.");
  }
  menus->Release();
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_hInstance = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      acedRegCmds->addCommand(L"MENUTEST", L"_MT", L"MenuTest", ACRX_CMD_TRANSPARENT, MenuTestCommand);
      AddMenu();
      acedGetAcadFrame()->SetWindowText(L"Host[测试__模块]");
      acedGetAcadFrame()->SendMessage(WM_SETICON, ICON_SMALL,
                                      reinterpret_cast<LPARAM>(::LoadIconW(g_hInstance, MAKEINTRESOURCEW(IDI_PRODUCT))));
      break;
    case AcRx::kUnloadAppMsg:
      acedRegCmds->removeGroup(L"MENUTEST");
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

extern "C" __declspec(dllexport) Adesk::UInt32 acrxGetApiVersion() { return ACRX_API_VERSION; }
