#include "app/zorvex_sfc_repair_app.h"

#include <windows.h>
#include <commctrl.h>

#include "app/zorvex_sfc_repair_dlg.h"
#include "framework/rich_edit_ctrl.h"
#include "popups/usage_argeements_dlg.h"

CZorvexSfcRepairApp theApp;

ZSR_IMPLEMENT_WINMAIN()

CZorvexSfcRepairApp::CZorvexSfcRepairApp() noexcept = default;

BOOL CZorvexSfcRepairApp::InitInstance() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = 0xFF;  // every class of ICC_WIN95_CLASSES
  ::InitCommonControlsEx(&controls);
  CWinApp::InitInstance();

  m_Gdiplus.emplace();
  // The agreement window holds a "RichEdit20W" control.
  CRichEditCtrl::InitRichEdit();

  CUsageArgeementsDlg startPage;
  if (startPage.DoModal() == IDOK) {
    CZorvexSfcRepairDlg mainWindow;
    m_pMainWnd = &mainWindow;
    mainWindow.DoModal();
    m_pMainWnd = nullptr;
  }
  // No message loop: the framework goes straight to ExitInstance.
  return FALSE;
}

int CZorvexSfcRepairApp::ExitInstance() {
  m_Gdiplus.reset();
  return CWinApp::ExitInstance();
}
