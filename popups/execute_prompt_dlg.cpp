#include "popups/execute_prompt_dlg.h"

#include "popups/dialog_keys.h"
#include "res/resource.h"

CExecutePromptDlg::CExecutePromptDlg(CWnd* pParent) noexcept
    : CLayeredOuterDlg(IDD_PROGRESS_OUTER, LayoutOf(ELayeredPair::Progress), 1.2f, pParent) {
  m_bSmoothFrame = true;
}

std::unique_ptr<CLayeredInnerDlg> CExecutePromptDlg::NewInnerDlg() {
  return std::make_unique<CExecutePromptChildDlg>();
}

BOOL CExecutePromptDlg::OnInitDialog() {
  CLayeredOuterDlg::OnInitDialog();
  m_hEndTarget.store(m_hWnd);
  // An outcome that came before the window existed still ends this run, once it has begun.
  if (m_bEndRequested.load()) PostMessage(WM_END_PROGRESS);
  return TRUE;
}

void CExecutePromptDlg::EndProgress() {
  // Request first, then look for the window: either this call finds it, or the
  // initialisation finds the request.
  m_bEndRequested.store(true);
  const HWND target = m_hEndTarget.load();
  if (target) ::SendMessageW(target, WM_END_PROGRESS, 0, 0);
}

bool CExecutePromptDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_END_PROGRESS) {
    EndDialog(IDOK);
    result = 0;
    return true;
  }
  return CLayeredOuterDlg::OnMessage(msg, wParam, lParam, result);
}

BOOL CExecutePromptDlg::PreTranslateMessage(MSG* msg) {
  if (IsEnterOrEscapeKeyDown(msg)) return TRUE;
  return CLayeredOuterDlg::PreTranslateMessage(msg);
}

void CExecutePromptDlg::OnDestroy() {
  m_hEndTarget.store(nullptr);
  CLayeredOuterDlg::OnDestroy();
}
