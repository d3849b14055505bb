// The message maps: tables that bind window messages, commands and
// notifications to member functions, and the macros that build them.
#pragma once

#include "winuser.h"

class CWnd;

// ---------------------------------------------------------------- message maps

#define afx_msg
#define WM_REFLECT_BASE 0xBC00
#define WM_CTLCOLOR 0x0019
#define CN_COMMAND 0

// A message map entry: what it matches and a thunk that cracks the message's
// parameters and calls the member function. The thunk returns FALSE only for
// the "_EX" entries whose handler declined the message.
typedef BOOL (*AFX_PMSG)(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  const UINT* pnRegistered;  // ON_REGISTERED_MESSAGE: the variable holding the message
  AFX_PMSG pfn;
};
struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                    \
 protected:                                      \
  static const AFX_MSGMAP* GetThisMessageMap();  \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                               \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }          \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                          \
    typedef theClass ThisClass;                                                              \
    typedef baseClass TheBaseClass;                                                          \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                     \
  {0, 0, 0, 0, nullptr, nullptr}};                                                            \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                         \
  }

#define AFX_THUNK(body)                                                                        \
  [](CWnd* pWnd_, UINT message_, WPARAM wParam, LPARAM lParam, LRESULT* pResult) -> BOOL {   \
    ThisClass* pThis_ = static_cast<ThisClass*>(pWnd_);                                        \
    (void)pThis_; (void)message_; (void)wParam; (void)lParam; (void)pResult;                   \
    body;                                                                                      \
    return TRUE;                                                                               \
  }
#define AFX_MSG_ENTRY(msg, body) {msg, 0, 0, 0, nullptr, AFX_THUNK(body)},
#define AFX_PT CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))

#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, *pResult = pThis_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)))
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, pThis_->OnDestroy())
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, pThis_->OnNcDestroy())
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, pThis_->OnPaint())
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, pThis_->OnClose())
#define ON_WM_ERASEBKGND() \
  AFX_MSG_ENTRY(WM_ERASEBKGND, *pResult = pThis_->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))))
#define ON_WM_SIZE() \
  AFX_MSG_ENTRY(WM_SIZE, pThis_->OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
#define ON_WM_MOVE() \
  AFX_MSG_ENTRY(WM_MOVE, pThis_->OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, pThis_->OnTimer(static_cast<UINT_PTR>(wParam)))
#define ON_WM_LBUTTONDOWN() AFX_MSG_ENTRY(WM_LBUTTONDOWN, pThis_->OnLButtonDown(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_LBUTTONUP() AFX_MSG_ENTRY(WM_LBUTTONUP, pThis_->OnLButtonUp(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_LBUTTONDBLCLK() AFX_MSG_ENTRY(WM_LBUTTONDBLCLK, pThis_->OnLButtonDblClk(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_RBUTTONDOWN() AFX_MSG_ENTRY(WM_RBUTTONDOWN, pThis_->OnRButtonDown(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_RBUTTONUP() AFX_MSG_ENTRY(WM_RBUTTONUP, pThis_->OnRButtonUp(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_RBUTTONDBLCLK() AFX_MSG_ENTRY(WM_RBUTTONDBLCLK, pThis_->OnRButtonDblClk(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_MBUTTONDOWN() AFX_MSG_ENTRY(WM_MBUTTONDOWN, pThis_->OnMButtonDown(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_MBUTTONUP() AFX_MSG_ENTRY(WM_MBUTTONUP, pThis_->OnMButtonUp(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_MOUSEMOVE() AFX_MSG_ENTRY(WM_MOUSEMOVE, pThis_->OnMouseMove(static_cast<UINT>(wParam), AFX_PT))
#define ON_WM_MOUSEWHEEL()                                                                               \
  AFX_MSG_ENTRY(WM_MOUSEWHEEL, *pResult = pThis_->OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), AFX_PT))
#define ON_WM_KEYDOWN() \
  AFX_MSG_ENTRY(WM_KEYDOWN, pThis_->OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_KEYUP() AFX_MSG_ENTRY(WM_KEYUP, pThis_->OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_CHAR() AFX_MSG_ENTRY(WM_CHAR, pThis_->OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_SYSKEYDOWN() \
  AFX_MSG_ENTRY(WM_SYSKEYDOWN, pThis_->OnSysKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, pThis_->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, pThis_->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_SETCURSOR()                                                                                 \
  AFX_MSG_ENTRY(WM_SETCURSOR, *pResult = pThis_->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), \
                                                             LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, *pResult = pThis_->OnNcHitTest(AFX_PT))
#define ON_WM_HSCROLL()                                                                             \
  AFX_MSG_ENTRY(WM_HSCROLL, pThis_->OnHScroll(LOWORD(wParam), HIWORD(wParam),                       \
                                              reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))))
#define ON_WM_VSCROLL()                                                                             \
  AFX_MSG_ENTRY(WM_VSCROLL, pThis_->OnVScroll(LOWORD(wParam), HIWORD(wParam),                       \
                                              reinterpret_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam)))))
#define ON_WM_CAPTURECHANGED() \
  AFX_MSG_ENTRY(WM_CAPTURECHANGED, pThis_->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, *pResult = pThis_->OnGetDlgCode())
#define ON_WM_CTLCOLOR()                                                                                      \
  AFX_MSG_ENTRY(WM_CTLCOLOR, *pResult = reinterpret_cast<LRESULT>(pThis_->OnCtlColor(                           \
                                 CDC::FromHandle(reinterpret_cast<HDC>(wParam)),                              \
                                 CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), message_ - WM_CTLCOLORMSGBOX)))
#define ON_WM_SHOWWINDOW() AFX_MSG_ENTRY(WM_SHOWWINDOW, pThis_->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)))
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, pThis_->OnEnable(static_cast<BOOL>(wParam)))
#define ON_WM_CONTEXTMENU() \
  AFX_MSG_ENTRY(WM_CONTEXTMENU, pThis_->OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), AFX_PT))
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, pThis_->OnSysCommand(static_cast<UINT>(wParam), lParam))
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, pThis_->OnSysColorChange())
#define ON_WM_SETTINGCHANGE() \
  AFX_MSG_ENTRY(WM_SETTINGCHANGE, pThis_->OnSettingChange(static_cast<UINT>(wParam), reinterpret_cast<LPCTSTR>(lParam)))
#define ON_WM_QUERYDRAGICON() AFX_MSG_ENTRY(0x0037, *pResult = reinterpret_cast<LRESULT>(pThis_->OnQueryDragIcon()))
#define ON_WM_MOUSEACTIVATE()                                                                                  \
  AFX_MSG_ENTRY(WM_MOUSEACTIVATE, *pResult = pThis_->OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), \
                                                                     LOWORD(lParam), HIWORD(lParam)))

#define ON_MESSAGE(message, memberFxn) \
  AFX_MSG_ENTRY(message, *pResult = (pThis_->*(static_cast<LRESULT (ThisClass::*)(WPARAM, LPARAM)>(memberFxn)))(wParam, lParam))
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                            \
  {0, 0, 0, 0, &(nMessageVariable),                                                                   \
   AFX_THUNK(*pResult = (pThis_->*(static_cast<LRESULT (ThisClass::*)(WPARAM, LPARAM)>(memberFxn)))(wParam, lParam))},

#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_THUNK((pThis_->*(memberFxn))())},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                               \
  {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr,        \
   AFX_THUNK((pThis_->*(memberFxn))(static_cast<UINT>(LOWORD(wParam))))},
#define ON_CONTROL(code, id, memberFxn) \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_THUNK((pThis_->*(memberFxn))())},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                              \
  {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, \
   AFX_THUNK((pThis_->*(memberFxn))(static_cast<UINT>(LOWORD(wParam))))},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                                          \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr,   \
   AFX_THUNK((pThis_->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), pResult))},
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                                \
  {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr,   \
   AFX_THUNK((pThis_->*(memberFxn))(static_cast<UINT>(reinterpret_cast<NMHDR*>(lParam)->idFrom),   \
                                    reinterpret_cast<NMHDR*>(lParam), pResult))},
#define ON_NOTIFY_REFLECT(code, memberFxn)                                           \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, nullptr,              \
   AFX_THUNK((pThis_->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), pResult))},
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                        \
  {WM_REFLECT_BASE + WM_NOTIFY, static_cast<UINT>(code), 0, 0, nullptr,              \
   AFX_THUNK(return (pThis_->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), pResult))},
#define ON_CONTROL_REFLECT(code, memberFxn) \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, nullptr, AFX_THUNK((pThis_->*(memberFxn))())},
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
  {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, nullptr, AFX_THUNK(return (pThis_->*(memberFxn))())},
