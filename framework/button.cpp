#include "framework/button.h"

BOOL CButton::Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* pParent, UINT id) {
  return CreateEx(0, L"BUTTON", caption, style, rect, pParent ? pParent->m_hWnd : nullptr, id);
}
