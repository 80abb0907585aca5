#pragma once
// A push button, check box or radio button (class "Button").
#include "framework/wnd.h"

class CButton : public CWnd {
 public:
  BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* pParent, UINT id);

  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
  UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
  // The BS_ type bits (BS_PUSHBUTTON, BS_OWNERDRAW, ...) of the window style.
  UINT GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }
  void SetButtonStyle(UINT style, BOOL redraw = TRUE) { SendMessage(BM_SETSTYLE, style, MAKELPARAM(redraw, 0)); }
};
