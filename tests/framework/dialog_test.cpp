// CDialog: binding at WM_INITDIALOG, results that reach the system, control binding, the
// modal loop (owner, ending, destruction, worker threads, centring, message translation).
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/button.h"
#include "framework/dialog.h"
#include "framework/static.h"
#include "message_log.h"
#include "res/resource.h"
#include "test_support.h"
#include "tools/driver/mouse_drag.h"

namespace {

constexpr UINT_PTR kScriptTimer = 1;

class CTestDialog : public CDialog {
 public:
  explicit CTestDialog(UINT templateId, CWnd* pParent = nullptr) : CDialog(templateId, pParent) {}

  CMessageLog ownLog;
  CMessageLog* log = &ownLog;  // may point into a record shared with other windows
  const char* name = "dialog";
  std::function<void(CTestDialog&)> onInit;
  std::function<void(CTestDialog&)> onTick;
  std::function<BOOL(CTestDialog&, MSG*)> onPreTranslate;
  // Answer for hit tests in the top 30 pixels of the client area.
  LRESULT stripHit = -1;
  bool bindButtons = false;
  HWND boundAtInit = nullptr;
  CWnd* foundAtInit = nullptr;
  bool boundOk = false;
  bool boundText = false;
  CButton m_btnOk;
  CStatic m_stcText;

  using CDialog::EndDialog;
  void StartScript(UINT ms = 20) { SetTimer(kScriptTimer, ms); }

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    log->Add(msg, wParam, lParam, name);
    return CDialog::WindowProc(msg, wParam, lParam);
  }
  void DoDataExchange() override {
    CDialog::DoDataExchange();
    if (!bindButtons) return;
    boundOk = BindControl(IDC_PROMPT_OK, m_btnOk);
    boundText = BindControl(IDC_PROMPT_TEXT, m_stcText);
  }
  BOOL OnInitDialog() override {
    boundAtInit = m_hWnd;
    foundAtInit = FromHandlePermanent(m_hWnd);
    CDialog::OnInitDialog();
    if (onInit) onInit(*this);
    return TRUE;
  }
  void OnTimer(UINT_PTR id) override {
    if (id == kScriptTimer && onTick) {
      onTick(*this);
      return;
    }
    CDialog::OnTimer(id);
  }
  LRESULT OnNcHitTest(POINT pt) override {
    if (stripHit >= 0) {
      RECT strip = GetClientRect();
      ClientToScreen(&strip);
      strip.bottom = strip.top + 30;
      if (::PtInRect(&strip, pt)) return stripHit;
    }
    return CDialog::OnNcHitTest(pt);
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (onPreTranslate) {
      const BOOL taken = onPreTranslate(*this, msg);
      if (taken) return TRUE;
    }
    return CDialog::PreTranslateMessage(msg);
  }
};

RECT WindowRect(HWND hWnd) {
  RECT rc{};
  ::GetWindowRect(hWnd, &rc);
  return rc;
}

POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }

RECT WorkArea() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// A borrowed owner window for dialogs that take a parent.
struct OwnerWindow {
  OwnerWindow(int x = 100, int y = 100, int w = 600, int h = 400) {
    hWnd = CreateTopLevel(L"owner", x, y, w, h);
    wnd.Attach(hWnd);
  }
  ~OwnerWindow() {
    wnd.Detach();
    if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
  }
  HWND hWnd;
  CWnd wnd;
};

class DialogTest : public ::testing::Test {
 protected:
  void TearDown() override { PumpFor(0); }
};

TEST_F(DialogTest, ObjectIsBoundBeforeInitDialogAndControlsAreBoundById) {
  CTestDialog dlg(IDD_PROMPT_INNER);
  dlg.bindButtons = true;
  ASSERT_TRUE(dlg.Create(nullptr));
  HWND hWnd = dlg.m_hWnd;
  EXPECT_EQ(dlg.boundAtInit, hWnd);
  EXPECT_EQ(dlg.foundAtInit, &dlg);
  ASSERT_FALSE(dlg.ownLog.Records().empty());
  EXPECT_EQ(dlg.ownLog.Records().front().message, static_cast<UINT>(WM_INITDIALOG)) << dlg.ownLog.Dump();
  EXPECT_TRUE(dlg.boundOk);
  EXPECT_TRUE(dlg.boundText);
  EXPECT_EQ(dlg.m_btnOk.m_hWnd, dlg.GetDlgItem(IDC_PROMPT_OK));
  EXPECT_EQ(CWnd::FromHandlePermanent(dlg.GetDlgItem(IDC_PROMPT_OK)), &dlg.m_btnOk);
  EXPECT_EQ(dlg.m_btnOk.GetWindowText(), L"确定");

  dlg.ownLog.Clear();
  ASSERT_TRUE(dlg.DestroyWindow());
  static const std::vector<ExpectedMessage> kTeardown = {
      {WM_DESTROY, kAny},
      {WM_NCDESTROY, kAny},
  };
  EXPECT_EQ(dlg.ownLog.Match(kTeardown), "");
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_btnOk.m_hWnd, nullptr) << "bound controls are released with their windows";
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST_F(DialogTest, BindingAMissingIdFails) {
  CTestDialog dlg(IDD_PROMPT_OUTER);  // no controls
  dlg.bindButtons = true;
  ASSERT_TRUE(dlg.Create(nullptr));
  EXPECT_FALSE(dlg.boundOk);
  EXPECT_EQ(dlg.m_btnOk.m_hWnd, nullptr);
  dlg.DestroyWindow();
}

TEST_F(DialogTest, HitTestResultOfAHandlerReachesTheSystem) {
  CTestDialog dlg(IDD_PROMPT_INNER);
  dlg.stripHit = HTCAPTION;
  ASSERT_TRUE(dlg.Create(nullptr));
  dlg.MoveWindow(200, 150, 326, 146);
  dlg.ShowWindow(SW_SHOWNOACTIVATE);
  RECT client = dlg.GetClientRect();
  dlg.ClientToScreen(&client);
  const LPARAM inStrip = MAKELPARAM(client.left + 40, client.top + 10);
  const LPARAM below = MAKELPARAM(client.left + 40, client.top + 60);
  EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_NCHITTEST, 0, inStrip), HTCAPTION);
  EXPECT_EQ(::SendMessageW(dlg.m_hWnd, WM_NCHITTEST, 0, below), HTCLIENT) << "default answer";
  dlg.DestroyWindow();
}

TEST_F(DialogTest, DraggingTheCaptionStripMovesTheDialog) {
  CTestDialog dlg(IDD_PROMPT_INNER);
  dlg.stripHit = HTCAPTION;
  ASSERT_TRUE(dlg.Create(nullptr));
  dlg.MoveWindow(200, 150, 326, 146);
  dlg.ShowWindow(SW_SHOW);
  ::SetForegroundWindow(dlg.m_hWnd);
  PumpFor(50);
  RECT client = dlg.GetClientRect();
  dlg.ClientToScreen(&client);
  const POINT start{client.left + 40, client.top + 10};
  ::SetCursorPos(start.x, start.y);
  PumpFor(50);
  // The system's move loop runs inside this thread's message dispatch: the mouse comes from
  // another thread.
  std::atomic<bool> released{false};
  std::thread hand([&] {
    DragWithTheMouse(start, POINT{60, 30});
    released = true;
  });
  PumpUntil([&] { return released.load(); });
  hand.join();
  PumpFor(200);
  const RECT moved = dlg.GetWindowRect();
  dlg.DestroyWindow();
  if (moved.left == 200 && moved.top == 150) GTEST_SKIP() << "no synthetic mouse drag on this display";
  EXPECT_EQ(moved.left, 260);
  EXPECT_EQ(moved.top, 180);
}

TEST_F(DialogTest, UnhandledMessagesReachTheDialogManager) {
  CTestDialog dlg(IDD_ABOUTBOX);
  ASSERT_TRUE(dlg.Create(nullptr));
  // Answered by the system's dialog procedure from the template's default button.
  EXPECT_EQ(dlg.SendMessage(DM_GETDEFID), MAKELRESULT(IDOK, DC_HASDEFID));
  EXPECT_EQ(dlg.SendMessage(WM_GETFONT) != 0, true) << "the template font set by the dialog manager";
  dlg.DestroyWindow();
}

TEST_F(DialogTest, ModalRunDisablesTheOwnerAndEndDialogFromATimerReturnsTheResult) {
  OwnerWindow owner;
  CTestDialog dlg(IDD_PROMPT_OUTER, &owner.wnd);
  BOOL ownerEnabledDuringRun = TRUE;
  HWND ownerOfDialog = nullptr;
  BOOL visibleDuringRun = FALSE;
  dlg.onInit = [](CTestDialog& d) { d.StartScript(); };
  dlg.onTick = [&](CTestDialog& d) {
    ownerEnabledDuringRun = ::IsWindowEnabled(owner.hWnd);
    ownerOfDialog = ::GetWindow(d.m_hWnd, GW_OWNER);
    visibleDuringRun = d.IsWindowVisible();
    d.EndDialog(1234);
  };
  EXPECT_EQ(dlg.DoModal(), 1234);
  EXPECT_FALSE(ownerEnabledDuringRun);
  EXPECT_EQ(ownerOfDialog, owner.hWnd);
  EXPECT_TRUE(visibleDuringRun) << "a modal dialog is shown even without WS_VISIBLE in its template";
  EXPECT_TRUE(::IsWindowEnabled(owner.hWnd));
  EXPECT_EQ(dlg.m_hWnd, nullptr) << "the dialog window is destroyed when the run ends";
}

// Records what a window of someone else's receives, into a shared record.
class CRecordingOwner : public CWnd {
 public:
  CMessageLog* log = nullptr;

 protected:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    log->Add(msg, wParam, lParam, "owner");
    return CWnd::WindowProc(msg, wParam, lParam);
  }
};

TEST_F(DialogTest, ModalRunSequenceEnablesTheOwnerBeforeTheDialogIsDestroyed) {
  OwnerWindow owner;
  CMessageLog log;
  CRecordingOwner recorder;
  recorder.log = &log;
  ASSERT_TRUE(recorder.SubclassWindow(owner.hWnd));
  CTestDialog dlg(IDD_PROMPT_OUTER, &owner.wnd);
  dlg.log = &log;
  dlg.onInit = [](CTestDialog& d) { d.StartScript(); };
  dlg.onTick = [](CTestDialog& d) {
    d.KillTimer(kScriptTimer);
    d.EndDialog(IDOK);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  static const std::vector<ExpectedMessage> kModalRun = {
      {WM_ENABLE, kWParam, FALSE, 0, "owner"},
      {WM_INITDIALOG, kAny, 0, 0, "dialog"},
      {WM_SHOWWINDOW, kWParam, TRUE, 0, "dialog"},
      {WM_TIMER, kWParam, kScriptTimer, 0, "dialog"},
      {WM_ENABLE, kWParam, TRUE, 0, "owner"},
      {WM_WINDOWPOSCHANGED, kAny, 0, 0, "dialog"},  // hidden
      {WM_DESTROY, kAny, 0, 0, "dialog"},
      {WM_NCDESTROY, kAny, 0, 0, "dialog"},
  };
  EXPECT_EQ(log.Match(kModalRun), "");
  recorder.UnsubclassWindow();
}

TEST_F(DialogTest, ModalRunsEndWithTheResultOfTheirCloseRoute) {
  struct Case {
    const char* name;
    UINT msg;
    WPARAM wParam;
    INT_PTR result;
  };
  const Case cases[] = {
      {"WM_CLOSE", WM_CLOSE, 0, IDCANCEL},
      {"IDCANCEL", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
      {"IDOK", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
  };
  for (const Case& c : cases) {
    CTestDialog dlg(IDD_PROMPT_OUTER);
    dlg.onInit = [](CTestDialog& d) { d.StartScript(); };
    dlg.onTick = [&c](CTestDialog& d) {
      d.KillTimer(kScriptTimer);
      d.SendMessage(c.msg, c.wParam, 0);
    };
    EXPECT_EQ(dlg.DoModal(), c.result) << c.name;
  }
}

// True when `upper` comes before `lower` in the top-level z-order.
bool IsAbove(HWND upper, HWND lower) {
  for (HWND hWnd = ::GetTopWindow(nullptr); hWnd; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
    if (hWnd == upper) return true;
    if (hWnd == lower) return false;
  }
  return false;
}

TEST_F(DialogTest, InnerDialogShownDuringInitialisationStaysAboveTheModalOuter) {
  CTestDialog outer(IDD_PROMPT_OUTER);
  CTestDialog inner(IDD_PROMPT_INNER);
  bool innerAbove = false;
  bool outerVisible = false;
  bool innerVisible = false;
  outer.onInit = [&](CTestDialog& d) {
    ASSERT_TRUE(inner.Create(&d));
    inner.MoveWindow(300, 300, 200, 100);
    inner.ShowWindow(SW_SHOW);
    d.StartScript(100);
  };
  outer.onTick = [&](CTestDialog& d) {
    innerAbove = IsAbove(inner.m_hWnd, d.m_hWnd);
    outerVisible = d.IsWindowVisible();
    innerVisible = inner.IsWindowVisible();
    d.EndDialog(IDOK);
  };
  EXPECT_EQ(outer.DoModal(), IDOK);
  EXPECT_TRUE(outerVisible);
  EXPECT_TRUE(innerVisible);
  EXPECT_TRUE(innerAbove) << "an owned window stays above its owner";
}

TEST_F(DialogTest, OwnerIsActivatedAgainAlsoWhenTheInnerDialogWasActive) {
  OwnerWindow owner;
  ::SetForegroundWindow(owner.hWnd);
  PumpFor(50);
  if (::GetActiveWindow() != owner.hWnd) GTEST_SKIP() << "this display does not activate windows";
  CTestDialog outer(IDD_PROMPT_OUTER, &owner.wnd);
  CTestDialog inner(IDD_PROMPT_INNER);
  HWND activeDuringRun = nullptr;
  HWND innerWindow = nullptr;
  outer.onInit = [&](CTestDialog& d) {
    ASSERT_TRUE(inner.Create(&d));
    innerWindow = inner.m_hWnd;
    d.StartScript();
  };
  outer.onTick = [&](CTestDialog& d) {
    d.KillTimer(kScriptTimer);
    inner.ShowWindow(SW_SHOW);
    ::SetActiveWindow(inner.m_hWnd);
    activeDuringRun = ::GetActiveWindow();
    d.EndDialog(IDOK);
  };
  EXPECT_EQ(outer.DoModal(), IDOK);
  EXPECT_EQ(activeDuringRun, innerWindow);
  EXPECT_EQ(::GetActiveWindow(), owner.hWnd);
}

TEST_F(DialogTest, QuitMessageEndsTheModalRunAndStaysForTheOuterLoop) {
  CTestDialog dlg(IDD_PROMPT_OUTER);
  dlg.onInit = [](CTestDialog& d) { d.StartScript(); };
  dlg.onTick = [](CTestDialog& d) {
    d.KillTimer(kScriptTimer);
    ::PostQuitMessage(9);
  };
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  MSG msg{};
  ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(DialogTest, EndDialogDuringInitialisationReturnsAtOnce) {
  CTestDialog dlg(IDD_PROMPT_OUTER);
  dlg.onInit = [](CTestDialog& d) { d.EndDialog(77); };
  EXPECT_EQ(dlg.DoModal(), 77);
}

TEST_F(DialogTest, EndDialogInsideAMessageSentFromAWorkerEndsTheRun) {
  // The worker's message is handled inside GetMessage, which would not return by itself.
  CTestDialog dlg(IDD_PROMPT_OUTER);
  std::thread worker;
  dlg.onInit = [&worker](CTestDialog& d) {
    HWND hWnd = d.m_hWnd;
    worker = std::thread([hWnd] {
      ::Sleep(100);
      ::SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
  };
  const ULONGLONG start = ::GetTickCount64();
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_LT(::GetTickCount64() - start, 3000u);
  worker.join();
}

TEST_F(DialogTest, DialogDestroyedWithItsOwnerEndsTheModalRun) {
  auto owner = std::make_unique<OwnerWindow>();
  CTestDialog dlg(IDD_PROMPT_OUTER, &owner->wnd);
  dlg.onInit = [](CTestDialog& d) { d.StartScript(); };
  dlg.onTick = [&owner](CTestDialog& d) {
    d.KillTimer(kScriptTimer);
    ::DestroyWindow(owner->hWnd);  // takes the owned dialog with it
  };
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  owner.reset();
}

TEST_F(DialogTest, WithoutParentTheOwnerIsTheLastActivePopupOfTheActiveWindow) {
  HWND main = CreateTopLevel(L"main", 100, 100, 410, 611, nullptr, WS_POPUP | WS_VISIBLE);
  HWND ops = CreateTopLevel(L"ops", 105, 104, 400, 600, main, WS_POPUP | WS_VISIBLE);
  ASSERT_TRUE(main && ops);
  ::SetForegroundWindow(ops);
  ::SetActiveWindow(ops);
  PumpFor(50);
  if (::GetActiveWindow() != ops) GTEST_SKIP() << "this display does not activate windows";
  CTestDialog dlg(IDD_PROMPT_OUTER);
  HWND ownerOfDialog = nullptr;
  BOOL opsEnabled = TRUE;
  dlg.onInit = [](CTestDialog& d) { d.StartScript(); };
  dlg.onTick = [&](CTestDialog& d) {
    ownerOfDialog = ::GetWindow(d.m_hWnd, GW_OWNER);
    opsEnabled = ::IsWindowEnabled(ops);
    d.EndDialog(IDOK);
  };
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(ownerOfDialog, ops);
  EXPECT_FALSE(opsEnabled);
  EXPECT_TRUE(::IsWindowEnabled(ops));
  ::DestroyWindow(main);
}

TEST_F(DialogTest, ModalRunOnAWorkerThreadHasNoOwnerAndLeavesOtherWindowsEnabled) {
  OwnerWindow owner;
  CTestDialog outer(IDD_PROMPT_OUTER, &owner.wnd);
  std::atomic<bool> workerDone{false};
  INT_PTR workerResult = 0;
  HWND workerOwner = reinterpret_cast<HWND>(1);
  BOOL outerEnabledDuringWorkerRun = FALSE;
  DWORD workerDialogThread = 0;
  std::thread worker;
  outer.onInit = [&](CTestDialog& d) {
    HWND hOuter = d.m_hWnd;
    worker = std::thread([&, hOuter] {
      CTestDialog prompt(IDD_PROMPT_INNER);
      prompt.onInit = [](CTestDialog& p) { p.StartScript(50); };
      prompt.onTick = [&](CTestDialog& p) {
        workerOwner = ::GetWindow(p.m_hWnd, GW_OWNER);
        outerEnabledDuringWorkerRun = ::IsWindowEnabled(hOuter);
        workerDialogThread = ::GetWindowThreadProcessId(p.m_hWnd, nullptr);
        p.EndDialog(7);
      };
      workerResult = prompt.DoModal();
      workerDone = true;
    });
    d.StartScript();
  };
  outer.onTick = [&](CTestDialog& d) {
    if (workerDone) d.EndDialog(IDOK);
  };
  EXPECT_EQ(outer.DoModal(), IDOK);
  worker.join();
  EXPECT_EQ(workerResult, 7);
  EXPECT_EQ(workerOwner, nullptr);
  EXPECT_TRUE(outerEnabledDuringWorkerRun);
  EXPECT_NE(workerDialogThread, ::GetCurrentThreadId());
}

struct PlacementCase {
  const char* name;
  bool withOwner;
  int ownerShow;      // SW_SHOW or SW_MINIMIZE / SW_HIDE
  bool movesItself;   // to (10, 20) during initialisation
  bool resizes;       // a new size alone must not count as moving
};

class DialogPlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(DialogPlacementTest, ModalDialogIsCentredUnlessItPlacedItself) {
  const PlacementCase& c = GetParam();
  // Run on a fresh thread: no active window there, so "no owner" really means none.
  RECT placed{};
  RECT ownerRect{};
  std::thread runner([&] {
    std::unique_ptr<OwnerWindow> owner;
    if (c.withOwner) {
      owner = std::make_unique<OwnerWindow>(300, 200, 500, 300);
      ::ShowWindow(owner->hWnd, c.ownerShow);
      ownerRect = WindowRect(owner->hWnd);
    }
    CTestDialog dlg(IDD_PROMPT_OUTER, owner ? &owner->wnd : nullptr);
    dlg.onInit = [&c](CTestDialog& d) {
      if (c.resizes) d.SetWindowPos(nullptr, 0, 0, 336, 156, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      if (c.movesItself) d.SetWindowPos(nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      d.StartScript();
    };
    dlg.onTick = [&placed](CTestDialog& d) {
      placed = d.GetWindowRect();
      d.EndDialog(IDOK);
    };
    dlg.DoModal();
  });
  runner.join();
  if (c.movesItself) {
    EXPECT_EQ(placed.left, 10);
    EXPECT_EQ(placed.top, 20);
    return;
  }
  const bool overOwner = c.withOwner && c.ownerShow == SW_SHOW;
  const POINT want = Centre(overOwner ? ownerRect : WorkArea());
  const POINT got = Centre(placed);
  EXPECT_NEAR(got.x, want.x, 1) << c.name;
  EXPECT_NEAR(got.y, want.y, 1) << c.name;
  if (c.resizes) {
    EXPECT_EQ(placed.right - placed.left, 336);
  }
}

INSTANTIATE_TEST_SUITE_P(Placements, DialogPlacementTest,
                         ::testing::Values(PlacementCase{"over owner", true, SW_SHOW, false, false},
                                           PlacementCase{"resized, over owner", true, SW_SHOW, false, true},
                                           PlacementCase{"moved itself", true, SW_SHOW, true, false},
                                           PlacementCase{"no owner", false, SW_SHOW, false, false},
                                           PlacementCase{"owner minimised", true, SW_MINIMIZE, false, false},
                                           PlacementCase{"owner hidden", true, SW_HIDE, false, false}),
                         [](const auto& param) {
                           std::string name = param.param.name;
                           for (char& ch : name) {
                             if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST_F(DialogTest, PreTranslateMessageSeesKeysOfChildControlsAndOwnedWindows) {
  // An outer modal dialog with an owned inner dialog, as the skinned popups are built, and
  // an owned plain popup. The walk goes from the key's window up through parents and owners;
  // the inner dialog's keyboard interface takes what its own override leaves.
  CTestDialog outer(IDD_PROMPT_OUTER);
  CTestDialog inner(IDD_PROMPT_INNER);
  std::vector<std::string> seen;
  auto keyName = [](const MSG* msg) -> std::string {
    if (msg->wParam == VK_ESCAPE) return "ESC";
    return std::string(1, static_cast<char>(msg->wParam));
  };
  inner.onPreTranslate = [&](CTestDialog&, MSG* msg) -> BOOL {
    if (msg->message != WM_KEYDOWN) return FALSE;
    seen.push_back("inner:" + keyName(msg));
    return msg->wParam == VK_ESCAPE;  // swallowed, as the prompt does
  };
  outer.onPreTranslate = [&](CTestDialog&, MSG* msg) -> BOOL {
    if (msg->message != WM_KEYDOWN) return FALSE;
    seen.push_back("outer:" + keyName(msg));
    return FALSE;
  };
  BOOL innerVisibleAfterEscape = FALSE;
  HWND plainPopup = nullptr;
  outer.onInit = [&](CTestDialog& d) {
    ASSERT_TRUE(inner.Create(&d));
    inner.ShowWindow(SW_SHOWNOACTIVATE);
    plainPopup = CreateTopLevel(L"owned", 0, 0, 50, 50, d.m_hWnd, WS_POPUP);
    HWND button = inner.GetDlgItem(IDC_PROMPT_OK);
    ::PostMessageW(button, WM_KEYDOWN, 'A', 1);
    ::PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 1);
    ::PostMessageW(plainPopup, WM_KEYDOWN, 'B', 1);
    d.StartScript();
  };
  outer.onTick = [&](CTestDialog& d) {
    d.KillTimer(kScriptTimer);
    innerVisibleAfterEscape = inner.IsWindowVisible();
    // Not swallowed: the dialog keyboard interface turns Escape into IDCANCEL.
    ::PostMessageW(d.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);
  };
  EXPECT_EQ(outer.DoModal(), IDCANCEL);
  const std::vector<std::string> expected = {"inner:A", "inner:ESC", "outer:B", "outer:ESC"};
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(innerVisibleAfterEscape) << "a swallowed Escape must not reach the inner dialog";
  EXPECT_EQ(inner.m_hWnd, nullptr) << "the owned inner dialog goes with its owner";
  EXPECT_FALSE(::IsWindow(plainPopup));
}

}  // namespace
