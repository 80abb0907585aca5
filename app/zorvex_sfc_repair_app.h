#pragma once
// The application object: prepares the process, runs the start page and, once the user has
// accepted it, the main window; both modally, so there is no message loop of its own.
#include <optional>

#include "framework/win_app.h"
#include "skin/gdiplus_session.h"

class CZorvexSfcRepairApp : public CWinApp {
 public:
  CZorvexSfcRepairApp() noexcept;

  BOOL InitInstance() override;
  int ExitInstance() override;

 private:
  // Started by InitInstance, stopped by ExitInstance once every window is gone.
  std::optional<CGdiplusSession> m_Gdiplus;
};

extern CZorvexSfcRepairApp theApp;
