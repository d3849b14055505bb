// The automation model of the host: the application object, its menu bar, menu
// groups, pop-up menus and their items, reference counted, and MENUPICK's lookup.
#include "acadi.h"

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "acadmodel.h"
#include "rxmfcapi.h"
#include "textutil.h"

const GUID& IAcadApplication::Uuid() {
  static const GUID id = {0x8F17437C, 0x2EFB, 0x4FC4, {0x81, 0x88, 0xEE, 0xFA, 0x50, 0xFE, 0x71, 0x47}};
  return id;
}

const GUID& IAcadMenuBar::Uuid() {
  static const GUID id = {0x299A6864, 0xD804, 0x484A, {0xBC, 0x01, 0x98, 0x80, 0x67, 0x9D, 0x4D, 0xC2}};
  return id;
}

const GUID& IAcadMenuGroups::Uuid() {
  static const GUID id = {0x0B5FF508, 0xBB39, 0x4954, {0x84, 0x36, 0x62, 0xE9, 0x98, 0x6F, 0x3B, 0x77}};
  return id;
}

const GUID& IAcadMenuGroup::Uuid() {
  static const GUID id = {0x6CA9163D, 0xBBF6, 0x4ED6, {0xA8, 0x6C, 0xC4, 0x55, 0xFC, 0xDB, 0xF1, 0xA6}};
  return id;
}

const GUID& IAcadPopupMenus::Uuid() {
  static const GUID id = {0x52E0EC23, 0x749A, 0x49D9, {0x9C, 0x71, 0x19, 0xAE, 0x63, 0x09, 0xBE, 0x18}};
  return id;
}

const GUID& IAcadPopupMenu::Uuid() {
  static const GUID id = {0x2FE35A69, 0x80B4, 0x4323, {0x9B, 0x6C, 0xD2, 0xEE, 0x61, 0xE8, 0x58, 0x24}};
  return id;
}

const GUID& IAcadPopupMenuItem::Uuid() {
  static const GUID id = {0x77EE966D, 0x9A85, 0x4931, {0x99, 0x03, 0xED, 0xA4, 0xA4, 0xAB, 0x1B, 0x04}};
  return id;
}

namespace acad {
namespace {

std::atomic<long> g_liveObjects{0};

// Every automation object counts itself, so tests can see that the
// references handed out were all given back.
template <class Interface>
class AutomationObject : public com::RefCounted<Interface> {
 public:
  AutomationObject() { ++g_liveObjects; }
  ~AutomationObject() override { --g_liveObjects; }
};

// One counted reference to an implementation object.
template <class T>
class Ref {
 public:
  Ref() = default;
  explicit Ref(T* object) : m_p(object) {
    if (m_p) m_p->AddRef();
  }
  Ref(const Ref& other) : Ref(other.m_p) {}
  Ref& operator=(const Ref& other) {
    Ref copy(other);
    std::swap(m_p, copy.m_p);
    return *this;
  }
  ~Ref() {
    if (m_p) m_p->Release();
  }
  T* get() const { return m_p; }
  T* operator->() const { return m_p; }

 private:
  T* m_p = nullptr;
};

// Hands an object to a caller with a reference of its own.
template <class Interface, class T>
HRESULT HandOut(T* object, Interface** out) {
  if (!out) {
    // A new object nobody holds goes away again; a held one is unchanged.
    if (object) {
      object->AddRef();
      object->Release();
    }
    return E_POINTER;
  }
  *out = object;
  if (object) object->AddRef();
  return object ? S_OK : E_FAIL;
}

// A call on a retired model: nothing to hand out.
template <class Interface>
HRESULT Refuse(Interface** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return E_UNEXPECTED;
}

HRESULT CopyText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// Titles and labels compare as a user reads them: case and the mnemonic
// marker '&' do not matter.
std::wstring WithoutMnemonic(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text)
    if (c != L'&') out.push_back(c);
  return out;
}

bool SameTitle(const std::wstring& a, const std::wstring& b) {
  return win::textutil::EqualNoCase(WithoutMnemonic(a), WithoutMnemonic(b));
}

// An index argument: a number, or (for lookups) the name of the element.
struct Index {
  bool isName = false;
  long long number = 0;
  std::wstring name;
};

HRESULT ReadIndex(const VARIANT& value, bool namesAllowed, Index& index) {
  if (value.vt == VT_EMPTY || value.vt == VT_NULL) return E_INVALIDARG;
  VARIANT number;
  VariantInit(&number);
  if (SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I8))) {
    index.number = number.llVal;
    return S_OK;
  }
  if (value.vt == VT_BSTR && value.bstrVal && namesAllowed) {
    index.isName = true;
    index.name = value.bstrVal;
    return S_OK;
  }
  return E_INVALIDARG;
}

class PopupMenu;

// What one model holds: the menu group's pop-ups (the owners) and the menu
// bar's order (each also in the group).
struct MenuState {
  std::wstring groupName = L"ACAD";
  std::vector<Ref<PopupMenu>> groupMenus;
  std::vector<PopupMenu*> bar;
  bool visible = false;
  // Set when the host resets its model: interfaces still held then reach
  // nothing of the host's any more.
  bool retired = false;

  bool OnBar(const PopupMenu* menu) const { return std::find(bar.begin(), bar.end(), menu) != bar.end(); }
  HRESULT Insert(PopupMenu* menu, const VARIANT& at) {
    Index index;
    HRESULT hr = ReadIndex(at, false, index);
    if (FAILED(hr)) return hr;
    if (OnBar(menu)) return E_FAIL;
    // The host's choice for indexes out of range: below 0 goes first, past
    // the end goes last.
    long long count = static_cast<long long>(bar.size());
    long long position = std::clamp(index.number, 0LL, count);
    bar.insert(bar.begin() + position, menu);
    return S_OK;
  }
  HRESULT Remove(const PopupMenu* menu) {
    auto it = std::find(bar.begin(), bar.end(), menu);
    if (it == bar.end()) return E_FAIL;
    bar.erase(it);
    return S_OK;
  }
};

class PopupMenuItem : public AutomationObject<IAcadPopupMenuItem> {
 public:
  PopupMenuItem(std::wstring label, std::wstring macro) : m_label(std::move(label)), m_macro(std::move(macro)) {}
  HRESULT get_Label(BSTR* label) override { return CopyText(m_label, label); }
  HRESULT get_Macro(BSTR* macro) override { return CopyText(m_macro, macro); }

  const std::wstring& Label() const { return m_label; }
  const std::wstring& Macro() const { return m_macro; }

 private:
  std::wstring m_label;
  std::wstring m_macro;
};

class PopupMenu : public AutomationObject<IAcadPopupMenu> {
 public:
  PopupMenu(std::wstring name, const std::shared_ptr<MenuState>& state) : m_name(std::move(name)), m_state(state) {}

  HRESULT get_Name(BSTR* name) override { return CopyText(m_name, name); }
  HRESULT get_Count(long* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<long>(m_items.size());
    return S_OK;
  }
  HRESULT Item(VARIANT at, IAcadPopupMenuItem** item) override {
    if (!item) return E_POINTER;
    *item = nullptr;
    Index index;
    HRESULT hr = ReadIndex(at, true, index);
    if (FAILED(hr)) return hr;
    if (index.isName) {
      for (const Ref<PopupMenuItem>& i : m_items)
        if (SameTitle(i->Label(), index.name)) return HandOut(i.get(), item);
      return E_INVALIDARG;
    }
    if (index.number < 0 || index.number >= static_cast<long long>(m_items.size())) return E_INVALIDARG;
    return HandOut(m_items[static_cast<size_t>(index.number)].get(), item);
  }
  HRESULT AddMenuItem(VARIANT at, BSTR label, BSTR macro, IAcadPopupMenuItem** item) override {
    if (item) *item = nullptr;
    if (!label) return E_INVALIDARG;
    Index index;
    HRESULT hr = ReadIndex(at, false, index);
    if (FAILED(hr)) return hr;
    // Out of range: the item goes last.
    long long count = static_cast<long long>(m_items.size());
    long long position = index.number < 0 || index.number > count ? count : index.number;
    Ref<PopupMenuItem> added(new PopupMenuItem(label, macro ? macro : L""));
    m_items.insert(m_items.begin() + position, added);
    return item ? HandOut(added.get(), item) : S_OK;
  }
  HRESULT InsertInMenuBar(VARIANT at) override {
    std::shared_ptr<MenuState> state = Live();
    return state ? state->Insert(this, at) : E_UNEXPECTED;
  }
  HRESULT RemoveFromMenuBar() override {
    std::shared_ptr<MenuState> state = Live();
    return state ? state->Remove(this) : E_UNEXPECTED;
  }
  HRESULT get_OnMenuBar(VARIANT_BOOL* onMenuBar) override {
    if (!onMenuBar) return E_POINTER;
    std::shared_ptr<MenuState> state = Live();
    *onMenuBar = state && state->OnBar(this) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

  const std::wstring& Name() const { return m_name; }
  const PopupMenuItem* FindItem(const std::wstring& label) const {
    for (const Ref<PopupMenuItem>& i : m_items)
      if (SameTitle(i->Label(), label)) return i.get();
    return nullptr;
  }
  void Add(const wchar_t* label, const wchar_t* macro) { m_items.emplace_back(new PopupMenuItem(label, macro)); }
  std::vector<std::pair<std::wstring, std::wstring>> Items() const {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    for (const Ref<PopupMenuItem>& i : m_items) out.emplace_back(i->Label(), i->Macro());
    return out;
  }

 private:
  std::shared_ptr<MenuState> Live() const {
    std::shared_ptr<MenuState> state = m_state.lock();
    return state && !state->retired ? state : nullptr;
  }

  std::wstring m_name;
  // The model the pop-up belongs to; a reset leaves it orphaned. Weak, since
  // the model owns its pop-ups.
  std::weak_ptr<MenuState> m_state;
  std::vector<Ref<PopupMenuItem>> m_items;
};

// The menu lookup shared by the menu bar and the group's collection.
HRESULT FindMenu(const std::vector<PopupMenu*>& menus, const VARIANT& at, IAcadPopupMenu** menu) {
  if (!menu) return E_POINTER;
  *menu = nullptr;
  Index index;
  HRESULT hr = ReadIndex(at, true, index);
  if (FAILED(hr)) return hr;
  if (index.isName) {
    for (PopupMenu* m : menus)
      if (SameTitle(m->Name(), index.name)) return HandOut(m, menu);
    return E_INVALIDARG;
  }
  if (index.number < 0 || index.number >= static_cast<long long>(menus.size())) return E_INVALIDARG;
  return HandOut(menus[static_cast<size_t>(index.number)], menu);
}

std::vector<PopupMenu*> GroupMenus(const MenuState& state) {
  std::vector<PopupMenu*> menus;
  for (const Ref<PopupMenu>& m : state.groupMenus) menus.push_back(m.get());
  return menus;
}

class MenuBar : public AutomationObject<IAcadMenuBar> {
 public:
  explicit MenuBar(std::shared_ptr<MenuState> state) : m_state(std::move(state)) {}
  HRESULT get_Count(long* count) override {
    if (!count) return E_POINTER;
    if (m_state->retired) return E_UNEXPECTED;
    *count = static_cast<long>(m_state->bar.size());
    return S_OK;
  }
  HRESULT Item(VARIANT at, IAcadPopupMenu** menu) override {
    if (m_state->retired) return Refuse(menu);
    return FindMenu(m_state->bar, at, menu);
  }

 private:
  std::shared_ptr<MenuState> m_state;
};

class PopupMenus : public AutomationObject<IAcadPopupMenus> {
 public:
  explicit PopupMenus(std::shared_ptr<MenuState> state) : m_state(std::move(state)) {}
  HRESULT get_Count(long* count) override {
    if (!count) return E_POINTER;
    if (m_state->retired) return E_UNEXPECTED;
    *count = static_cast<long>(m_state->groupMenus.size());
    return S_OK;
  }
  HRESULT Item(VARIANT at, IAcadPopupMenu** menu) override {
    if (m_state->retired) return Refuse(menu);
    return FindMenu(GroupMenus(*m_state), at, menu);
  }
  HRESULT Add(BSTR name, IAcadPopupMenu** menu) override {
    if (!menu) return E_POINTER;
    *menu = nullptr;
    if (m_state->retired) return E_UNEXPECTED;
    if (!name || !*name) return E_INVALIDARG;
    Ref<PopupMenu> added(new PopupMenu(name, m_state));
    m_state->groupMenus.push_back(added);
    return HandOut(added.get(), menu);
  }
  HRESULT InsertMenuInMenuBar(BSTR name, VARIANT at) override {
    if (m_state->retired) return E_UNEXPECTED;
    if (!name) return E_INVALIDARG;
    for (const Ref<PopupMenu>& m : m_state->groupMenus)
      if (SameTitle(m->Name(), name)) return m_state->Insert(m.get(), at);
    return E_INVALIDARG;
  }
  HRESULT RemoveMenuFromMenuBar(VARIANT at) override {
    if (m_state->retired) return E_UNEXPECTED;
    IAcadPopupMenu* menu = nullptr;
    HRESULT hr = FindMenu(m_state->bar, at, &menu);
    if (FAILED(hr)) return hr;
    hr = menu->RemoveFromMenuBar();
    menu->Release();
    return hr;
  }

 private:
  std::shared_ptr<MenuState> m_state;
};

class MenuGroup : public AutomationObject<IAcadMenuGroup> {
 public:
  explicit MenuGroup(std::shared_ptr<MenuState> state) : m_state(std::move(state)) {}
  HRESULT get_Name(BSTR* name) override { return CopyText(m_state->groupName, name); }
  HRESULT get_Menus(IAcadPopupMenus** menus) override {
    if (m_state->retired) return Refuse(menus);
    return HandOut(static_cast<IAcadPopupMenus*>(new PopupMenus(m_state)), menus);
  }

 private:
  std::shared_ptr<MenuState> m_state;
};

class MenuGroups : public AutomationObject<IAcadMenuGroups> {
 public:
  explicit MenuGroups(std::shared_ptr<MenuState> state) : m_state(std::move(state)) {}
  HRESULT get_Count(long* count) override {
    if (!count) return E_POINTER;
    if (m_state->retired) return E_UNEXPECTED;
    *count = 1;
    return S_OK;
  }
  HRESULT Item(VARIANT at, IAcadMenuGroup** group) override {
    if (!group) return E_POINTER;
    *group = nullptr;
    if (m_state->retired) return E_UNEXPECTED;
    Index index;
    HRESULT hr = ReadIndex(at, true, index);
    if (FAILED(hr)) return hr;
    bool found = index.isName ? SameTitle(index.name, m_state->groupName) : index.number == 0;
    if (!found) return E_INVALIDARG;
    return HandOut(static_cast<IAcadMenuGroup*>(new MenuGroup(m_state)), group);
  }

 private:
  std::shared_ptr<MenuState> m_state;
};

struct DefaultMenu {
  const wchar_t* title;
  std::vector<std::pair<const wchar_t*, const wchar_t*>> items;
};

std::shared_ptr<MenuState> MakeDefaultState() {
  static const DefaultMenu kMenus[] = {
      {L"File", {{L"New...", L"^C^C_new "}, {L"Open...", L"^C^C_open "}, {L"Save As...", L"^C^C_saveas "},
                 {L"Exit", L"^C^C_quit "}}},
      {L"Edit", {{L"Undo", L"^C^C_u "}, {L"Copy", L"^C^C_copyclip "}, {L"Paste", L"^C^C_pasteclip "}}},
      {L"View", {{L"Redraw", L"^C^C_redraw "}, {L"Zoom Extents", L"^C^C_zoom _e "}}},
      {L"Insert", {{L"Block...", L"^C^C_insert "}}},
      {L"Format", {{L"Layer...", L"^C^C_layer "}, {L"Linetype...", L"^C^C_linetype "}}},
      {L"Tools", {{L"Load Application...", L"^C^C_appload "}}},
      {L"Draw", {{L"Line", L"^C^C_line "}, {L"Polyline", L"^C^C_pline "}, {L"Circle", L"^C^C_circle "}}},
      {L"Dimension", {{L"Linear", L"^C^C_dimlinear "}}},
      {L"Modify", {{L"Erase", L"^C^C_erase "}, {L"List", L"^C^C_list "}}},
      {L"Window", {{L"Close", L"^C^C_close "}}},
      {L"Help", {{L"Help", L"^C^C_help "}}},
  };
  auto state = std::make_shared<MenuState>();
  for (const DefaultMenu& menu : kMenus) {
    Ref<PopupMenu> popup(new PopupMenu(menu.title, state));
    for (const auto& [label, macro] : menu.items) popup->Add(label, macro);
    state->groupMenus.push_back(popup);
    state->bar.push_back(popup.get());
  }
  return state;
}

class Application : public AutomationObject<IAcadApplication> {
 public:
  Application() : m_state(MakeDefaultState()) {}
  HRESULT get_Visible(VARIANT_BOOL* visible) override {
    if (!visible) return E_POINTER;
    *visible = m_state->visible ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT put_Visible(VARIANT_BOOL visible) override {
    m_state->visible = visible != VARIANT_FALSE;
    return S_OK;
  }
  HRESULT get_MenuBar(IAcadMenuBar** menuBar) override {
    return HandOut(static_cast<IAcadMenuBar*>(new MenuBar(m_state)), menuBar);
  }
  HRESULT get_MenuGroups(IAcadMenuGroups** menuGroups) override {
    return HandOut(static_cast<IAcadMenuGroups*>(new MenuGroups(m_state)), menuGroups);
  }

  const MenuState& State() const { return *m_state; }
  void Reset() {
    m_state->retired = true;
    m_state = MakeDefaultState();
  }

 private:
  std::shared_ptr<MenuState> m_state;
};

// The host's application object: one reference held for the life of the
// process, given up at exit.
Application& TheApplication() {
  static Ref<Application> app(new Application);
  return *app.get();
}

}  // namespace

void ResetAutomation() { TheApplication().Reset(); }

std::vector<std::wstring> MenuBarTitles() {
  std::vector<std::wstring> titles;
  for (const PopupMenu* m : TheApplication().State().bar) titles.push_back(m->Name());
  return titles;
}

std::vector<std::wstring> PopupsOffMenuBar() {
  const MenuState& state = TheApplication().State();
  std::vector<std::wstring> titles;
  for (const Ref<PopupMenu>& m : state.groupMenus)
    if (!state.OnBar(m.get())) titles.push_back(m->Name());
  return titles;
}

bool ApplicationVisible() { return TheApplication().State().visible; }

std::vector<std::pair<std::wstring, std::wstring>> MenuBarItems(size_t index) {
  const MenuState& state = TheApplication().State();
  if (index >= state.bar.size()) return {};
  return state.bar[index]->Items();
}

MenuPick FindMenuItem(const std::wstring& popupTitle, const std::wstring& itemLabel, std::wstring& macro) {
  const MenuState& state = TheApplication().State();
  for (const PopupMenu* m : state.bar) {
    if (!SameTitle(m->Name(), popupTitle)) continue;
    const PopupMenuItem* item = m->FindItem(itemLabel);
    if (!item) return MenuPick::kNoItem;
    macro = item->Macro();
    return MenuPick::kFound;
  }
  for (const Ref<PopupMenu>& m : state.groupMenus)
    if (SameTitle(m->Name(), popupTitle)) return MenuPick::kNotOnMenuBar;
  return MenuPick::kNoPopup;
}

std::wstring MacroKeystrokes(const std::wstring& macro) {
  std::wstring keys;
  for (size_t i = 0; i < macro.size(); ++i) {
    if (macro[i] == L'^' && i + 1 < macro.size() && win::textutil::UpperChar(macro[i + 1]) == L'C') {
      keys.push_back(L'\x1B');
      ++i;
    } else if (macro[i] == L';') {
      keys.push_back(L'\r');
    } else {
      keys.push_back(macro[i]);
    }
  }
  return keys;
}

long LiveAutomationObjects() { return g_liveObjects.load(); }

}  // namespace acad

IDispatch* AcadGetIDispatch(BOOL bAddRef) {
  IDispatch* dispatch = &acad::TheApplication();
  if (bAddRef) dispatch->AddRef();
  return dispatch;
}
