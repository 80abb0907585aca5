#include "framework/static.h"

BOOL CStatic::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* pParent, UINT id) {
  return CreateEx(0, L"STATIC", text, style, rect, pParent ? pParent->m_hWnd : nullptr, id);
}
