#pragma once
// The message prompt's panel: the text, one or two picture buttons and the close cross.
#include <string>

#include "popups/layered_inner_dlg.h"
#include "skin/draw_text_static.h"
#include "skin/png_button.h"

class CPromptChildDlg : public CLayeredInnerDlg {
 public:
  CPromptChildDlg() noexcept;

  void LayoutControls() override;

  CPngButton m_btnClose;
  CPngButton m_btnOk;
  CPngButton m_btnCancel;
  CDrawTextStatic m_stcText;
  std::wstring m_strText;
  int m_nType = 1;

  static constexpr UINT_PTR kHoverResetTimerId = 34;
  static constexpr UINT kHoverResetPeriodMs = 100;

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  bool OnCommand(UINT id, UINT code, HWND hCtl) override;
  // The panel is modeless: the keyboard's OK and cancel would only hide it.
  void OnOK() override {}
  void OnCancel() override {}
  LRESULT OnNcHitTest(POINT screenPoint) override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;

  void OnBnClickedOk();
  void OnBnClickedCancel();
  void OnBnClickedClose();
  void ResetButtons(POINT screenPoint);
};
