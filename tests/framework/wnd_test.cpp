// CWnd: binding of the object, unpacked handlers, the "not handled" rule, subclassing and
// owner-draw reflection.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/button.h"
#include "framework/scroll_bar.h"
#include "framework/wnd.h"
#include "message_log.h"
#include "test_support.h"

namespace {

std::string Format(const char* format, long long a = 0, long long b = 0, long long c = 0) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

// Takes every message it can unpack and writes down what the handler received.
class CHandlingWnd : public CWnd {
 public:
  CMessageLog log;
  std::vector<std::string> calls;
  HWND boundAtCreate = nullptr;
  CWnd* foundAtCreate = nullptr;
  int postNcDestroyCount = 0;
  HWND handleAtNcDestroy = nullptr;
  bool foundAtNcDestroy = false;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    log.Add(msg, wParam, lParam);
    return CWnd::WindowProc(msg, wParam, lParam);
  }
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (msg != WM_APP + 1) return false;
    calls.push_back(Format("OnMessage(%lld,%lld)", static_cast<long long>(wParam), lParam));
    result = 42;
    return true;
  }
  int OnCreate(CREATESTRUCTW* cs) override {
    boundAtCreate = m_hWnd;
    foundAtCreate = FromHandlePermanent(m_hWnd);
    return CWnd::OnCreate(cs);
  }
  void OnNcDestroy() override {
    handleAtNcDestroy = m_hWnd;
    foundAtNcDestroy = FromHandlePermanent(m_hWnd) == this;
    CWnd::OnNcDestroy();
  }
  void PostNcDestroy() override { ++postNcDestroyCount; }
  void OnMove(int x, int y) override { calls.push_back(Format("OnMove(%lld,%lld)", x, y)); }
  void OnSize(UINT type, int cx, int cy) override { calls.push_back(Format("OnSize(%lld,%lld,%lld)", type, cx, cy)); }
  void OnTimer(UINT_PTR id) override { calls.push_back(Format("OnTimer(%lld)", static_cast<long long>(id))); }
  LRESULT OnNcHitTest(POINT pt) override {
    calls.push_back(Format("OnNcHitTest(%lld,%lld)", pt.x, pt.y));
    return HTCAPTION;
  }
  void OnLButtonDown(UINT flags, POINT pt) override { calls.push_back(Format("OnLButtonDown(%lld,%lld,%lld)", flags, pt.x, pt.y)); }
  void OnLButtonUp(UINT flags, POINT pt) override { calls.push_back(Format("OnLButtonUp(%lld,%lld,%lld)", flags, pt.x, pt.y)); }
  void OnLButtonDblClk(UINT flags, POINT pt) override { calls.push_back(Format("OnLButtonDblClk(%lld,%lld,%lld)", flags, pt.x, pt.y)); }
  void OnMButtonDown(UINT flags, POINT pt) override { calls.push_back(Format("OnMButtonDown(%lld,%lld,%lld)", flags, pt.x, pt.y)); }
  void OnRButtonDown(UINT flags, POINT pt) override { calls.push_back(Format("OnRButtonDown(%lld,%lld,%lld)", flags, pt.x, pt.y)); }
  void OnNcRButtonDown(UINT hit, POINT pt) override { calls.push_back(Format("OnNcRButtonDown(%lld,%lld,%lld)", hit, pt.x, pt.y)); }
  void OnMouseMove(UINT flags, POINT pt) override { calls.push_back(Format("OnMouseMove(%lld,%lld,%lld)", flags, pt.x, pt.y)); }
  void OnMouseHover(UINT flags, POINT pt) override { calls.push_back(Format("OnMouseHover(%lld,%lld,%lld)", flags, pt.x, pt.y)); }
  void OnMouseLeave() override { calls.push_back("OnMouseLeave()"); }
  bool OnCommand(UINT id, UINT code, HWND ctl) override {
    calls.push_back(Format("OnCommand(%lld,%lld,%llx)", id, code, reinterpret_cast<long long>(ctl)));
    return true;
  }
  void OnSysCommand(UINT id, LPARAM lParam) override { calls.push_back(Format("OnSysCommand(%lld,%lld)", id, lParam)); }
  HCURSOR OnQueryDragIcon() override {
    calls.push_back("OnQueryDragIcon()");
    return reinterpret_cast<HCURSOR>(0x1234);
  }
  void OnKeyDown(UINT vk, UINT repeat, UINT flags) override { calls.push_back(Format("OnKeyDown(%lld,%lld,%lld)", vk, repeat, flags)); }
  void OnVScroll(UINT code, UINT pos, HWND bar) override {
    calls.push_back(Format("OnVScroll(%lld,%lld,%llx)", code, pos, reinterpret_cast<long long>(bar)));
  }
  void OnHScroll(UINT code, UINT pos, HWND bar) override {
    calls.push_back(Format("OnHScroll(%lld,%lld,%llx)", code, pos, reinterpret_cast<long long>(bar)));
  }
  void OnClose() override { calls.push_back("OnClose()"); }
  BOOL OnEraseBkgnd(HDC hdc) override {
    calls.push_back(Format("OnEraseBkgnd(%llx)", reinterpret_cast<long long>(hdc)));
    return 7;
  }
  void OnPrintClient(HDC hdc, UINT flags) override {
    calls.push_back(Format("OnPrintClient(%llx,%lld)", reinterpret_cast<long long>(hdc), flags));
  }
};

// Overrides nothing: everything must reach the default procedure.
class CPlainWnd : public CWnd {};

RECT Rect(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

class WndTest : public ::testing::Test {
 protected:
  void TearDown() override { PumpFor(0); }
};

TEST_F(WndTest, ObjectIsBoundAtCreationAndReleasedAtNcDestroy) {
  CHandlingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"bound", WS_OVERLAPPED, Rect(0, 0, 100, 80), nullptr, 0));
  HWND hWnd = wnd.m_hWnd;
  EXPECT_EQ(wnd.boundAtCreate, hWnd) << "m_hWnd must be set before WM_CREATE is handled";
  EXPECT_EQ(wnd.foundAtCreate, &wnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);

  wnd.log.Clear();
  ASSERT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.handleAtNcDestroy, hWnd);
  EXPECT_TRUE(wnd.foundAtNcDestroy) << "still bound while WM_NCDESTROY is handled";
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
  EXPECT_EQ(wnd.postNcDestroyCount, 1);
  static const std::vector<ExpectedMessage> kDestroy = {
      {WM_DESTROY, kAny},
      {WM_NCDESTROY, kAny},
  };
  EXPECT_EQ(wnd.log.Match(kDestroy), "");
  EXPECT_EQ(wnd.log.Records().back().message, static_cast<UINT>(WM_NCDESTROY)) << wnd.log.Dump();
}

TEST_F(WndTest, HandlersReceiveUnpackedParameters) {
  CHandlingWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"unpacked", WS_OVERLAPPED, Rect(0, 0, 100, 80), nullptr, 0));
  HWND other = wnd.m_hWnd;  // any handle stands in for a control or a bar
  const long long h = reinterpret_cast<long long>(other);
  const LPARAM negative = MAKELPARAM(static_cast<WORD>(-5), 7);
  struct Case {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    std::string call;
    LRESULT result;
  };
  const std::vector<Case> cases = {
      {WM_MOVE, 0, negative, "OnMove(-5,7)", 0},
      {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(300, 200), "OnSize(2,300,200)", 0},
      {WM_TIMER, 34, 0, "OnTimer(34)", 0},
      {WM_NCHITTEST, 0, MAKELPARAM(static_cast<WORD>(-20), static_cast<WORD>(-30)), "OnNcHitTest(-20,-30)", HTCAPTION},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(11, 12), "OnLButtonDown(1,11,12)", 0},
      {WM_LBUTTONUP, 0, MAKELPARAM(13, 14), "OnLButtonUp(0,13,14)", 0},
      {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2), "OnLButtonDblClk(1,1,2)", 0},
      {WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(3, 4), "OnMButtonDown(16,3,4)", 0},
      {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 6), "OnRButtonDown(2,5,6)", 0},
      {WM_NCRBUTTONDOWN, HTCAPTION, negative, "OnNcRButtonDown(2,-5,7)", 0},
      {WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(7, 8), "OnMouseMove(4,7,8)", 0},
      {WM_MOUSEHOVER, 0, MAKELPARAM(9, 10), "OnMouseHover(0,9,10)", 0},
      {WM_MOUSELEAVE, 0, 0, "OnMouseLeave()", 0},
      {WM_COMMAND, MAKEWPARAM(1016, BN_CLICKED), reinterpret_cast<LPARAM>(other), Format("OnCommand(1016,0,%llx)", h), 0},
      {WM_SYSCOMMAND, SC_MINIMIZE, 99, "OnSysCommand(61472,99)", 0},
      {WM_QUERYDRAGICON, 0, 0, "OnQueryDragIcon()", 0x1234},
      {WM_KEYDOWN, VK_ESCAPE, MAKELPARAM(3, 0x4001), "OnKeyDown(27,3,16385)", 0},
      {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40000), reinterpret_cast<LPARAM>(other), Format("OnVScroll(5,40000,%llx)", h), 0},
      {WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(other), Format("OnHScroll(1,0,%llx)", h), 0},
      {WM_CLOSE, 0, 0, "OnClose()", 0},
      {WM_ERASEBKGND, 0x5678, 0, "OnEraseBkgnd(5678)", 7},
      {WM_PRINTCLIENT, 0x9abc, PRF_CLIENT, "OnPrintClient(9abc,4)", 0},
      {WM_APP + 1, 5, 6, "OnMessage(5,6)", 42},
  };
  for (const Case& c : cases) {
    wnd.calls.clear();
    const LRESULT result = ::SendMessageW(wnd.m_hWnd, c.msg, c.wParam, c.lParam);
    ASSERT_EQ(wnd.calls.size(), 1u) << CMessageLog::Name(c.msg);
    EXPECT_EQ(wnd.calls[0], c.call) << CMessageLog::Name(c.msg);
    EXPECT_EQ(result, c.result) << CMessageLog::Name(c.msg);
  }
  EXPECT_TRUE(::IsWindow(wnd.m_hWnd)) << "a handled WM_CLOSE must not destroy the window";
  wnd.DestroyWindow();
}

TEST_F(WndTest, UnhandledMessagesReachTheDefaultProcedure) {
  CPlainWnd wnd;
  ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"before", WS_POPUP | WS_VISIBLE, Rect(50, 60, 120, 90), nullptr, 0));
  wnd.SetWindowText(L"默认处理");
  EXPECT_EQ(wnd.GetWindowText(), L"默认处理");
  RECT rc = wnd.GetWindowRect();
  EXPECT_EQ(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.left + 10, rc.top + 10)), HTCLIENT);
  EXPECT_EQ(wnd.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(rc.left - 10, rc.top - 10)), HTNOWHERE);
  EXPECT_EQ(wnd.SendMessage(WM_COMMAND, MAKEWPARAM(5, 0), 0), 0);
  HWND hWnd = wnd.m_hWnd;
  // DefWindowProc destroys on WM_CLOSE: the object must let go of the window.
  wnd.SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

// A control subclassed by id: what it sees, and what it did in PreSubclassWindow.
class CProbeButton : public CButton {
 public:
  CMessageLog log;
  HWND handleInPreSubclass = nullptr;
  bool alreadySubclassedInPreSubclass = true;
  int drawItemCount = 0;
  DRAWITEMSTRUCT lastDraw{};

 protected:
  void PreSubclassWindow() override {
    handleInPreSubclass = m_hWnd;
    alreadySubclassedInPreSubclass = FromHandlePermanent(m_hWnd) != nullptr;
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    CButton::PreSubclassWindow();
  }
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    log.Add(msg, wParam, lParam);
    return CButton::WindowProc(msg, wParam, lParam);
  }
  void DrawItem(const DRAWITEMSTRUCT* dis) override {
    ++drawItemCount;
    lastDraw = *dis;
  }
};

class CParentWnd : public CWnd {};

TEST_F(WndTest, SubclassedControlGetsItsMessagesAndItsParentsDrawItem) {
  CParentWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP | WS_VISIBLE, Rect(10, 10, 200, 120), nullptr, 0));
  HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 30,
                                   parent.m_hWnd, reinterpret_cast<HMENU>(1004), nullptr, nullptr);
  ASSERT_NE(hButton, nullptr);
  const LONG_PTR originalProc = ::GetWindowLongPtrW(hButton, GWLP_WNDPROC);

  CProbeButton button;
  ASSERT_TRUE(button.SubclassWindow(hButton));
  EXPECT_EQ(button.handleInPreSubclass, hButton);
  EXPECT_FALSE(button.alreadySubclassedInPreSubclass) << "PreSubclassWindow must run before the window is hooked";
  EXPECT_EQ(button.GetButtonStyle(), static_cast<UINT>(BS_OWNERDRAW));

  // Its own messages reach the object, and through it the button's own procedure.
  ::SendMessageW(hButton, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"新"));
  EXPECT_TRUE(button.log.Contains(WM_SETTEXT)) << button.log.Dump();
  EXPECT_EQ(button.GetWindowText(), L"新");

  // The parent's WM_DRAWITEM is reflected to the control.
  button.Invalidate();
  button.UpdateWindow();
  EXPECT_GE(button.drawItemCount, 1);
  EXPECT_EQ(button.lastDraw.CtlID, 1004u);
  EXPECT_EQ(button.lastDraw.hwndItem, hButton);
  EXPECT_EQ(button.lastDraw.CtlType, static_cast<UINT>(ODT_BUTTON));

  // Handed back: the original procedure is in place again and nothing reaches the object.
  EXPECT_EQ(button.UnsubclassWindow(), hButton);
  EXPECT_EQ(::GetWindowLongPtrW(hButton, GWLP_WNDPROC), originalProc);
  EXPECT_EQ(CWnd::FromHandlePermanent(hButton), nullptr);
  button.log.Clear();
  ::SendMessageW(hButton, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
  EXPECT_TRUE(button.log.Records().empty());
  parent.DestroyWindow();
}

TEST_F(WndTest, DestroyedObjectLeavesASubclassedWindowWorking) {
  CParentWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, L"parent", WS_POPUP, Rect(0, 0, 100, 100), nullptr, 0));
  HWND hButton = ::CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 50, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
  {
    CButton button;
    ASSERT_TRUE(button.SubclassWindow(hButton));
    button.SetCheck(BST_CHECKED);
    EXPECT_EQ(button.GetCheck(), BST_CHECKED);
  }
  EXPECT_TRUE(::IsWindow(hButton)) << "a subclassed window is handed back, not destroyed";
  EXPECT_EQ(CWnd::FromHandlePermanent(hButton), nullptr);
  EXPECT_EQ(::SendMessageW(hButton, BM_GETCHECK, 0, 0), BST_CHECKED);
  parent.DestroyWindow();
  EXPECT_FALSE(::IsWindow(hButton));
}

TEST_F(WndTest, DestroyedObjectDestroysTheWindowItCreated) {
  HWND hWnd = nullptr;
  {
    CHandlingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"owned", WS_POPUP, Rect(0, 0, 50, 50), nullptr, 0));
    hWnd = wnd.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hWnd));
}

// A scroll bar that keeps its own scroll information, as a skinned bar does.
class COwnInfoScrollBar : public CScrollBar {
 public:
  SCROLLINFO info{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  int setCount = 0;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == SBM_SETSCROLLINFO) {
      const auto* in = reinterpret_cast<const SCROLLINFO*>(lParam);
      if (in->fMask & SIF_RANGE) {
        info.nMin = in->nMin;
        info.nMax = in->nMax;
      }
      if (in->fMask & SIF_PAGE) info.nPage = in->nPage;
      if (in->fMask & SIF_POS) info.nPos = in->nPos;
      ++setCount;
      return 1;
    }
    if (msg == SBM_GETSCROLLINFO) {
      auto* out = reinterpret_cast<SCROLLINFO*>(lParam);
      if (out->fMask & SIF_RANGE) {
        out->nMin = info.nMin;
        out->nMax = info.nMax;
      }
      if (out->fMask & SIF_PAGE) out->nPage = info.nPage;
      if (out->fMask & SIF_POS) out->nPos = info.nPos;
      return 1;
    }
    return CScrollBar::WindowProc(msg, wParam, lParam);
  }
};

TEST_F(WndTest, ScrollBarCreatedAsChildAnswersScrollInformationItself) {
  CParentWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, L"frame", WS_POPUP, Rect(0, 0, 200, 200), nullptr, 0));
  COwnInfoScrollBar bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | SBS_VERT, RECT{0, 0, 0, 0}, &parent, 101));
  EXPECT_EQ(::GetDlgItem(parent.m_hWnd, 101), bar.m_hWnd);
  EXPECT_TRUE(bar.IsVertical());
  SCROLLINFO in{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 500, 50, 120, 0};
  EXPECT_TRUE(bar.SetScrollInfo(in));
  EXPECT_EQ(bar.setCount, 1);
  EXPECT_EQ(bar.GetScrollPos(), 120);
  // The system's own query reaches the override too.
  SCROLLINFO out{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
  ::GetScrollInfo(bar.m_hWnd, SB_CTL, &out);
  EXPECT_EQ(out.nMax, 500);
  EXPECT_EQ(out.nPage, 50u);
  parent.DestroyWindow();
  EXPECT_EQ(bar.m_hWnd, nullptr);
}

}  // namespace
