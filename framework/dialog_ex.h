#pragma once
// The dialog class the program's main and operations windows derive from. It adds nothing
// to CDialog; it exists so those classes name the base they were designed against.
#include "framework/dialog.h"

class CDialogEx : public CDialog {
 public:
  using CDialog::CDialog;
};
