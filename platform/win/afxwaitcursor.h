// CWaitCursor: shows the hourglass for as long as the object lives and puts
// back the cursor that was shown before.
#pragma once

#include "winuser.h"

class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  // Shows the hourglass again (after a message box, say, changed the cursor).
  void Restore();

 private:
  HCURSOR m_hOldCursor;
};
