#pragma once
// The About box of the system menu (template 100).
#include "framework/dialog_ex.h"

class CAboutDlg : public CDialogEx {
 public:
  CAboutDlg() noexcept;
};
