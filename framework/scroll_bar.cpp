#include "framework/scroll_bar.h"

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id) {
  return CreateEx(0, L"SCROLLBAR", nullptr, style, rect, pParent ? pParent->m_hWnd : nullptr, id);
}

BOOL CScrollBar::GetScrollInfo(SCROLLINFO* info, UINT mask) const {
  info->cbSize = sizeof(SCROLLINFO);
  info->fMask = mask;
  return static_cast<BOOL>(SendMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
}

BOOL CScrollBar::SetScrollInfo(const SCROLLINFO& info, BOOL redraw) {
  SCROLLINFO copy = info;
  copy.cbSize = sizeof(SCROLLINFO);
  return static_cast<BOOL>(SendMessage(SBM_SETSCROLLINFO, static_cast<WPARAM>(redraw), reinterpret_cast<LPARAM>(&copy)));
}

int CScrollBar::GetScrollPos() const {
  SCROLLINFO info{};
  if (!GetScrollInfo(&info, SIF_POS)) return 0;
  return info.nPos;
}
