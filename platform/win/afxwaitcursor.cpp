// The wait cursor.
#include "afxwaitcursor.h"

CWaitCursor::CWaitCursor() : m_hOldCursor(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}

CWaitCursor::~CWaitCursor() { ::SetCursor(m_hOldCursor ? m_hOldCursor : ::LoadCursorW(nullptr, IDC_ARROW)); }

void CWaitCursor::Restore() { ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)); }
