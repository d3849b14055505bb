// The CAD host's in-process automation interfaces: the application object, its
// menu bar, menu groups and pop-up menus. Modules reach the application through
// AcadGetIDispatch (rxmfcapi.h) and query it for IAcadApplication.
//
// Conventions, as with every automation interface:
// - every call returns an HRESULT; out parameters are null on failure;
// - an interface handed out has one reference that the caller releases;
// - a BSTR handed out belongs to the caller (SysFreeString); a BSTR passed in
//   is only read, as a terminated wide text (a plain wide buffer will do);
// - a VARIANT index is a number (0-based; any integer or real type, or text
//   that reads as a number) or, for Item, the name of the element.
#pragma once

#include "comutil.h"
#include "unknwn.h"
#include "wintypes.h"

struct IAcadPopupMenuItem : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Label(BSTR* label) = 0;
  virtual HRESULT get_Macro(BSTR* macro) = 0;
};

struct IAcadPopupMenu : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Name(BSTR* name) = 0;
  virtual HRESULT get_Count(long* count) = 0;
  // The item at an index, or the first one with that label.
  virtual HRESULT Item(VARIANT index, IAcadPopupMenuItem** item) = 0;
  // Adds an item before the index; an index past the end (or below 0) appends.
  // item may be null when the caller does not want the new item.
  virtual HRESULT AddMenuItem(VARIANT index, BSTR label, BSTR macro, IAcadPopupMenuItem** item) = 0;
  // Puts the pop-up on the menu bar before the index (see IAcadMenuBar).
  virtual HRESULT InsertInMenuBar(VARIANT index) = 0;
  virtual HRESULT RemoveFromMenuBar() = 0;
  virtual HRESULT get_OnMenuBar(VARIANT_BOOL* onMenuBar) = 0;
};

// The menus on the host's menu bar, left to right. Inserting at an index below
// 0 puts the pop-up first, at an index past the count puts it last; a pop-up
// already on the bar is refused (E_FAIL) until it is removed.
struct IAcadMenuBar : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Count(long* count) = 0;
  virtual HRESULT Item(VARIANT index, IAcadPopupMenu** menu) = 0;
};

// The pop-up menus of one menu group, on the menu bar or not.
struct IAcadPopupMenus : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Count(long* count) = 0;
  virtual HRESULT Item(VARIANT index, IAcadPopupMenu** menu) = 0;
  // Makes a new pop-up menu in the group (not yet on the menu bar). Titles
  // need not be unique. An empty or missing name fails and *menu is null.
  virtual HRESULT Add(BSTR name, IAcadPopupMenu** menu) = 0;
  // Puts the group's first pop-up of that name on the menu bar before index.
  virtual HRESULT InsertMenuInMenuBar(BSTR name, VARIANT index) = 0;
  // Takes the menu at this menu-bar index (or of this name) off the bar.
  virtual HRESULT RemoveMenuFromMenuBar(VARIANT index) = 0;
};

struct IAcadMenuGroup : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Name(BSTR* name) = 0;
  virtual HRESULT get_Menus(IAcadPopupMenus** menus) = 0;
};

struct IAcadMenuGroups : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Count(long* count) = 0;
  virtual HRESULT Item(VARIANT index, IAcadMenuGroup** group) = 0;
};

struct IAcadApplication : IDispatch {
  static const GUID& Uuid();
  virtual HRESULT get_Visible(VARIANT_BOOL* visible) = 0;
  virtual HRESULT put_Visible(VARIANT_BOOL visible) = 0;
  virtual HRESULT get_MenuBar(IAcadMenuBar** menuBar) = 0;
  virtual HRESULT get_MenuGroups(IAcadMenuGroups** menuGroups) = 0;
};
