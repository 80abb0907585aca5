#include "popups/prompt_dlg.h"

#include "popups/dialog_keys.h"
#include "popups/prompt_child_dlg.h"
#include "res/resource.h"

CPromptDlg::CPromptDlg(CWnd* pParent) noexcept
    : CLayeredOuterDlg(IDD_PROMPT_OUTER, LayoutOf(ELayeredPair::Prompt), 1.0f, pParent) {}

std::unique_ptr<CLayeredInnerDlg> CPromptDlg::NewInnerDlg() {
  auto inner = std::make_unique<CPromptChildDlg>();
  inner->m_strText = m_strText;
  inner->m_nType = m_nType;
  return inner;
}

BOOL CPromptDlg::OnInitDialog() {
  CLayeredOuterDlg::OnInitDialog();
  m_hOpenWnd.store(m_hWnd);
  if (m_bDismissed.load()) PostMessage(WM_CLOSE);
  return TRUE;
}

void CPromptDlg::Dismiss() {
  // Request first, then look for the window: either this call finds it, or the
  // initialisation finds the request. Posting to a window that is gone does nothing.
  m_bDismissed.store(true);
  const HWND open = m_hOpenWnd.load();
  if (open) ::PostMessageW(open, WM_CLOSE, 0, 0);
}

// The frame window has no controls and may hold the focus itself; its dialog keyboard
// interface would end the prompt on these keys.
BOOL CPromptDlg::PreTranslateMessage(MSG* msg) {
  if (IsEnterOrEscapeKeyDown(msg)) return TRUE;
  return CLayeredOuterDlg::PreTranslateMessage(msg);
}

bool CPromptDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_PROMPT_RESULT) {
    if (wParam == 1) {
      OnOK();
    } else {
      OnCancel();
    }
    result = 0;
    return true;
  }
  return CLayeredOuterDlg::OnMessage(msg, wParam, lParam, result);
}

void CPromptDlg::OnDestroy() {
  m_hOpenWnd.store(nullptr);
  CLayeredOuterDlg::OnDestroy();
}
