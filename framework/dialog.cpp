#include "framework/dialog.h"

#include "framework/win_app.h"

namespace {

// The window itself, one of its children, or a window it owns (directly or further down).
bool IsWithin(HWND hWnd, HWND top) {
  for (; hWnd; hWnd = (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetAncestor(hWnd, GA_PARENT)
                                                                          : ::GetWindow(hWnd, GW_OWNER)) {
    if (hWnd == top) return true;
  }
  return false;
}

}  // namespace

CDialog::CDialog(UINT templateId, CWnd* pParent) noexcept : m_nIDTemplate(templateId), m_pParentWnd(pParent) {}

BOOL CDialog::Create(UINT templateId, CWnd* pParent) {
  m_nIDTemplate = templateId;
  m_pParentWnd = pParent;
  return CreateFromTemplate(pParent ? pParent->m_hWnd : nullptr);
}

BOOL CDialog::Create(CWnd* pParent) { return Create(m_nIDTemplate, pParent); }

BOOL CDialog::CreateFromTemplate(HWND hOwner) {
  if (m_hWnd) return FALSE;
  HWND hWnd = ::CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_nIDTemplate), hOwner,
                                   &CDialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
  if (!hWnd) return FALSE;
  m_bCreatedWindow = true;
  return TRUE;
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Once bound, the dialog window is subclassed and this procedure only stands for the
  // system's defaults: FALSE lets the dialog manager do its own processing.
  if (msg == WM_INITDIALOG && !FromHandlePermanent(hWnd)) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    if (dialog) return dialog->HandleInitDialog(hWnd, wParam, lParam);
  }
  return FALSE;
}

INT_PTR CDialog::HandleInitDialog(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  Hook(hWnd, reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)));
  RECT before{};
  ::GetWindowRect(hWnd, &before);
  const INT_PTR result = Dispatch(WM_INITDIALOG, wParam, lParam);
  // Like the platform's dialog framework: a modal dialog that did not place itself while
  // initialising opens centred (a new size alone does not count as placing).
  if (m_bModal && m_hWnd == hWnd && !m_bEndModal) {
    RECT after{};
    ::GetWindowRect(hWnd, &after);
    if (after.left == before.left && after.top == before.top) CenterWindow();
  }
  return result;
}

LRESULT CDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_INITDIALOG) {
    LRESULT result = 0;
    if (OnMessage(msg, wParam, lParam, result)) return result;
    return OnInitDialog();
  }
  return CWnd::WindowProc(msg, wParam, lParam);
}

BOOL CDialog::OnInitDialog() {
  DoDataExchange();
  return TRUE;
}

void CDialog::DoDataExchange() {}

bool CDialog::BindControl(int id, CWnd& control) {
  if (control.m_hWnd) return control.m_hWnd == GetDlgItem(id);
  HWND hCtl = GetDlgItem(id);
  return hCtl && control.SubclassWindow(hCtl);
}

bool CDialog::OnCommand(UINT id, UINT code, HWND) {
  // Button clicks, menu items and accelerators (codes 0 and 1); other notifications of
  // controls that happen to carry these ids are not commands.
  if (code > 1) return false;
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

void CDialog::OnClose() { OnCancel(); }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  if (m_bModal) {
    m_bEndModal = true;
    // The loop may sit in GetMessage while this runs inside a sent message: wake it.
    if (m_hWnd) PostMessage(WM_NULL);
    return;
  }
  if (m_hWnd) ShowWindow(SW_HIDE);
}

void CDialog::OnNcDestroy() {
  CWnd::OnNcDestroy();
  // Destroyed from outside (its owner went away) while the modal loop waits: wake it, it
  // then sees the window gone.
  if (m_bModal) ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  const bool keyboard = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
  const bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST;
  if (!keyboard && !mouse) return FALSE;
  return ::IsDialogMessageW(m_hWnd, msg);
}

HWND CDialog::DefaultModalOwner() {
  HWND hWnd = ::GetActiveWindow();
  if (!hWnd) {
    // Not the foreground application: fall back on the main window, on the application's
    // own thread only.
    CWinApp* app = CWinApp::Current();
    if (app && app->GetThreadId() == ::GetCurrentThreadId() && app->m_pMainWnd) hWnd = app->m_pMainWnd->m_hWnd;
  }
  if (!hWnd) return nullptr;
  hWnd = ::GetAncestor(hWnd, GA_ROOT);
  for (HWND owner = ::GetWindow(hWnd, GW_OWNER); owner; owner = ::GetWindow(hWnd, GW_OWNER)) hWnd = owner;
  HWND last = ::GetLastActivePopup(hWnd);
  return last ? last : hWnd;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd) return -1;
  HWND owner = m_pParentWnd && m_pParentWnd->m_hWnd ? ::GetAncestor(m_pParentWnd->m_hWnd, GA_ROOT)
                                                      : DefaultModalOwner();
  m_bModal = true;
  m_bEndModal = false;
  m_nModalResult = -1;

  const bool disabledOwner = owner && ::IsWindowEnabled(owner);
  if (disabledOwner) ::EnableWindow(owner, FALSE);
  if (CreateFromTemplate(owner)) {
    if (!m_bEndModal && m_hWnd && !IsWindowVisible()) ShowWindow(SW_SHOWNORMAL);
    RunModalLoop();
  }
  // The owner first, so activation returns to it and not to another application.
  if (disabledOwner && ::IsWindow(owner)) ::EnableWindow(owner, TRUE);
  if (m_hWnd) {
    // Also when the active window is one the dialog owns (its inner dialog).
    if (owner && ::IsWindow(owner) && IsWithin(::GetActiveWindow(), m_hWnd)) ::SetActiveWindow(owner);
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DestroyWindow();
  }
  m_bModal = false;
  return m_nModalResult;
}

void CDialog::RunModalLoop() {
  MSG msg{};
  while (!m_bEndModal && m_hWnd) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      // Leave WM_QUIT for the loop outside.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (WalkPreTranslateTree(m_hWnd, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}
