#pragma once
// The progress popup's panel: the status line, and under it the bar with the percent text on
// it, all read from the run's status record. The bar is drawn by the background erase through
// a memory bitmap and redrawn only when the percent changed.
#include "popups/layered_inner_dlg.h"
#include "skin/draw_state_info_static.h"
#include "skin/png_image.h"

class CExecutePromptChildDlg : public CLayeredInnerDlg {
 public:
  CExecutePromptChildDlg() noexcept;

  // The popup's layout step: sets up and starts the status line over the panel picture.
  void LayoutControls() override { StartStatusLine(); }
  void StartStatusLine();
  // The status line takes the record's current status text.
  void ShowCurrentStatus();

  CPngImage m_pTrackImage;
  CPngImage m_pFillImage;
  CDrawStateInfoStatic m_stcStatus;
  int m_nLastPercent = 0;

  static constexpr UINT_PTR kRefreshTimerId = 1;
  static constexpr UINT kRefreshPeriodMs = 500;
  // Bar geometry in the panel's pixels (the popup does not scale with the screen).
  static constexpr int kBarLeft = 30;
  static constexpr int kBarBottomOffset = 25;
  static constexpr int kBarWidth = 191;
  static constexpr int kBarHeight = 9;
  static constexpr int kPercentTextLeft = 117;
  static constexpr int kPercentTextWidth = 30;
  // Two pixels per percent, full from 96 on.
  static int FillWidth(int percent);

 protected:
  void DoDataExchange() override;
  BOOL OnInitDialog() override;
  bool LoadBackgroundPictures() override;
  void DrawBackground(HDC hdc, const RECT& client) override;
  void OnTimer(UINT_PTR id) override;
  void OnDestroy() override;
  // The panel never hides itself; the run ends the whole popup.
  void OnOK() override {}
  void OnCancel() override {}

  void DrawPanel(HDC hdc, const RECT& client);

  // The bar's pictures; a test may point them at missing resources.
  UINT m_nTrackId;
  UINT m_nFillId;
};
