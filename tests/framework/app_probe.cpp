// A program built on CWinApp for the application tests: the command line picks the path.
//   stop  InitInstance answers FALSE; ExitInstance answers 37.
//   run   InitInstance posts WM_QUIT(5) and answers TRUE; ExitInstance adds 100 to the base.
#include <string>

#include "framework/win_app.h"

class CProbeApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    const std::wstring command = ::GetCommandLineW();
    m_bRun = command.find(L" run") != std::wstring::npos;
    if (!m_bRun) return FALSE;
    ::PostQuitMessage(5);
    return TRUE;
  }
  int ExitInstance() override { return m_bRun ? CWinApp::ExitInstance() + 100 : 37; }

 private:
  bool m_bRun = false;
};

CProbeApp theApp;
ZSR_IMPLEMENT_WINMAIN()
