#pragma once
// A scroll-bar control (class "ScrollBar"). The scroll information goes through the SBM_
// messages, so a derived bar that answers them in its WindowProc is read and set the same way.
#include "framework/wnd.h"

class CScrollBar : public CWnd {
 public:
  // style: WS_CHILD plus SBS_HORZ or SBS_VERT (and WS_VISIBLE when wanted).
  BOOL Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id);

  BOOL GetScrollInfo(SCROLLINFO* info, UINT mask = SIF_ALL) const;
  BOOL SetScrollInfo(const SCROLLINFO& info, BOOL redraw = TRUE);
  int GetScrollPos() const;
  bool IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }
};
