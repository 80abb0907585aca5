#pragma once
// The inner dialog of the problem-solved window: a tall panel whose background carries the
// question, three wide picture buttons and a close cross. The answers go to the maker's
// feedback service before the window closes; "more solutions" opens the knowledge base.
#include "popups/layered_inner_dlg.h"
#include "skin/gdi_png_button.h"

class IRepairFeedback;

// Where the buttons of the panel stand in a client area of a given size.
struct FeedbackButtonRects {
  PairRect close, solved, unsolved, more;
  bool operator==(const FeedbackButtonRects&) const = default;
};

class CProblemSolvingFeedbackChildDlg : public CLayeredInnerDlg {
 public:
  CProblemSolvingFeedbackChildDlg() noexcept;

  // The panel was drawn for 400 x 468; larger panels scale the design, smaller or equal ones
  // centre it unscaled.
  static FeedbackButtonRects ButtonRects(int clientWidth, int clientHeight, float scale);

  void LayoutControls() override;

  RECT m_rcClient{};
  CGDIPngButton m_btnClose;
  CGDIPngButton m_btnSolved;
  CGDIPngButton m_btnUnsolved;
  CGDIPngButton m_btnMore;
  IRepairFeedback* m_pFeedback = nullptr;  // the caller's service object, not owned

 protected:
  void DoDataExchange() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void DrawBackground(HDC hdc, const RECT& client) override;
  bool OnCommand(UINT id, UINT code, HWND hCtl) override;
  void OnDestroy() override;

  void OnBnClickedClose();
  void OnBnClickedSolved();
  void OnBnClickedUnsolved();
  void OnBnClickedMore();

  // Tells the service the answer (when there is a service) and ends the window.
  void ReportAndClose(int resultCode);
};
