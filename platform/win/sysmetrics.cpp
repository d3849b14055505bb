// System metrics and colours: a classic grey theme at 96 dots per inch on a
// 1280 x 1024 screen, and the parameters SystemParametersInfo answers.
#include <cwchar>

#include "wingdi.h"
#include "winuser.h"

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return 1280;
    case SM_CYSCREEN: return 1024;
    case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL: return 17;
    case SM_CYVTHUMB: case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 23;
    case SM_CXBORDER: case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: case SM_CYFRAME: return 4;
    case SM_CXEDGE: case SM_CYEDGE: return 2;
    case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
    case SM_CXSMICON: case SM_CYSMICON: return 16;
    case SM_CYMENU: return 20;
    case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG: case SM_CYDRAG: return 4;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_SWAPBUTTON: return 0;
    default: return 0;
  }
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_SCROLLBAR: return RGB(212, 208, 200);
    case COLOR_BACKGROUND: return RGB(58, 110, 165);
    case COLOR_ACTIVECAPTION: return RGB(10, 36, 106);
    case COLOR_INACTIVECAPTION: return RGB(128, 128, 128);
    case COLOR_MENU: return RGB(212, 208, 200);
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWFRAME: return RGB(0, 0, 0);
    case COLOR_MENUTEXT: return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT: return RGB(0, 0, 0);
    case COLOR_CAPTIONTEXT: return RGB(255, 255, 255);
    case COLOR_ACTIVEBORDER: case COLOR_INACTIVEBORDER: return RGB(212, 208, 200);
    case COLOR_APPWORKSPACE: return RGB(128, 128, 128);
    case COLOR_HIGHLIGHT: return RGB(10, 36, 106);
    case COLOR_HIGHLIGHTTEXT: return RGB(255, 255, 255);
    case COLOR_BTNFACE: return RGB(212, 208, 200);
    case COLOR_BTNSHADOW: return RGB(128, 128, 128);
    case COLOR_GRAYTEXT: return RGB(128, 128, 128);
    case COLOR_BTNTEXT: return RGB(0, 0, 0);
    case COLOR_INACTIVECAPTIONTEXT: return RGB(212, 208, 200);
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_3DDKSHADOW: return RGB(64, 64, 64);
    case COLOR_3DLIGHT: return RGB(212, 208, 200);
    case COLOR_INFOTEXT: return RGB(0, 0, 0);
    case COLOR_INFOBK: return RGB(255, 255, 225);
    case COLOR_HOTLIGHT: return RGB(0, 0, 128);
    default: return 0;
  }
}

BOOL SystemParametersInfoW(UINT action, UINT, PVOID data, UINT) {
  if (!data) return FALSE;
  switch (action) {
    case SPI_GETWHEELSCROLLLINES: *static_cast<UINT*>(data) = 3; return TRUE;
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(data) = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 30};
      return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
      auto* m = static_cast<NONCLIENTMETRICSW*>(data);
      UINT size = m->cbSize;
      if (size != sizeof(NONCLIENTMETRICSW)) return FALSE;
      *m = NONCLIENTMETRICSW{};
      m->cbSize = size;
      m->iBorderWidth = 1;
      m->iScrollWidth = m->iScrollHeight = 17;
      m->iCaptionWidth = m->iCaptionHeight = 22;
      m->iSmCaptionWidth = m->iSmCaptionHeight = 17;
      m->iMenuWidth = m->iMenuHeight = 19;
      auto font = [](LOGFONTW& lf, LONG weight) {
        lf = LOGFONTW{};
        lf.lfHeight = -12;
        lf.lfWeight = weight;
        lf.lfCharSet = GB2312_CHARSET;
        wcscpy(lf.lfFaceName, L"宋体");
      };
      font(m->lfCaptionFont, FW_BOLD);
      font(m->lfSmCaptionFont, FW_BOLD);
      font(m->lfMenuFont, FW_NORMAL);
      font(m->lfStatusFont, FW_NORMAL);
      font(m->lfMessageFont, FW_NORMAL);
      return TRUE;
    }
    default: return FALSE;
  }
}
