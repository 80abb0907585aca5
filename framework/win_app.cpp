#include "framework/win_app.h"

#include "framework/wnd.h"

namespace {
// The one application object, set while it exists; the entry point needs to find it.
CWinApp* g_pApp = nullptr;
}  // namespace

CWinApp::CWinApp() noexcept { g_pApp = this; }

CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

CWinApp* CWinApp::Current() noexcept { return g_pApp; }

int CWinApp::Run() {
  MSG msg{};
  for (;;) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      m_nExitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (got == -1) break;
    if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return m_nExitCode;
}

int CWinApp::WinMainEntry(HINSTANCE hInstance, int cmdShow) {
  CWinApp* app = Current();
  if (!app) return -1;
  app->m_hInstance = hInstance;
  app->m_dwThreadId = ::GetCurrentThreadId();
  app->m_nCmdShow = cmdShow;
  if (app->InitInstance()) app->Run();
  return app->ExitInstance();
}
