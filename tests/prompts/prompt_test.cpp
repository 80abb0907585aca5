// The message prompt under a real modal loop: buttons per type, results, keys, layout at two
// scales, the text's look, and prompts run from worker threads.
#include <windows.h>
#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <thread>
#include <vector>

#include "popup_test_support.h"
#include "popups/execute_prompt_dlg.h"
#include "popups/prompt_child_dlg.h"
#include "popups/prompt_dlg.h"
#include "res/resource.h"

static std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}
static bool operator==(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

namespace {

using CTestPromptDlg = CRunningDlg<CPromptDlg>;

HWND InnerOf(const CPromptDlg& dlg) { return dlg.m_pInnerDlg ? dlg.m_pInnerDlg->m_hWnd : nullptr; }

bool Shown(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }

// A plain visible window to own the prompts, away from the screen's centre.
class COwnerWindow : public CWnd {
 public:
  bool Open(const RECT& rect) { return CreateEx(0, nullptr, L"owner", WS_POPUP | WS_VISIBLE, rect, nullptr, 0) != FALSE; }
};

RECT Centred(const RECT& around, int width, int height) {
  const int x = (around.left + around.right) / 2 - width / 2;
  const int y = (around.top + around.bottom) / 2 - height / 2;
  return {x, y, x + width, y + height};
}

RECT WorkArea() {
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128; }

}  // namespace

class Prompt : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_owner.Open(RECT{60, 40, 760, 560})); }
  COwnerWindow m_owner;
};

TEST_F(Prompt, ButtonsEndThePromptWithTheirResults) {
  struct Case {
    int type, clicked;
    bool secondShown;
    INT_PTR result;
  };
  const Case cases[] = {
      {3, IDC_PROMPT_OK, false, IDOK},     {3, IDC_PROMPT_CLOSE, false, IDCANCEL},
      {2, IDC_PROMPT_OK, true, IDOK},      {2, IDC_PROMPT_CANCEL, true, IDCANCEL},
      {1, IDC_PROMPT_OK, false, IDOK},     {4, IDC_PROMPT_CANCEL, true, IDCANCEL},
  };
  for (const Case& c : cases) {
    CTestPromptDlg dlg(&m_owner);
    dlg.SetText(L"本地修复完成");
    dlg.SetType(c.type);
    bool firstShown = false, secondShown = !c.secondShown, ownerEnabled = true;
    RECT outer{};
    dlg.m_onRunning = [&] {
      const HWND inner = InnerOf(dlg);
      firstShown = Shown(inner, IDC_PROMPT_OK);
      secondShown = Shown(inner, IDC_PROMPT_CANCEL);
      ownerEnabled = m_owner.IsWindowEnabled();
      outer = WindowRectOf(dlg.m_hWnd);
      ::SendMessageW(::GetDlgItem(inner, c.clicked), BM_CLICK, 0, 0);
    };
    EXPECT_EQ(dlg.DoModal(), c.result) << "type " << c.type << " button " << c.clicked;
    EXPECT_TRUE(firstShown) << c.type;
    EXPECT_EQ(secondShown, c.secondShown) << c.type;
    EXPECT_FALSE(ownerEnabled) << "a prompt on the owner's thread disables it";
    EXPECT_TRUE(m_owner.IsWindowEnabled());
    EXPECT_EQ(outer, Centred(RECT{60, 40, 760, 560}, 336, 156));
  }
}

TEST_F(Prompt, PromptResultMessageAnswersOkOnlyForOne) {
  for (WPARAM w : {0, 1, 2, 3}) {
    CTestPromptDlg dlg;
    LRESULT handled = -1;
    dlg.m_onRunning = [&] { handled = dlg.SendMessage(WM_PROMPT_RESULT, w, 0); };
    EXPECT_EQ(dlg.DoModal(), w == 1 ? IDOK : IDCANCEL) << w;
    EXPECT_EQ(handled, 0);
  }
}

TEST_F(Prompt, FaceOfTheFirstButtonFollowsTheType) {
  auto firstFace = [&](int type) {
    CTestPromptDlg dlg;
    dlg.SetType(type);
    CPixels face;
    dlg.m_onRunning = [&] {
      face = PrintClient(::GetDlgItem(InnerOf(dlg), IDC_PROMPT_OK), RGB(255, 0, 255));
      dlg.EndDialog(IDOK);
    };
    dlg.DoModal();
    return face;
  };
  const CPixels yes = firstFace(1), yesOfPair = firstFace(2), confirm = firstFace(3), confirmOfPair = firstFace(4);
  ASSERT_FALSE(yes.bgra.empty());
  EXPECT_EQ(yes, yesOfPair);
  EXPECT_EQ(confirm, confirmOfPair);
  EXPECT_FALSE(yes == confirm) << "是 and 确认 are different pictures";
}

TEST_F(Prompt, EnterAndEscapeDoNothing) {
  CTestPromptDlg dlg(&m_owner);
  dlg.SetType(2);
  bool innerShown = false, stillOpen = false;
  dlg.m_onRunning = [&] {
    const HWND inner = InnerOf(dlg);
    if (dlg.m_nStage == 0) {
      // Handed to the modal loop, which translates them like typed keys.
      for (HWND target : {::GetFocus(), dlg.m_hWnd, inner, ::GetDlgItem(inner, IDC_PROMPT_OK),
                          ::GetDlgItem(inner, IDC_PROMPT_CANCEL), ::GetDlgItem(inner, IDC_PROMPT_CLOSE)}) {
        if (!target) continue;
        for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
          ::PostMessageW(target, WM_KEYDOWN, key, 1);
          ::PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        }
      }
      dlg.PostMessage(kRunChecksMessage);
      return;
    }
    innerShown = ::IsWindowVisible(inner) != FALSE;
    stillOpen = dlg.IsWindowVisible() != FALSE;
    dlg.EndDialog(77);
  };
  EXPECT_EQ(dlg.DoModal(), 77);
  EXPECT_TRUE(innerShown);
  EXPECT_TRUE(stillOpen);
}

TEST_F(Prompt, ControlsStandWhereTheLayoutPutsThemAtBothScales) {
  struct Case {
    float scale;
    int type;
    SIZE frame, inner;
    RECT close, first, second, text;
  };
  // The layout is made at the inner's creation size, 390 x 174 at 1.2; the follow step later
  // makes the panel 391 x 176 and the controls keep their places.
  const Case cases[] = {
      {1.0f, 3, {336, 156}, {326, 146}, {300, 8, 312, 20}, {135, 107, 190, 131}, {175, 107, 230, 131}, {10, 50, 316, 106}},
      {1.0f, 2, {336, 156}, {326, 146}, {300, 8, 312, 20}, {96, 107, 151, 131}, {175, 107, 230, 131}, {10, 50, 316, 106}},
      {1.2f, 3, {403, 187}, {391, 176}, {359, 9, 373, 23}, {161, 128, 227, 156}, {209, 128, 275, 156}, {12, 60, 378, 126}},
      {1.2f, 2, {403, 187}, {391, 176}, {359, 9, 373, 23}, {114, 128, 180, 156}, {209, 128, 275, 156}, {12, 60, 378, 126}},
  };
  for (const Case& c : cases) {
    CTestPromptDlg dlg(&m_owner);
    dlg.m_fScale = c.scale;
    dlg.SetType(c.type);
    RECT outer{}, inner{}, close{}, first{}, second{}, text{};
    dlg.m_onRunning = [&] {
      const HWND hInner = InnerOf(dlg);
      outer = WindowRectOf(dlg.m_hWnd);
      inner = WindowRectOf(hInner);
      close = ClientRectOfChild(hInner, IDC_PROMPT_CLOSE);
      first = ClientRectOfChild(hInner, IDC_PROMPT_OK);
      second = ClientRectOfChild(hInner, IDC_PROMPT_CANCEL);
      text = ClientRectOfChild(hInner, IDC_PROMPT_TEXT);
      dlg.EndDialog(IDOK);
    };
    dlg.DoModal();
    const auto where = ::testing::Message() << "scale " << c.scale << " type " << c.type;
    EXPECT_EQ(outer.right - outer.left, c.frame.cx) << where;
    EXPECT_EQ(outer.bottom - outer.top, c.frame.cy) << where;
    EXPECT_EQ(inner.right - inner.left, c.inner.cx) << where;
    EXPECT_EQ(inner.bottom - inner.top, c.inner.cy) << where;
    EXPECT_EQ(close, c.close) << where;
    EXPECT_EQ(first, c.first) << where;
    EXPECT_EQ(second, c.second) << where;
    EXPECT_EQ(text, c.text) << where;
  }
}

TEST_F(Prompt, TextStartsTopLeftWrapsAndIsCutAtTheStaticsBottom) {
  std::wstring longText;
  for (int i = 0; i < 40; ++i) longText += L"系统文件修复 repair ";
  struct Seen {
    CPixels pixels;
    RECT rect{};
  };
  auto show = [&](const std::wstring& text) {
    CTestPromptDlg dlg;
    dlg.SetText(text);
    dlg.SetType(3);
    Seen seen;
    dlg.m_onRunning = [&] {
      const HWND hText = ::GetDlgItem(InnerOf(dlg), IDC_PROMPT_TEXT);
      seen.pixels = PrintClient(hText, RGB(255, 0, 255));
      seen.rect = ClientRectOfChild(InnerOf(dlg), IDC_PROMPT_TEXT);
      dlg.EndDialog(IDOK);
    };
    dlg.DoModal();
    return seen;
  };

  const Seen shortText = show(L"修复完成");
  ASSERT_FALSE(shortText.pixels.bgra.empty());
  EXPECT_EQ(shortText.pixels.At(shortText.pixels.width - 1, shortText.pixels.height - 1), RGB(255, 255, 255));
  int top = -1, left = shortText.pixels.width, bottom = -1;
  for (int y = 0; y < shortText.pixels.height; ++y) {
    for (int x = 0; x < shortText.pixels.width; ++x) {
      if (!IsDark(shortText.pixels.At(x, y))) continue;
      if (top < 0) top = y;
      bottom = y;
      left = std::min(left, x);
    }
  }
  EXPECT_GE(top, 0);
  EXPECT_LT(top, 6) << "drawn from the top";
  EXPECT_LT(left, 4) << "drawn from the left";
  EXPECT_LT(bottom, 20) << "one line";

  const Seen wrapped = show(longText);
  EXPECT_EQ(wrapped.rect, (RECT{10, 50, 316, 106})) << "the static keeps its size";
  // Rows with ink come in bands, one per line; the last band reaches the static's bottom.
  int bands = 0, lastInkRow = -1;
  bool previousInk = false;
  for (int y = 0; y < wrapped.pixels.height; ++y) {
    bool ink = false;
    for (int x = 0; x < wrapped.pixels.width && !ink; ++x) ink = IsDark(wrapped.pixels.At(x, y));
    if (ink && !previousInk) ++bands;
    if (ink) lastInkRow = y;
    previousInk = ink;
  }
  EXPECT_GE(bands, 3) << "the long text wraps into lines";
  EXPECT_GE(lastInkRow, wrapped.pixels.height - 6) << "the text goes on to the bottom edge and is cut there";
}

TEST_F(Prompt, WorkerPromptOverTheProgressPopupLeavesWindowsEnabledAndHoldsTheWorker) {
  using CTestProgress = CRunningDlg<CExecutePromptDlg>;
  CTestProgress progress(&m_owner);
  std::thread worker;
  std::atomic<DWORD> workerId{0};
  std::atomic<bool> workerContinued{false};
  std::atomic<INT_PTR> promptResult{-5};
  HWND promptOwner = reinterpret_cast<HWND>(1);
  RECT promptRect{}, popupRect{};
  bool found = false, heldBeforeClick = false, popupEnabled = false, ownerDisabled = false;
  progress.m_onRunning = [&] {
    popupRect = WindowRectOf(progress.m_hWnd);
    worker = std::thread([&] {
      workerId = ::GetCurrentThreadId();
      CPromptDlg prompt;
      prompt.SetText(L"联网修复失败");
      prompt.SetType(3);
      promptResult = prompt.DoModal();
      workerContinued = true;
      progress.EndProgress();
    });
    HWND outer = nullptr, inner = nullptr;
    found = PumpUntil(
        [&] {
          if (!workerId) return false;
          outer = FindThreadWindowOfSize(workerId, 336, 156);
          inner = FindThreadWindowOfSize(workerId, 326, 146);
          return outer && inner;
        },
        5000);
    if (!found) return;
    promptOwner = ::GetWindow(outer, GW_OWNER);
    promptRect = WindowRectOf(outer);
    popupEnabled = ::IsWindowEnabled(progress.m_hWnd) != FALSE;
    ownerDisabled = !m_owner.IsWindowEnabled();
    PumpFor(300);
    heldBeforeClick = !workerContinued;
    ::SendMessageW(::GetDlgItem(inner, IDC_PROMPT_OK), BM_CLICK, 0, 0);
  };
  const INT_PTR popupResult = progress.DoModal();
  if (worker.joinable()) worker.join();
  ASSERT_TRUE(found);
  EXPECT_EQ(popupResult, IDOK) << "the worker went on and ended the popup";
  EXPECT_EQ(promptResult.load(), IDOK);
  EXPECT_TRUE(heldBeforeClick);
  EXPECT_TRUE(workerContinued);
  EXPECT_EQ(popupRect, Centred(RECT{60, 40, 760, 560}, 278, 158)) << "the popup opens over its owner";
  EXPECT_EQ(promptOwner, nullptr);
  EXPECT_EQ(promptRect, Centred(WorkArea(), 336, 156));
  EXPECT_TRUE(popupEnabled) << "the worker's prompt disables no window";
  EXPECT_TRUE(ownerDisabled) << "the popup's owner stays disabled by the popup alone";
  EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(Prompt, DismissClosesAPromptOpenOnAnotherThread) {
  struct Case {
    bool beforeOpen;
  };
  for (const Case c : {Case{false}, Case{true}}) {
    CPromptDlg prompt;
    prompt.SetType(3);
    if (c.beforeOpen) prompt.Dismiss();
    std::atomic<bool> done{false};
    std::atomic<INT_PTR> result{-5};
    std::atomic<DWORD> workerId{0};
    std::thread worker([&] {
      workerId = ::GetCurrentThreadId();
      result = prompt.DoModal();
      done = true;
    });
    if (!c.beforeOpen) {
      ASSERT_TRUE(PumpUntil([&] { return workerId && FindThreadWindowOfSize(workerId, 336, 156); }, 5000));
      prompt.Dismiss();
    }
    const bool ended = PumpUntil([&] { return done.load(); }, 5000);
    if (!ended) ::PostThreadMessageW(workerId, WM_QUIT, 0, 0);
    worker.join();
    EXPECT_TRUE(ended) << c.beforeOpen;
    EXPECT_EQ(result.load(), IDCANCEL) << c.beforeOpen;
    prompt.Dismiss();  // the window is gone: nothing happens
  }
}

TEST_F(Prompt, DragStripSparesTheCloseCrossAndTheHoverLookFadesOnceTheCursorLeaves) {
  CTestPromptDlg dlg;
  dlg.SetType(2);
  struct Probe {
    int x, y;  // from the panel's top-left corner; negative x counts from the right edge
    bool drags;
  };
  const Probe probes[] = {{40, 5, true}, {40, 29, true}, {40, 31, false}, {-27, 5, true}, {-26, 5, false}, {-10, 10, false}};
  std::vector<LRESULT> answers;
  EPngButtonState hovered = EPngButtonState::Normal, afterLeaving = EPngButtonState::Hover;
  dlg.m_onRunning = [&] {
    const HWND inner = InnerOf(dlg);
    RECT client{};
    ::GetClientRect(inner, &client);
    ::MapWindowPoints(inner, nullptr, reinterpret_cast<POINT*>(&client), 2);
    for (const Probe& p : probes) {
      const int x = p.x >= 0 ? client.left + p.x : client.right + p.x;
      answers.push_back(::SendMessageW(inner, WM_NCHITTEST, 0, MAKELPARAM(x, client.top + p.y)));
    }
    // The cursor stays away from the panel; a hit test over the button gives it its hover look.
    ::SetCursorPos(client.right + 200, client.bottom + 200);
    auto& ok = static_cast<CPromptChildDlg*>(dlg.m_pInnerDlg.get())->m_btnOk;
    const RECT button = WindowRectOf(ok.m_hWnd);
    ok.SendMessage(WM_NCHITTEST, 0, MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2));
    hovered = ok.GetPngState();
    PumpUntil([&] { return ok.GetPngState() != EPngButtonState::Hover; }, 400);
    afterLeaving = ok.GetPngState();
    dlg.EndDialog(IDOK);
  };
  dlg.DoModal();
  ASSERT_EQ(answers.size(), std::size(probes));
  for (size_t i = 0; i < answers.size(); ++i) {
    EXPECT_EQ(answers[i] == HTCAPTION, probes[i].drags) << probes[i].x << ", " << probes[i].y;
  }
  EXPECT_EQ(hovered, EPngButtonState::Hover);
  EXPECT_EQ(afterLeaving, EPngButtonState::Normal) << "the 100 ms check drops the hover look";
}
