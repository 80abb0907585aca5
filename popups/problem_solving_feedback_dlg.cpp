#include "popups/problem_solving_feedback_dlg.h"

#include "popups/dialog_keys.h"
#include "popups/dpi_scale.h"
#include "popups/problem_solving_feedback_child_dlg.h"
#include "res/resource.h"

CProblemSolvingFeedbackDlg::CProblemSolvingFeedbackDlg() noexcept
    : CLayeredOuterDlg(IDD_FEEDBACK_OUTER, LayoutOf(ELayeredPair::Feedback), 1.0f) {}

BOOL CProblemSolvingFeedbackDlg::OnInitDialog() {
  m_fScale = ScreenDpiScale(m_fScale);
  // Default initialisation, frame, then the inner dialog over it.
  CLayeredOuterDlg::OnInitDialog();
  SetWindowText(L"系统文件修复工具");
  return TRUE;
}

// Neither Enter nor Escape may end the run: only the panel's buttons answer.
BOOL CProblemSolvingFeedbackDlg::PreTranslateMessage(MSG* msg) {
  if (IsEnterOrEscapeKeyDown(msg)) return TRUE;
  return CLayeredOuterDlg::PreTranslateMessage(msg);
}

std::unique_ptr<CLayeredInnerDlg> CProblemSolvingFeedbackDlg::NewInnerDlg() {
  auto inner = std::make_unique<CProblemSolvingFeedbackChildDlg>();
  inner->m_pFeedback = m_pFeedback;
  return inner;
}
