// The host's main frame window (owner of its dialogs and message boxes, holder
// of its caption and icons) and its command-line child window.
#include "acedframe.h"

#include <memory>

#include "acedcmdline.h"
#include "acui.h"
#include "rxmfcapi.h"

namespace {

// The size of an icon in pixels; an empty result for a handle that is no icon.
acad::FrameIcon Measure(HICON icon) {
  acad::FrameIcon result;
  ICONINFO info{};
  if (!icon || !::GetIconInfo(icon, &info)) return result;
  BITMAP bitmap{};
  if (info.hbmColor && ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) {
    result.present = true;
    result.width = bitmap.bmWidth;
    result.height = bitmap.bmHeight;
  }
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  return result;
}

// The main frame keeps the icons it is sent, as a top-level window does, and
// answers WM_GETICON with them. The window does not own them.
class FrameWnd : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETICON) {
      bool big = wParam == ICON_BIG;
      HICON& slot = big ? m_bigIcon : m_smallIcon;
      HICON previous = slot;
      slot = reinterpret_cast<HICON>(lParam);
      (big ? m_bigSize : m_smallSize) = Measure(slot);
      return reinterpret_cast<LRESULT>(previous);
    }
    if (message == WM_GETICON) return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? m_bigIcon : m_smallIcon);
    return CWnd::WindowProc(message, wParam, lParam);
  }

  acad::FrameIcon SmallIcon() const { return m_smallSize; }
  acad::FrameIcon BigIcon() const { return m_bigSize; }

 private:
  HICON m_smallIcon = nullptr;
  HICON m_bigIcon = nullptr;
  acad::FrameIcon m_smallSize;
  acad::FrameIcon m_bigSize;
};

// The command-line window: each character it is sent is typed into the
// command line's pending input.
class CommandLineWnd : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_CHAR) {
      acad::CommandLineInput::Instance().Type(static_cast<wchar_t>(wParam));
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

BOOL RegisterCommandLineClass() {
  WNDCLASS wc{};
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_IBEAM);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  wc.lpszClassName = acad::kAcadCmdLineClass;
  return AfxRegisterClass(&wc);
}

// Holds the frame object. The window is made inside the holder's
// constructor, so the window system's own state exists before the holder
// and outlives it at exit.
class FrameHolder {
 public:
  FrameHolder() { Make(); }
  ~FrameHolder() {
    if (m_frame && ::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
  }
  FrameHolder(const FrameHolder&) = delete;
  FrameHolder& operator=(const FrameHolder&) = delete;

  FrameWnd* Get() {
    if (!m_frame || !::IsWindow(m_frame->m_hWnd)) Make();
    return m_frame && m_frame->m_hWnd ? m_frame.get() : nullptr;
  }

  CWnd* CommandLine() {
    FrameWnd* frame = Get();
    if (!frame) return nullptr;
    if (!m_cmdLine || !::IsWindow(m_cmdLine->m_hWnd)) {
      RegisterCommandLineClass();
      m_cmdLine = std::make_unique<CommandLineWnd>();
      // Docked along the bottom of the frame's client area, three lines high.
      CRect client;
      frame->GetClientRect(&client);
      CRect rect(0, client.bottom - 60, client.right, client.bottom);
      if (!m_cmdLine->CreateEx(0, acad::kAcadCmdLineClass, L"Command Line", WS_CHILD | WS_VISIBLE, rect, frame, 0)) {
        m_cmdLine.reset();
        return nullptr;
      }
    }
    return m_cmdLine.get();
  }

 private:
  void Make() {
    InitAcUiDLL();
    m_cmdLine.reset();
    m_frame = std::make_unique<FrameWnd>();
    LPCTSTR name = AfxGetAppName();
    const wchar_t* caption = name && *name ? name : L"AutoCAD";
    if (!m_frame->CreateEx(0, acad::kAcadFrameClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           CRect(0, 0, 1280, 984), nullptr, 0)) {
      m_frame.reset();
      return;
    }
    ::SetActiveWindow(m_frame->m_hWnd);
  }

  std::unique_ptr<FrameWnd> m_frame;
  std::unique_ptr<CommandLineWnd> m_cmdLine;
};

FrameHolder& Holder() {
  static FrameHolder holder;
  return holder;
}

}  // namespace

CWnd* acedGetAcadFrame() { return Holder().Get(); }

CWnd* acedGetAcadDockCmdLine() { return Holder().CommandLine(); }

HWND adsw_acadMainWnd() {
  CWnd* frame = acedGetAcadFrame();
  return frame ? frame->m_hWnd : nullptr;
}

namespace acad {

std::wstring FrameCaption() {
  CWnd* frame = acedGetAcadFrame();
  if (!frame) return L"";
  CString caption;
  frame->GetWindowText(caption);
  return std::wstring(caption.GetString());
}

FrameIcon FrameSmallIcon() {
  FrameWnd* frame = Holder().Get();
  return frame ? frame->SmallIcon() : FrameIcon{};
}

FrameIcon FrameBigIcon() {
  FrameWnd* frame = Holder().Get();
  return frame ? frame->BigIcon() : FrameIcon{};
}

}  // namespace acad
