#pragma once
// The start page's panel: the artwork, the close cross, the start button, the agree box and
// the agreement link, which opens the agreement text as a callout above it.
#include <memory>

#include "popups/layered_inner_dlg.h"
#include "popups/tooltip_dlg.h"
#include "skin/check_box_btn.h"
#include "skin/draw_text_static.h"
#include "skin/gdi_png_button.h"

class CUsageArgeeementChildDlg : public CLayeredInnerDlg {
 public:
  CUsageArgeeementChildDlg() noexcept;

  void LayoutControls() override;

  CGDIPngButton m_btnClose;
  CGDIPngButton m_btnStart;
  RECT m_rcClient{};
  CCheckBoxBtn m_chkAgree;
  CDrawTextStatic m_stcLink;
  std::unique_ptr<CTooltipDlg> m_pAgreementDlg;

  // The agree box and its link are measured from this text: the box takes its first two
  // characters, the link the other fourteen.
  static constexpr const wchar_t* kMeasureText = L"同意《泽沃服务工具使用许可协议》";

 protected:
  void DoDataExchange() override;
  void DrawBackground(HDC hdc, const RECT& client) override;
  bool OnCommand(UINT id, UINT code, HWND hCtl) override;
  // Enter would only hide the panel from under its frame; Escape closes like the cross.
  void OnOK() override {}
  void OnCancel() override;
  void OnLButtonDown(UINT flags, POINT point) override;
  void OnNcRButtonDown(UINT hitTest, POINT screenPoint) override;
  LRESULT OnNcHitTest(POINT screenPoint) override;
  void OnDestroy() override;

  void OnBnClickedStart();
  void OnBnClickedClose();
  void OnBnClickedAgree();
  void ToggleAgreement(POINT clientPoint);
  void HideAgreement();
  void PlaceAgreement();
  int MeasureCharWidth() const;
};
