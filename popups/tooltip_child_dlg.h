#pragma once
// The agreement window's inner dialog: the white callout box holding the read-only rich edit
// with the agreement text, scrolled by skinned bars.
#include "framework/gdi_object.h"
#include "framework/rich_edit_ctrl.h"
#include "popups/layered_inner_dlg.h"

class CTooltipChildDlg : public CLayeredInnerDlg {
 public:
  CTooltipChildDlg() noexcept;

  // The pair's layout step: places the rich edit, skins its bars and fills in the text.
  void LayoutControls() override { FillAgreementText(); }
  void FillAgreementText();

  CRichEditCtrl m_edtText;
  CBitmap m_hScrollSkin;

  static constexpr UINT kBackgroundPictureId = 185;
  // The lower strip of picture 185 holds the callout's tail, which the outer frame shows.
  static constexpr int kTailHeight = 18;

 protected:
  void DoDataExchange() override;
  void DrawBackground(HDC hdc, const RECT& client) override;
  // The box is created a pixel larger than it ends up once the outer has placed it: the text
  // keeps its margin through that.
  void OnSize(UINT type, int cx, int cy) override;
  void PlaceText();
  // A modeless box with no buttons: Enter and Escape would only hide it from under its frame.
  void OnOK() override {}
  void OnCancel() override {}
  void OnNcDestroy() override;
};
