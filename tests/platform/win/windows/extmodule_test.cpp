// Extension modules: the record initialised once, its entries on the
// resource chain, the chain's part in finding a module's resources, and the
// clean-up at detach.
#include <gtest/gtest.h>

#include <algorithm>

#include "afxdllx.h"
#include "resourcetable.h"

namespace {

constexpr UINT IDD_EXT = 911;
constexpr UINT IDI_EXT = 912;

const win::ResourceTable kExtResources{
    {win::DialogResource{IDD_EXT, WS_POPUP, 0, 0, 0, 10, 10, L"x", L"", 8, {}}},
    {},
    {win::ImageResource{IDI_EXT, IMAGE_ICON, nullptr, 0, 2, 2, std::vector<uint32_t>(4, 0xFF000000u)}}};

bool OnChain(HINSTANCE h) {
  std::vector<HINSTANCE> chain = win::ExtensionModuleChain();
  return std::find(chain.begin(), chain.end(), h) != chain.end();
}

TEST(ExtensionModule, RecordsOnTheChainFindTheModulesResourcesUntilTerminated) {
  HINSTANCE hModule = kExtResources.Instance();
  HINSTANCE hOther = reinterpret_cast<HINSTANCE>(0x5150);
  HINSTANCE hOld = AfxGetResourceHandle();
  AfxSetResourceHandle(hOther);

  AFX_EXTENSION_MODULE state;
  EXPECT_FALSE(AfxInitExtensionModule(state, nullptr));
  EXPECT_FALSE(state.bInitialized);
  ASSERT_TRUE(AfxInitExtensionModule(state, hModule));
  EXPECT_TRUE(AfxInitExtensionModule(state, hModule)) << "a second call only answers";
  EXPECT_EQ(state.hResource, hModule);

  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDI_EXT), RT_GROUP_ICON), hOther) << "not on the chain yet";
  new CDynLinkLibrary(state);
  EXPECT_TRUE(OnChain(hModule));
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDI_EXT), RT_GROUP_ICON), hModule);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_EXT), RT_DIALOG), hModule);
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDD_EXT), RT_BITMAP), hOther) << "no bitmap of that id";

  AfxTermExtensionModule(state);
  EXPECT_FALSE(state.bInitialized);
  EXPECT_FALSE(OnChain(hModule)) << "the module's records went with it";
  EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCEW(IDI_EXT), RT_GROUP_ICON), hOther);
  AfxTermExtensionModule(state);  // twice does nothing
  AfxSetResourceHandle(hOld);
}

}  // namespace
