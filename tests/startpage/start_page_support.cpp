#include "start_page_support.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "framework/client_dc.h"
#include "framework/dib_section.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"
#include "tools/driver/mouse_drag.h"

COLORREF Pixels::At(int x, int y) const {
  const uint32_t p = data[static_cast<size_t>(y) * width + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

Pixels Render(int width, int height, const std::function<void(HDC)>& draw) {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  void* bits = nullptr;
  CClientDC screen(nullptr);
  CBitmap section = CreateTopDownDibSection(screen.Get(), width, height, &bits);
  CMemoryDC memory(screen.Get());
  if (section && memory && bits) {
    CSelectObject selection(memory.Get(), section.Get());
    // A poison colour, so that whatever is left unpainted shows.
    std::memset(bits, 0x5A, static_cast<size_t>(width) * height * 4);
    draw(memory.Get());
    ::GdiFlush();
    pixels.data.assign(static_cast<const uint32_t*>(bits),
                       static_cast<const uint32_t*>(bits) + static_cast<size_t>(width) * height);
  }
  return pixels;
}

Pixels PrintClient(HWND hWnd) {
  RECT client{};
  ::GetClientRect(hWnd, &client);
  return Render(client.right, client.bottom, [&](HDC hdc) {
    ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT);
  });
}

bool ColoursClose(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

void RealClick(POINT screen, POINT moveBy) {
  ::SetCursorPos(screen.x, screen.y);
  PumpFor(50);
  // A drag runs the system's move loop inside this thread's dispatch: the hand is another thread.
  std::atomic<bool> released{false};
  std::thread hand([&] {
    DragWithTheMouse(screen, moveBy);
    released = true;
  });
  PumpUntil([&] { return released.load(); });
  hand.join();
  PumpFor(150);
}

RECT RectIn(HWND window, HWND reference) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ::MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

namespace {
const UINT kRunScript = ::RegisterWindowMessageW(L"Zsr.Test.StartPage.RunScript");
}

BOOL CScriptedStartPage::OnInitDialog() {
  const BOOL result = CUsageArgeementsDlg::OnInitDialog();
  PostMessage(kRunScript);
  return result;
}

bool CScriptedStartPage::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg != kRunScript) return CUsageArgeementsDlg::OnMessage(msg, wParam, lParam, result);
  result = 0;
  if (m_script) m_script(*this);
  if (m_nEnded == 0) EndDialog(kScriptLeftItOpen);
  return true;
}

void CScriptedStartPage::OnOK() {
  if (m_nEnded == 0) m_nEnded = IDOK;
  CUsageArgeementsDlg::OnOK();
}

void CScriptedStartPage::OnCancel() {
  if (m_nEnded == 0) m_nEnded = IDCANCEL;
  CUsageArgeementsDlg::OnCancel();
}
