#pragma once
// The agreement text window: a modeless callout pair over the start page, shown and hidden by
// the start page's link; it cannot be dragged and has no controls of its own to close it.
#include <memory>

#include "popups/layered_outer_dlg.h"

class CTooltipDlg : public CLayeredOuterDlg {
 public:
  explicit CTooltipDlg(CWnd* pParent = nullptr) noexcept;

  // The owner calls this right after showing or hiding this window, with the same sense.
  void ShowInner(bool show);

 protected:
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override;
  // Escape or Enter reaching the outer would hide the frame alone.
  void OnOK() override {}
  void OnCancel() override {}
};
