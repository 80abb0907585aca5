#include "app/about_dlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() noexcept : CDialogEx(IDD_ABOUTBOX) {}
