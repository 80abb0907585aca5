#pragma once
// A static control (class "Static").
#include "framework/wnd.h"

class CStatic : public CWnd {
 public:
  BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT id = 0xFFFF);
};
