#include "popups/problem_solving_feedback_child_dlg.h"

#include <shellapi.h>

#include <ctime>
#include <string>

#include "common/maker_site.h"
#include "popups/dialog_keys.h"
#include "res/resource.h"
#include "workflow/repair_feedback.h"
#include "workflow/tool_identity.h"

namespace {

// Answers as the feedback service counts them.
constexpr int kAnswerSolved = 1;
constexpr int kAnswerUnsolved = 2;
constexpr int kAnswerClosed = 3;

// The panel's design size, for which the scaled layout is computed.
constexpr int kDesignWidth = 400;
constexpr int kDesignHeight = 468;
constexpr int kWideButtonWidth = 266;
constexpr int kWideButtonHeight = 60;

// Scaled design values are truncated toward zero, never rounded.
int Trunc(float value) { return static_cast<int>(value); }

PairRect Sized(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

RECT ToRect(const PairRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

CProblemSolvingFeedbackChildDlg::CProblemSolvingFeedbackChildDlg() noexcept
    : CLayeredInnerDlg(IDD_FEEDBACK_INNER, LayoutOf(ELayeredPair::Feedback), 172, FALSE) {}

FeedbackButtonRects CProblemSolvingFeedbackChildDlg::ButtonRects(int w, int h, float s) {
  FeedbackButtonRects rects;
  const int closeLeft = Trunc(w - 18 * s);
  const int closeTop = Trunc(6 * s);
  rects.close = {closeLeft, closeTop, Trunc(closeLeft + 12 * s), Trunc(closeTop + 12 * s)};

  if (w <= kDesignWidth) {
    const int left = w / 2 - kWideButtonWidth / 2;
    rects.solved = Sized(left, h / 2 - 80, kWideButtonWidth, kWideButtonHeight);
    rects.unsolved = Sized(left, h / 2 + 20, kWideButtonWidth, kWideButtonHeight);
    rects.more = Sized(left, h / 2 + 120, kWideButtonWidth, kWideButtonHeight);
    return rects;
  }
  // The scaled branch rounds the first button differently from the other two; the panel
  // pictures were lined up against exactly these places.
  const int width = Trunc(kWideButtonWidth * s);
  const int height = Trunc(kWideButtonHeight * s);
  const int middle = Trunc(kDesignHeight * s / 2);
  const int lowerLeft = Trunc(kDesignWidth * s / 2) - Trunc(kWideButtonWidth * s / 2);
  rects.solved = Sized(Trunc(kDesignWidth * s / 2 - kWideButtonWidth * s / 2),
                       Trunc(kDesignHeight * s / 2 - Trunc(80 * s)), width, height);
  rects.unsolved = Sized(lowerLeft, middle + Trunc(20 * s), width, height);
  rects.more = Sized(lowerLeft, middle + Trunc(120 * s), width, height);
  return rects;
}

void CProblemSolvingFeedbackChildDlg::DoDataExchange() {
  CLayeredInnerDlg::DoDataExchange();
  BindControl(IDC_FEEDBACK_CLOSE, m_btnClose);
  BindControl(IDC_FEEDBACK_SOLVED, m_btnSolved);
  BindControl(IDC_FEEDBACK_UNSOLVED, m_btnUnsolved);
  BindControl(IDC_FEEDBACK_MORE, m_btnMore);
}

void CProblemSolvingFeedbackChildDlg::LayoutControls() {
  m_rcClient = GetClientRect();
  const FeedbackButtonRects rects = ButtonRects(m_rcClient.right, m_rcClient.bottom, m_fScale);

  m_btnClose.SetImages(173, 174, 175, 176);
  m_btnClose.MoveWindow(ToRect(rects.close), TRUE);
  m_btnSolved.SetImages(181, 182, 183, 184);
  m_btnSolved.MoveWindow(ToRect(rects.solved), TRUE);
  m_btnUnsolved.SetImages(186, 187, 188, 189);
  m_btnUnsolved.MoveWindow(ToRect(rects.unsolved), TRUE);
  m_btnMore.SetImages(204, 205, 206, 207);
  m_btnMore.MoveWindow(ToRect(rects.more), TRUE);
}

// Enter and Escape would end or hide the panel through the dialog keyboard interface;
// only the buttons may close it.
BOOL CProblemSolvingFeedbackChildDlg::PreTranslateMessage(MSG* msg) {
  if (IsEnterOrEscapeKeyDown(msg)) return TRUE;
  return CLayeredInnerDlg::PreTranslateMessage(msg);
}

// Nothing before the layout; afterwards the whole client area. Once the outer has been
// centred the follow rectangle makes the panel a row or two taller than the laid-out
// rectangle, and those rows must not stay unpainted.
void CProblemSolvingFeedbackChildDlg::DrawBackground(HDC hdc, const RECT& client) {
  if (IsRectEmpty(&m_rcClient)) return;
  CLayeredInnerDlg::DrawBackground(hdc, client);
}

bool CProblemSolvingFeedbackChildDlg::OnCommand(UINT id, UINT code, HWND hCtl) {
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_FEEDBACK_CLOSE: OnBnClickedClose(); return true;
      case IDC_FEEDBACK_SOLVED: OnBnClickedSolved(); return true;
      case IDC_FEEDBACK_UNSOLVED: OnBnClickedUnsolved(); return true;
      case IDC_FEEDBACK_MORE: OnBnClickedMore(); return true;
      default: break;
    }
  }
  return CLayeredInnerDlg::OnCommand(id, code, hCtl);
}

void CProblemSolvingFeedbackChildDlg::OnBnClickedClose() { ReportAndClose(kAnswerClosed); }

void CProblemSolvingFeedbackChildDlg::OnBnClickedSolved() { ReportAndClose(kAnswerSolved); }

void CProblemSolvingFeedbackChildDlg::OnBnClickedUnsolved() { ReportAndClose(kAnswerUnsolved); }

void CProblemSolvingFeedbackChildDlg::OnBnClickedMore() {
  // The browser tells the user whatever went wrong; the panel stays for the answer.
  ::ShellExecuteW(nullptr, L"open", zsr::maker_site::kKnowledgeBaseHome, nullptr, nullptr, SW_SHOWNORMAL);
}

void CProblemSolvingFeedbackChildDlg::ReportAndClose(int resultCode) {
  if (m_pFeedback) {
    const std::wstring timeText = std::to_wstring(static_cast<long long>(std::time(nullptr)));
    // The service's answers change nothing here: the window closes either way.
    m_pFeedback->CustomerFeedbackEx(kToolId, kToolVersion, resultCode, timeText);
    m_pFeedback->FeedbackQuestion(kToolId, kToolVersion);
  }
  ::SendMessageW(GetParent(), WM_CLOSE, 0, 0);
}

void CProblemSolvingFeedbackChildDlg::OnDestroy() {
  m_btnClose.ReleaseImages();
  m_btnSolved.ReleaseImages();
  m_btnUnsolved.ReleaseImages();
  m_btnMore.ReleaseImages();
  CLayeredInnerDlg::OnDestroy();
}
