#pragma once
// The main window: the layered frame (picture 141 with its shadow) around the operations
// window, the program icon and taskbar button, and the About entry of the system menu. When
// it is destroyed it starts the removal of the program's folder.
#include <memory>

#include "popups/layered_outer_dlg.h"

class CZorvexSfcRepairDlgOP;

class CZorvexSfcRepairDlg : public CLayeredOuterDlg {
 public:
  explicit CZorvexSfcRepairDlg(CWnd* pParent = nullptr) noexcept;

  // The operations window while it exists.
  CZorvexSfcRepairDlgOP* InnerDialog() const;

  HICON m_hIcon;

 protected:
  BOOL OnInitDialog() override;
  std::unique_ptr<CLayeredInnerDlg> NewInnerDlg() override;
  void OnSysCommand(UINT id, LPARAM lParam) override;
  void OnPaint() override;
  HCURSOR OnQueryDragIcon() override;
  void OnDestroy() override;
  void OnClose() override;

 private:
  void AddAboutMenuItem();
};
