#pragma once
// The application object. The program defines exactly one (`theApp`) of a class derived
// from CWinApp and puts ZSR_IMPLEMENT_WINMAIN() in one of its source files; the entry
// point then runs InitInstance and, when it answers TRUE, the message loop (Run); in every
// case it ends with ExitInstance, whose result is the process exit code.
#include <windows.h>

class CWnd;

class CWinApp {
 public:
  CWinApp() noexcept;
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return FALSE; }
  virtual int ExitInstance() { return m_nExitCode; }
  // The thread's message loop until WM_QUIT; its exit code becomes m_nExitCode.
  virtual int Run();

  // The application's main window, also the modal owner of last resort on the thread that
  // runs the application (other threads never read it).
  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;

  static CWinApp* Current() noexcept;
  // The thread that runs InitInstance; 0 before the entry point started.
  DWORD GetThreadId() const noexcept { return m_dwThreadId; }
  // What the entry point runs.
  static int WinMainEntry(HINSTANCE hInstance, int cmdShow);

 protected:
  int m_nExitCode = 0;

 private:
  DWORD m_dwThreadId = 0;
};

#define ZSR_IMPLEMENT_WINMAIN()                                                   \
  int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, PWSTR, int cmdShow) {       \
    return CWinApp::WinMainEntry(hInstance, cmdShow);                             \
  }
