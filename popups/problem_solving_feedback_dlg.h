#pragma once
// The problem-solved window offered when the operations window closes: the layered frame
// around CProblemSolvingFeedbackChildDlg. Every closing answer ends the run with IDCANCEL.
#include <memory>

#include "popups/layered_outer_dlg.h"

class IRepairFeedback;

class CProblemSolvingFeedbackDlg : public CLayeredOuterDlg {
 public:
  CProblemSolvingFeedbackDlg() noexcept;

  IRepairFeedback* m_pFeedback = nullptr;  // set by the caller before DoModal; not owned

 protected:
  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* msg) override;
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override;
};
