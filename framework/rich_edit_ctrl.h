#pragma once
// The rich edit control "RichEdit20W". Its library comes from the system folder only: an
// elevated program must not pick up a riched20.dll planted next to it.
#include <richedit.h>

#include "framework/wnd.h"

class CRichEditCtrl : public CWnd {
 public:
  // Loads riched20.dll once per process and keeps it (controls may exist until exit).
  static bool InitRichEdit();
  static constexpr const wchar_t* kClassName = L"RichEdit20W";

  BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id);
  void SetReadOnly(bool readOnly = true) { SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE); }
  COLORREF SetBackgroundColor(COLORREF color) { return static_cast<COLORREF>(SendMessage(EM_SETBKGNDCOLOR, 0, color)); }
  DWORD SetEventMask(DWORD mask) { return static_cast<DWORD>(SendMessage(EM_SETEVENTMASK, 0, mask)); }
  int GetFirstVisibleLine() const { return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)); }
  int GetLineCount() const { return static_cast<int>(SendMessage(EM_GETLINECOUNT)); }
  BOOL LineScroll(int lines) { return static_cast<BOOL>(SendMessage(EM_LINESCROLL, 0, lines)); }
};
