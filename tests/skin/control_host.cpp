#include "control_host.h"

#include <gdiplus.h>

#include <cstdlib>
#include <cstring>

#include "framework/client_dc.h"
#include "framework/dib_section.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"

bool CControlHost::Open() { return Create(static_cast<CWnd*>(nullptr)) != FALSE; }

void CControlHost::DoDataExchange() {
  for (auto& [id, control] : m_bindings) BindControl(id, *control);
}

BOOL CControlHost::OnEraseBkgnd(HDC hdc) {
  CBrush brush(::CreateSolidBrush(m_crBackground));
  RECT client = GetClientRect();
  ::FillRect(hdc, &client, brush.Get());
  return TRUE;
}

bool CControlHost::OnCommand(UINT id, UINT code, HWND hCtl) {
  if (code == BN_CLICKED && hCtl) {
    m_clicks.push_back(id);
    return true;
  }
  return CDialog::OnCommand(id, code, hCtl);
}

COLORREF Pixels::At(int x, int y) const {
  const uint32_t p = data[static_cast<size_t>(y) * width + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

namespace {

// Runs `draw` on a 32-bit section of the given size and returns its pixels.
template <typename Draw>
Pixels Render(int width, int height, Draw draw) {
  Pixels pixels;
  pixels.width = width;
  pixels.height = height;
  void* bits = nullptr;
  CClientDC screen(nullptr);
  CBitmap section = CreateTopDownDibSection(screen.Get(), width, height, &bits);
  CMemoryDC memory(screen.Get());
  if (!section || !memory) return pixels;
  {
    CSelectObject selection(memory.Get(), section.Get());
    draw(memory.Get());
    ::GdiFlush();
    pixels.data.resize(static_cast<size_t>(width) * height);
    std::memcpy(pixels.data.data(), bits, pixels.data.size() * 4);
  }
  return pixels;
}

}  // namespace

Pixels PrintClient(HWND hWnd) {
  RECT client{};
  ::GetClientRect(hWnd, &client);
  return Render(client.right, client.bottom,
                [&](HDC hdc) { ::SendMessageW(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdc), PRF_CLIENT); });
}

Pixels Reference(Gdiplus::Image* image, int width, int height, COLORREF background, int destWidth, int destHeight,
                 int sourceWidth, int sourceHeight) {
  return Render(width, height, [&](HDC hdc) {
    CBrush brush(::CreateSolidBrush(background));
    RECT all{0, 0, width, height};
    ::FillRect(hdc, &all, brush.Get());
    Gdiplus::Graphics graphics(hdc);
    if (sourceWidth == 0) {
      graphics.DrawImage(image, Gdiplus::Rect(0, 0, destWidth, destHeight));
    } else {
      graphics.DrawImage(image, Gdiplus::Rect(0, 0, destWidth, destHeight), 0, 0, sourceWidth, sourceHeight,
                         Gdiplus::UnitPixel);
    }
  });
}

bool ColoursClose(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

double Mismatch(const Pixels& a, const Pixels& b, int tolerance) {
  if (a.width != b.width || a.height != b.height || a.data.empty()) return 1.0;
  size_t differing = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (!ColoursClose(a.At(x, y), b.At(x, y), tolerance)) ++differing;
    }
  }
  return static_cast<double>(differing) / static_cast<double>(a.data.size());
}

int FreeGdiSlots() {
  std::vector<HBRUSH> brushes;
  brushes.reserve(70000);
  while (brushes.size() < 200000) {
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    if (!brush) break;
    brushes.push_back(brush);
  }
  for (HBRUSH brush : brushes) ::DeleteObject(brush);
  return static_cast<int>(brushes.size());
}
