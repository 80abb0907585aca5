#pragma once
// Test helpers for the skinned controls: a modeless host dialog from one of the program's
// templates with a flat background colour, and pixel read-back of what a control paints.
#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "framework/dialog.h"
#include "support/message_pump.h"

namespace Gdiplus {
class Image;
}

class CControlHost : public CDialog {
 public:
  CControlHost(UINT templateId, COLORREF background) : CDialog(templateId), m_crBackground(background) {}
  void Bind(int id, CWnd& control) { m_bindings.emplace_back(id, &control); }
  bool Open();

  // Button clicks the host received, by control id.
  std::vector<UINT> m_clicks;

 protected:
  void DoDataExchange() override;
  BOOL OnEraseBkgnd(HDC hdc) override;
  bool OnCommand(UINT id, UINT code, HWND hCtl) override;

  COLORREF m_crBackground;
  std::vector<std::pair<int, CWnd*>> m_bindings;
};

// 32-bit pixels (0x00RRGGBB) of an area, read back from a rendering.
struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> data;
  COLORREF At(int x, int y) const;
};

// What the control paints through WM_PRINTCLIENT.
Pixels PrintClient(HWND hWnd);
// The picture drawn by GDI+ over `background` into width x height, from a source rectangle
// (whole picture when `sourceWidth` is 0).
Pixels Reference(Gdiplus::Image* image, int width, int height, COLORREF background, int destWidth, int destHeight,
                 int sourceWidth = 0, int sourceHeight = 0);
// Share of pixels that differ by more than `tolerance` in any channel.
double Mismatch(const Pixels& a, const Pixels& b, int tolerance = 8);
bool ColoursClose(COLORREF a, COLORREF b, int tolerance = 3);
// GDI objects the process can still create, found by creating brushes until the platform
// refuses and deleting them again (handle counters are not available on every host).
int FreeGdiSlots();
