#include "popup_test_support.h"

#include <cstring>

#include "framework/client_dc.h"
#include "framework/dib_section.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"

namespace {

CPixels DrawInto(int width, int height, const std::function<void(HDC)>& draw) {
  CPixels pixels;
  CClientDC screen(nullptr);
  CMemoryDC memory(screen.Get());
  void* bits = nullptr;
  CBitmap section = CreateTopDownDibSection(screen.Get(), width, height, &bits);
  if (!memory || !section || !bits || width <= 0 || height <= 0) return pixels;
  {
    CSelectObject selection(memory.Get(), section.Get());
    draw(memory.Get());
    ::GdiFlush();
  }
  pixels.width = width;
  pixels.height = height;
  pixels.bgra.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  std::memcpy(pixels.bgra.data(), bits, pixels.bgra.size() * 4);
  for (auto& p : pixels.bgra) p &= 0x00FFFFFF;
  return pixels;
}

}  // namespace

CPixels PrintClient(HWND hWnd, COLORREF marker) {
  RECT client{};
  ::GetClientRect(hWnd, &client);
  return DrawInto(client.right, client.bottom, [&](HDC hdc) {
    CBrush brush(::CreateSolidBrush(marker));
    ::FillRect(hdc, &client, brush.Get());
    ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT | PRF_ERASEBKGND);
  });
}

CPixels CaptureScreen(const RECT& rect) {
  return DrawInto(rect.right - rect.left, rect.bottom - rect.top, [&](HDC hdc) {
    CClientDC screen(nullptr);
    ::BitBlt(hdc, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen.Get(), rect.left, rect.top, SRCCOPY);
  });
}

namespace {

struct SizeSearch {
  int width, height;
  HWND found;
};

BOOL CALLBACK MatchWindowSize(HWND hWnd, LPARAM lParam) {
  auto* search = reinterpret_cast<SizeSearch*>(lParam);
  RECT r{};
  ::GetWindowRect(hWnd, &r);
  if (::IsWindowVisible(hWnd) && r.right - r.left == search->width && r.bottom - r.top == search->height) {
    search->found = hWnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindThreadWindowOfSize(DWORD threadId, int width, int height) {
  SizeSearch search{width, height, nullptr};
  ::EnumThreadWindows(threadId, &MatchWindowSize, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT WindowRectOf(HWND hWnd) {
  RECT r{};
  ::GetWindowRect(hWnd, &r);
  return r;
}

RECT ScreenRectOfChild(HWND dialog, int id) { return WindowRectOf(::GetDlgItem(dialog, id)); }

RECT ClientRectOfChild(HWND dialog, int id) {
  RECT r = ScreenRectOfChild(dialog, id);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
