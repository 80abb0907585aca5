#pragma once
// A dialog from a template, modeless (Create) or modal (DoModal, with its own message loop).
// At WM_INITDIALOG the object is bound and the dialog window is subclassed, so from then on
// every message goes through WindowProc like any CWnd and handler results are window
// procedure results (no DWLP_MSGRESULT bookkeeping); Default() runs the system's dialog
// procedure.
#include <atomic>

#include "framework/wnd.h"

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* pParent = nullptr) noexcept;
  ~CDialog() override = default;

  // Modeless, from the template given here (or the constructor's); the parent becomes the
  // owner of a popup dialog.
  BOOL Create(UINT templateId, CWnd* pParent = nullptr);
  BOOL Create(CWnd* pParent);
  // Modal. Owner: the constructor's parent, else the last active popup of the top-level
  // owner of this thread's active window (none on a thread without windows). The owner is
  // disabled while the dialog runs and enabled and reactivated before it is destroyed.
  // Returns the EndDialog result, -1 when the dialog could not be created or was destroyed
  // without EndDialog.
  INT_PTR DoModal();
  // Ends a modal run (from the dialog's thread); hides a modeless dialog.
  void EndDialog(int result);

  // The default translation: the dialog keyboard interface (IsDialogMessage) for keyboard
  // and mouse messages.
  BOOL PreTranslateMessage(MSG* msg) override;

  UINT GetTemplateId() const noexcept { return m_nIDTemplate; }
  bool IsModalRunning() const noexcept { return m_bModal; }

 protected:
  // The base exchanges data (DoDataExchange) and answers TRUE (focus to the first control).
  virtual BOOL OnInitDialog();
  // Bind the member controls here with BindControl.
  virtual void DoDataExchange();
  // Subclasses the child with this id into `control` (its PreSubclassWindow runs first).
  bool BindControl(int id, CWnd& control);

  virtual void OnOK();
  virtual void OnCancel();

  bool OnCommand(UINT id, UINT code, HWND hCtl) override;
  void OnClose() override;
  void OnNcDestroy() override;
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleInitDialog(HWND hWnd, WPARAM wParam, LPARAM lParam);
  BOOL CreateFromTemplate(HWND hOwner);
  void RunModalLoop();
  static HWND DefaultModalOwner();

  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
  bool m_bModal = false;
  std::atomic<bool> m_bEndModal{false};
  INT_PTR m_nModalResult = -1;
};
