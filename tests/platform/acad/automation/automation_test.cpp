// The host's automation model as a module uses it: the application object,
// its menu bar and menu group, pop-up menus and their items, reference counts.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "acadi.h"
#include "acadmodel.h"
#include "rxmfcapi.h"

namespace {

// Holds one reference and gives it back; the tests count live objects.
template <class T>
struct Held {
  T* p = nullptr;
  Held() = default;
  Held(const Held&) = delete;
  Held& operator=(const Held&) = delete;
  ~Held() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }  // NOLINT: an out parameter, as with the smart pointers
  T* operator->() const { return p; }
  void Reset() {
    if (p) p->Release();
    p = nullptr;
  }
};

std::wstring Text(BSTR text) {
  std::wstring out = text ? text : L"";
  SysFreeString(text);
  return out;
}

std::wstring NameOf(IAcadPopupMenu* menu) {
  BSTR name = nullptr;
  EXPECT_EQ(menu->get_Name(&name), S_OK);
  return Text(name);
}

long CountOf(IAcadMenuBar* bar) {
  long n = -1;
  EXPECT_EQ(bar->get_Count(&n), S_OK);
  return n;
}

class Automation : public ::testing::Test {
 protected:
  void SetUp() override {
    acad::ResetAutomation();
    m_live = acad::LiveAutomationObjects();
    IDispatch* dispatch = AcadGetIDispatch(TRUE);
    ASSERT_NE(dispatch, nullptr);
    ASSERT_EQ(dispatch->QueryInterface(__uuidof(IAcadApplication), reinterpret_cast<void**>(&m_app.p)), S_OK);
    dispatch->Release();
    ASSERT_EQ(m_app->get_MenuBar(&m_bar), S_OK);
    Held<IAcadMenuGroups> groups;
    ASSERT_EQ(m_app->get_MenuGroups(&groups), S_OK);
    Held<IAcadMenuGroup> group;
    ASSERT_EQ(groups->Item(_variant_t(0L), &group), S_OK);
    ASSERT_EQ(group->get_Menus(&m_menus), S_OK);
  }
  void TearDown() override { acad::ResetAutomation(); }

  // Adds a pop-up to the group; null when adding failed.
  IAcadPopupMenu* Add(const wchar_t* title) {
    wchar_t buffer[256];
    std::wcsncpy(buffer, title, 255);
    buffer[255] = 0;
    IAcadPopupMenu* menu = reinterpret_cast<IAcadPopupMenu*>(1);
    HRESULT hr = m_menus->Add(buffer, &menu);
    EXPECT_EQ(SUCCEEDED(hr), menu != nullptr);
    return menu;
  }

  long m_live = 0;
  Held<IAcadApplication> m_app;
  Held<IAcadMenuBar> m_bar;
  Held<IAcadPopupMenus> m_menus;
};

}  // namespace

TEST_F(Automation, ApplicationAnswersItsInterfacesOnly) {
  void* object = nullptr;
  EXPECT_EQ(m_app->QueryInterface(__uuidof(IAcadApplication), &object), S_OK);
  EXPECT_EQ(object, static_cast<void*>(m_app.p));
  static_cast<IUnknown*>(object)->Release();
  EXPECT_EQ(m_app->QueryInterface(__uuidof(IDispatch), &object), S_OK);
  static_cast<IUnknown*>(object)->Release();
  object = reinterpret_cast<void*>(1);
  EXPECT_EQ(m_app->QueryInterface(__uuidof(IAcadMenuBar), &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(m_bar->QueryInterface(__uuidof(IAcadApplication), &object), E_NOINTERFACE);
  EXPECT_EQ(m_app->QueryInterface(__uuidof(IAcadApplication), nullptr), E_POINTER);

  const GUID expected = {0x8F17437C, 0x2EFB, 0x4FC4, {0x81, 0x88, 0xEE, 0xFA, 0x50, 0xFE, 0x71, 0x47}};
  EXPECT_TRUE(com::SameGuid(__uuidof(IAcadApplication), expected));
  EXPECT_EQ(AcadGetIDispatch(FALSE), AcadGetIDispatch(FALSE)) << "one application object";
}

TEST_F(Automation, VisibleFlag) {
  VARIANT_BOOL visible = VARIANT_TRUE;
  EXPECT_EQ(m_app->get_Visible(&visible), S_OK);
  EXPECT_EQ(visible, VARIANT_FALSE);
  EXPECT_EQ(m_app->put_Visible(VARIANT_TRUE), S_OK);
  EXPECT_EQ(m_app->get_Visible(&visible), S_OK);
  EXPECT_EQ(visible, VARIANT_TRUE);
  EXPECT_TRUE(acad::ApplicationVisible());
}

TEST_F(Automation, DefaultMenuBarAndGroup) {
  std::vector<std::wstring> expected = {L"File",  L"Edit", L"View",      L"Insert", L"Format", L"Tools",
                                        L"Draw",  L"Dimension", L"Modify", L"Window", L"Help"};
  ASSERT_EQ(CountOf(m_bar.p), static_cast<long>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    Held<IAcadPopupMenu> menu;
    ASSERT_EQ(m_bar->Item(_variant_t(static_cast<long>(i)), &menu), S_OK);
    EXPECT_EQ(NameOf(menu.p), expected[i]);
  }
  EXPECT_EQ(acad::MenuBarTitles(), expected);
  long groupMenus = 0;
  EXPECT_EQ(m_menus->get_Count(&groupMenus), S_OK);
  EXPECT_EQ(groupMenus, static_cast<long>(expected.size()));

  Held<IAcadMenuGroups> groups;
  ASSERT_EQ(m_app->get_MenuGroups(&groups), S_OK);
  long n = 0;
  EXPECT_EQ(groups->get_Count(&n), S_OK);
  EXPECT_EQ(n, 1);
  Held<IAcadMenuGroup> byName;
  ASSERT_EQ(groups->Item(_variant_t(L"acad"), &byName), S_OK);
  BSTR name = nullptr;
  EXPECT_EQ(byName->get_Name(&name), S_OK);
  EXPECT_EQ(Text(name), L"ACAD");
  Held<IAcadMenuGroup> missing;
  EXPECT_EQ(groups->Item(_variant_t(1L), &missing), E_INVALIDARG);
  EXPECT_EQ(missing.p, nullptr);
}

TEST_F(Automation, ItemsByIndexNameAndOutOfRange) {
  Held<IAcadPopupMenu> byText;
  EXPECT_EQ(m_bar->Item(_variant_t(L"draw"), &byText), S_OK);
  EXPECT_EQ(NameOf(byText.p), L"Draw");
  Held<IAcadPopupMenu> byReal;
  EXPECT_EQ(m_bar->Item(_variant_t(1.0), &byReal), S_OK);
  EXPECT_EQ(NameOf(byReal.p), L"Edit");
  Held<IAcadPopupMenu> byNumberText;
  EXPECT_EQ(m_bar->Item(_variant_t(L"2"), &byNumberText), S_OK);
  EXPECT_EQ(NameOf(byNumberText.p), L"View");
  for (long bad : {-1L, 11L}) {
    Held<IAcadPopupMenu> none;
    EXPECT_EQ(m_bar->Item(_variant_t(bad), &none), E_INVALIDARG) << bad;
    EXPECT_EQ(none.p, nullptr);
  }
  Held<IAcadPopupMenu> empty;
  EXPECT_EQ(m_bar->Item(_variant_t(), &empty), E_INVALIDARG) << "a missing index is refused";
  Held<IAcadPopupMenu> noSuch;
  EXPECT_EQ(m_bar->Item(_variant_t(L"Nope"), &noSuch), E_INVALIDARG);
}

TEST_F(Automation, AddMakesAPopupOffTheBarAndAllowsTwins) {
  Held<IAcadPopupMenu> first;
  first.p = Add(L"设计助手——Marlo");
  ASSERT_NE(first.p, nullptr);
  Held<IAcadPopupMenu> second;
  second.p = Add(L"设计助手——Marlo");
  ASSERT_NE(second.p, nullptr);
  EXPECT_NE(first.p, second.p) << "each Add makes a new pop-up";
  EXPECT_EQ(NameOf(first.p), L"设计助手——Marlo");
  long n = 0;
  m_menus->get_Count(&n);
  EXPECT_EQ(n, 13);
  EXPECT_EQ(CountOf(m_bar.p), 11) << "not on the bar until inserted";
  VARIANT_BOOL on = VARIANT_TRUE;
  EXPECT_EQ(first->get_OnMenuBar(&on), S_OK);
  EXPECT_EQ(on, VARIANT_FALSE);
  EXPECT_EQ(acad::PopupsOffMenuBar(), (std::vector<std::wstring>{L"设计助手——Marlo", L"设计助手——Marlo"}));

  EXPECT_EQ(Add(L""), nullptr) << "an empty title fails and the pop-up is null";
  IAcadPopupMenu* menu = reinterpret_cast<IAcadPopupMenu*>(1);
  EXPECT_EQ(m_menus->Add(nullptr, &menu), E_INVALIDARG);
  EXPECT_EQ(menu, nullptr);
}

TEST_F(Automation, AddMenuItemAtAnIndexAndOutOfRangeAppends) {
  Held<IAcadPopupMenu> menu;
  menu.p = Add(L"Tests");
  ASSERT_NE(menu.p, nullptr);
  wchar_t macro[] = L"DTTest ";
  auto add = [&](long at, const wchar_t* label) {
    wchar_t buffer[256];
    std::wcsncpy(buffer, label, 255);
    buffer[255] = 0;
    Held<IAcadPopupMenuItem> item;
    EXPECT_EQ(menu->AddMenuItem(_variant_t(at), buffer, macro, &item), S_OK);
    EXPECT_NE(item.p, nullptr);
  };
  add(0, L"B");
  add(0, L"A");      // before B
  add(2, L"D");      // at the end: the count itself
  add(2, L"C");      // between B and D
  add(99, L"E");     // past the end
  add(-5, L"F");     // below 0
  long n = 0;
  EXPECT_EQ(menu->get_Count(&n), S_OK);
  ASSERT_EQ(n, 6);
  std::wstring order;
  for (long i = 0; i < n; ++i) {
    Held<IAcadPopupMenuItem> item;
    ASSERT_EQ(menu->Item(_variant_t(i), &item), S_OK);
    BSTR label = nullptr;
    item->get_Label(&label);
    order += Text(label);
  }
  EXPECT_EQ(order, L"ABCDEF");
  Held<IAcadPopupMenuItem> byLabel;
  ASSERT_EQ(menu->Item(_variant_t(L"c"), &byLabel), S_OK);
  BSTR text = nullptr;
  EXPECT_EQ(byLabel->get_Macro(&text), S_OK);
  EXPECT_EQ(Text(text), L"DTTest ");
  EXPECT_EQ(menu->AddMenuItem(_variant_t(0L), nullptr, macro, nullptr), E_INVALIDARG);
  EXPECT_EQ(menu->AddMenuItem(_variant_t(0L), macro, macro, nullptr), S_OK) << "the new item need not be asked for";
}

TEST_F(Automation, InsertBeforeTheLastTwoMenus) {
  Held<IAcadPopupMenu> menu;
  menu.p = Add(L"设计助手——Marlo");
  long n = CountOf(m_bar.p);
  ASSERT_EQ(menu->InsertInMenuBar(_variant_t(n - 2)), S_OK);
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  ASSERT_EQ(titles.size(), 12u);
  EXPECT_EQ(titles[9], L"设计助手——Marlo");
  EXPECT_EQ(titles[10], L"Window");
  EXPECT_EQ(titles[11], L"Help");
  VARIANT_BOOL on = VARIANT_FALSE;
  menu->get_OnMenuBar(&on);
  EXPECT_EQ(on, VARIANT_TRUE);
  EXPECT_EQ(menu->InsertInMenuBar(_variant_t(0L)), E_FAIL) << "already on the bar";
  EXPECT_EQ(acad::MenuBarTitles().size(), 12u);
  EXPECT_TRUE(acad::PopupsOffMenuBar().empty());
}

TEST_F(Automation, InsertBelowZeroGoesFirstAndPastTheEndGoesLast) {
  Held<IAcadPopupMenu> front;
  front.p = Add(L"Front");
  Held<IAcadPopupMenu> back;
  back.p = Add(L"Back");
  Held<IAcadPopupMenu> end;
  end.p = Add(L"End");
  EXPECT_EQ(front->InsertInMenuBar(_variant_t(-1L)), S_OK);
  EXPECT_EQ(back->InsertInMenuBar(_variant_t(1000L)), S_OK);
  EXPECT_EQ(end->InsertInMenuBar(_variant_t(CountOf(m_bar.p))), S_OK);
  std::vector<std::wstring> titles = acad::MenuBarTitles();
  ASSERT_EQ(titles.size(), 14u);
  EXPECT_EQ(titles.front(), L"Front");
  EXPECT_EQ(titles[12], L"Back");
  EXPECT_EQ(titles[13], L"End");
}

TEST_F(Automation, RemoveFromTheBarAndInsertByName) {
  Held<IAcadPopupMenu> help;
  ASSERT_EQ(m_bar->Item(_variant_t(L"Help"), &help), S_OK);
  EXPECT_EQ(help->RemoveFromMenuBar(), S_OK);
  EXPECT_EQ(help->RemoveFromMenuBar(), E_FAIL) << "no longer there";
  EXPECT_EQ(CountOf(m_bar.p), 10);
  EXPECT_EQ(acad::PopupsOffMenuBar(), std::vector<std::wstring>{L"Help"});
  wchar_t name[] = L"help";
  EXPECT_EQ(m_menus->InsertMenuInMenuBar(name, _variant_t(0L)), S_OK);
  EXPECT_EQ(acad::MenuBarTitles().front(), L"Help");
  EXPECT_EQ(m_menus->RemoveMenuFromMenuBar(_variant_t(L"File")), S_OK);
  EXPECT_EQ(acad::MenuBarTitles()[1], L"Edit");
  wchar_t missing[] = L"Nope";
  EXPECT_EQ(m_menus->InsertMenuInMenuBar(missing, _variant_t(0L)), E_INVALIDARG);
}

TEST_F(Automation, FindMenuItemForMenuPick) {
  std::wstring macro;
  EXPECT_EQ(acad::FindMenuItem(L"draw", L"line", macro), acad::MenuPick::kFound);
  EXPECT_EQ(macro, L"^C^C_line ");
  EXPECT_EQ(acad::FindMenuItem(L"Draw", L"Nope", macro), acad::MenuPick::kNoItem);
  EXPECT_EQ(acad::FindMenuItem(L"Nope", L"Line", macro), acad::MenuPick::kNoPopup);
  Held<IAcadPopupMenu> off;
  off.p = Add(L"Off");
  EXPECT_EQ(acad::FindMenuItem(L"Off", L"x", macro), acad::MenuPick::kNotOnMenuBar);
  EXPECT_EQ(acad::MacroKeystrokes(L"^C^c_line 0,0;x"), L"\x1B\x1B_line 0,0\rx");
  EXPECT_EQ(acad::MacroKeystrokes(L"a^"), L"a^") << "a lone caret stays";
}

TEST_F(Automation, ReferencesAreBalanced) {
  long before = acad::LiveAutomationObjects();
  {
    Held<IAcadPopupMenu> menu;
    menu.p = Add(L"Counted");
    Held<IAcadPopupMenuItem> item;
    wchar_t label[] = L"One";
    ASSERT_EQ(menu->AddMenuItem(_variant_t(0L), label, label, &item), S_OK);
    Held<IAcadMenuBar> bar;
    ASSERT_EQ(m_app->get_MenuBar(&bar), S_OK);
    EXPECT_EQ(acad::LiveAutomationObjects(), before + 3);
  }
  EXPECT_EQ(acad::LiveAutomationObjects(), before + 2) << "the group keeps its pop-up and the pop-up its item";
  // A collection asked for with no place to put it is not left behind.
  EXPECT_EQ(m_app->get_MenuBar(nullptr), E_POINTER);
  EXPECT_EQ(acad::LiveAutomationObjects(), before + 2);

  // A pop-up held across a reset outlives the model but no longer reaches it.
  Held<IAcadPopupMenu> kept;
  kept.p = Add(L"Kept");
  acad::ResetAutomation();
  EXPECT_EQ(kept->InsertInMenuBar(_variant_t(0L)), E_UNEXPECTED);
  EXPECT_EQ(NameOf(kept.p), L"Kept");
  EXPECT_EQ(acad::MenuBarTitles().size(), 11u);
  long n = 0;
  EXPECT_EQ(m_bar->get_Count(&n), E_UNEXPECTED) << "collections of the old model reach nothing either";
  Held<IAcadPopupMenu> none;
  EXPECT_EQ(m_menus->Add(const_cast<wchar_t*>(L"Late"), &none), E_UNEXPECTED);
  EXPECT_EQ(none.p, nullptr);
}

TEST_F(Automation, EverythingHandedOutIsGivenBack) {
  // The fixture's own references go last; then only the host's objects stay.
  {
    Held<IAcadPopupMenu> menu;
    menu.p = Add(L"Gone");
    ASSERT_EQ(menu->InsertInMenuBar(_variant_t(0L)), S_OK);
  }
  m_menus.Reset();
  m_bar.Reset();
  m_app.Reset();
  acad::ResetAutomation();
  EXPECT_EQ(acad::LiveAutomationObjects(), m_live);
}
