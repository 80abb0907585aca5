// The start page as the program runs it: modal, placed by its inner dialog, gated by the agree
// box, ended by the start button or the close cross, laid out at 96 and 120 dots per inch.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "popups/custom_messages.h"
#include "res/resource.h"
#include "start_page_support.h"

namespace {

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Text(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return text;
}

POINT CentreOnScreen(HWND hWnd) {
  RECT r{};
  ::GetWindowRect(hWnd, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

// The width of one character as the start page measures it: the dialog font, 16 characters / 14.
int CharWidth(HWND inner) {
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(inner), WM_GETFONT, 0, 0));
  HDC dc = ::GetDC(inner);
  HGDIOBJ old = ::SelectObject(dc, font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, L"同意《泽沃服务工具使用许可协议》", 16, &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(inner, dc);
  return size.cx / 14;
}

struct Layout {
  RECT client{}, start{}, close{}, agree{}, link{};
  int cw = 0;
  float scale = 0;
};

Layout ReadLayout(CScriptedStartPage& page) {
  Layout l;
  CUsageArgeeementChildDlg* inner = page.Inner();
  l.client = inner->GetClientRect();
  l.start = RectIn(inner->m_btnStart.m_hWnd, inner->m_hWnd);
  l.close = RectIn(inner->m_btnClose.m_hWnd, inner->m_hWnd);
  l.agree = RectIn(inner->m_chkAgree.m_hWnd, inner->m_hWnd);
  l.link = RectIn(inner->m_stcLink.m_hWnd, inner->m_hWnd);
  l.cw = CharWidth(inner->m_hWnd);
  l.scale = page.m_fScale;
  return l;
}

void ExpectLayout(const Layout& l, float scale, SIZE client, RECT start) {
  const auto t = [](float v) { return static_cast<int>(v); };
  EXPECT_FLOAT_EQ(l.scale, scale);
  EXPECT_TRUE(l.client == (RECT{0, 0, client.cx, client.cy})) << Text(l.client);
  EXPECT_TRUE(l.start == start) << Text(l.start);
  const int closeLeft = client.cx - t(36 * scale);
  EXPECT_TRUE(l.close == (RECT{closeLeft, 0, t(closeLeft + 26 * scale), t(34 * scale)})) << Text(l.close);
  ASSERT_GT(l.cw, 4);
  const RECT agree{t(8 * scale), t(client.cy - 25 * scale), t(t(8 * scale) + 16 * scale + 2 * l.cw + 2),
                   t(t(client.cy - 25 * scale) + 20 * scale)};
  EXPECT_TRUE(l.agree == agree) << Text(l.agree);
  const RECT link{agree.right + 6, agree.top, agree.right + 6 + 14 * l.cw, agree.bottom};
  EXPECT_TRUE(l.link == link) << Text(l.link);
}

}  // namespace

TEST(StartPage, OpensTickedAndStartEndsWithOk) {
  CScriptedStartPage page;
  bool ticked = false, enabled = false, inputWorks = false, endedByClick = false;
  std::wstring caption;
  RECT inner{}, outer{};
  page.m_script = [&](CScriptedStartPage& p) {
    PumpFor(100);
    caption = p.GetWindowText();
    ticked = p.Inner()->m_chkAgree.GetCheck() == BST_CHECKED;
    enabled = p.Inner()->m_btnStart.IsWindowEnabled() != FALSE;
    inner = p.Inner()->GetWindowRect();
    outer = p.GetWindowRect();
    const POINT target = CentreOnScreen(p.Inner()->m_btnStart.m_hWnd);
    RealClick(target);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    inputWorks = cursor.x == target.x && cursor.y == target.y;
    endedByClick = p.m_nEnded == IDOK;
    if (p.m_nEnded == 0) p.SendMessage(WM_START_ACCEPTED);  // no synthetic mouse here
  };
  EXPECT_EQ(page.DoModal(), IDOK);
  if (inputWorks) {
    EXPECT_TRUE(endedByClick) << "a real click on the start button ends the page";
  }
  EXPECT_EQ(caption, L"系统文件修复工具");
  EXPECT_TRUE(ticked);
  EXPECT_TRUE(enabled);
  // Placed by its inner at the screen centre, not centred again by the modal run.
  const int sx = ::GetSystemMetrics(SM_CXSCREEN), sy = ::GetSystemMetrics(SM_CYSCREEN);
  const float s = page.m_fScale;
  const int left = sx / 2 - static_cast<int>(s * 610 / 2), top = sy / 2 - static_cast<int>(s * 461 / 2);
  EXPECT_EQ(inner.left, static_cast<int>(left + 5 * s));
  EXPECT_EQ(inner.top, static_cast<int>(top + 4 * s));
  EXPECT_EQ(outer.left, inner.left - static_cast<int>(5 * s));
  EXPECT_EQ(outer.bottom, inner.bottom + static_cast<int>(7 * s));
}

TEST(StartPage, StartAcceptedAnswersOneAndEndsWithOk) {
  CScriptedStartPage page;
  LRESULT answer = 0;
  page.m_script = [&](CScriptedStartPage& p) { answer = p.SendMessage(WM_START_ACCEPTED); };
  EXPECT_EQ(page.DoModal(), IDOK);
  EXPECT_EQ(answer, 1);
}

TEST(StartPage, ClearingTheBoxGreysStartWhichThenIgnoresClicks) {
  CScriptedStartPage page;
  bool clearedAfterClick = false, enabledAfterClear = true, stillRunning = false, reenabled = false;
  page.m_script = [&](CScriptedStartPage& p) {
    CUsageArgeeementChildDlg* inner = p.Inner();
    PumpFor(100);
    inner->m_chkAgree.SendMessage(BM_CLICK);
    clearedAfterClick = inner->m_chkAgree.GetCheck() == BST_UNCHECKED;
    enabledAfterClear = inner->m_btnStart.IsWindowEnabled() != FALSE;
    RealClick(CentreOnScreen(inner->m_btnStart.m_hWnd));
    stillRunning = p.m_nEnded == 0;
    inner->m_chkAgree.SendMessage(BM_CLICK);
    reenabled = inner->m_btnStart.IsWindowEnabled() != FALSE;
    // The close cross: a real click where the platform gives one, else its command.
    RealClick(CentreOnScreen(inner->m_btnClose.m_hWnd));
    if (p.m_nEnded == 0) inner->m_btnClose.SendMessage(BM_CLICK);
  };
  EXPECT_EQ(page.DoModal(), IDCANCEL);
  EXPECT_TRUE(clearedAfterClick);
  EXPECT_FALSE(enabledAfterClear);
  EXPECT_TRUE(stillRunning) << "a disabled start button does not end the page";
  EXPECT_TRUE(reenabled);
}

TEST(StartPage, EscapeClosesLikeTheCrossAndEnterLeavesThePanel) {
  CScriptedStartPage page;
  bool panelAfterEnter = false;
  page.m_script = [&](CScriptedStartPage& p) {
    p.Inner()->SendMessage(WM_COMMAND, IDOK);
    panelAfterEnter = p.Inner()->IsWindowVisible() != FALSE && p.m_nEnded == 0;
    p.Inner()->SendMessage(WM_COMMAND, IDCANCEL);
  };
  EXPECT_EQ(page.DoModal(), IDCANCEL);
  EXPECT_TRUE(panelAfterEnter);
}

TEST(StartPage, LayoutAt96Dpi) {
  if (ScreenDpi() != 96) GTEST_SKIP() << "screen at " << ScreenDpi() << " dpi";
  CScriptedStartPage page;
  Layout layout;
  page.m_script = [&](CScriptedStartPage& p) {
    layout = ReadLayout(p);
    p.SendMessage(WM_CLOSE);
  };
  EXPECT_EQ(page.DoModal(), IDCANCEL);
  ExpectLayout(layout, 1.0f, {600, 450}, {170, 275, 430, 344});
}

// Runs in a child process started by LayoutAt120DpiInAChildProcess.
TEST(StartPage, LayoutAtTheChildsDpi) {
  const char* expected = std::getenv("ZSR_STARTPAGE_DPI");
  if (!expected) GTEST_SKIP() << "run by LayoutAt120DpiInAChildProcess";
  ASSERT_EQ(ScreenDpi(), std::atoi(expected));
  CScriptedStartPage page;
  Layout layout;
  page.m_script = [&](CScriptedStartPage& p) {
    layout = ReadLayout(p);
    p.SendMessage(WM_CLOSE);
  };
  EXPECT_EQ(page.DoModal(), IDCANCEL);
  ExpectLayout(layout, 1.2f, {719, 539}, {204, 330, 516, 412});
}

TEST(StartPage, LayoutAt120DpiInAChildProcess) {
  HKEY desktop = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                              nullptr, &desktop, nullptr),
            ERROR_SUCCESS);
  DWORD previous = 96, size = sizeof(previous), type = 0;
  const bool hadValue = ::RegQueryValueExW(desktop, L"LogPixels", nullptr, &type,
                                           reinterpret_cast<BYTE*>(&previous), &size) == ERROR_SUCCESS &&
                        type == REG_DWORD;
  const DWORD dpi = 120;
  ::RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));

  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command;
  command.append(L"\"").append(self).append(L"\" --gtest_filter=StartPage.LayoutAtTheChildsDpi");
  ::SetEnvironmentVariableW(L"ZSR_STARTPAGE_DPI", L"120");
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const BOOL started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  ::SetEnvironmentVariableW(L"ZSR_STARTPAGE_DPI", nullptr);
  DWORD exitCode = 99;
  if (started) {
    ::WaitForSingleObject(pi.hProcess, 120000);
    ::GetExitCodeProcess(pi.hProcess, &exitCode);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
  if (hadValue) {
    ::RegSetValueExW(desktop, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous), sizeof(previous));
  } else {
    ::RegDeleteValueW(desktop, L"LogPixels");
  }
  ::RegCloseKey(desktop);
  ASSERT_TRUE(started);
  EXPECT_EQ(exitCode, 0u) << "the child's layout checks failed (its output is above)";
}

TEST(StartPage, DraggingTheTopStripMovesBothWindows) {
  CScriptedStartPage page;
  RECT innerBefore{}, innerAfter{}, outerAfter{};
  LRESULT stripHit = 0, marginHit = 0;
  float s = 1.0f;
  page.m_script = [&](CScriptedStartPage& p) {
    CUsageArgeeementChildDlg* inner = p.Inner();
    s = p.m_fScale;
    PumpFor(100);
    innerBefore = inner->GetWindowRect();
    RECT client = inner->GetClientRect();
    inner->ClientToScreen(&client);
    marginHit = inner->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(client.right - 80, client.top + 10));
    stripHit = inner->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(client.left + 200, client.top + 49));
    RealClick({client.left + 200, client.top + 20}, {60, 30});
    innerAfter = inner->GetWindowRect();
    outerAfter = p.GetWindowRect();
    p.SendMessage(WM_CLOSE);
  };
  EXPECT_EQ(page.DoModal(), IDCANCEL);
  EXPECT_EQ(stripHit, HTCAPTION);
  EXPECT_NE(marginHit, HTCAPTION) << "the close cross's corner is no drag point";
  if (innerAfter.left == innerBefore.left) GTEST_SKIP() << "no synthetic mouse drag on this display";
  EXPECT_EQ(innerAfter.left, innerBefore.left + 60);
  EXPECT_EQ(innerAfter.top, innerBefore.top + 30);
  EXPECT_EQ(outerAfter.left, innerAfter.left - static_cast<int>(5 * s));
  EXPECT_EQ(outerAfter.top, innerAfter.top - static_cast<int>(4 * s));
  EXPECT_EQ(outerAfter.right, innerAfter.right + static_cast<int>(5 * s));
  EXPECT_EQ(outerAfter.bottom, innerAfter.bottom + static_cast<int>(7 * s));
}
