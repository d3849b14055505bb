#include "acedframe.h"

#include <memory>

#include "acui.h"

namespace {

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

  CWnd* Get() {
    if (!m_frame || !::IsWindow(m_frame->m_hWnd)) Make();
    return m_frame && m_frame->m_hWnd ? m_frame.get() : nullptr;
  }

 private:
  void Make() {
    InitAcUiDLL();
    m_frame = std::make_unique<CWnd>();
    LPCTSTR name = AfxGetAppName();
    const wchar_t* caption = name && *name ? name : L"AutoCAD";
    if (!m_frame->CreateEx(0, acad::kAcadFrameClass, caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           CRect(0, 0, 1280, 984), nullptr, 0)) {
      m_frame.reset();
      return;
    }
    ::SetActiveWindow(m_frame->m_hWnd);
  }

  std::unique_ptr<CWnd> m_frame;
};

}  // namespace

CWnd* acedGetAcadFrame() {
  static FrameHolder holder;
  return holder.Get();
}
