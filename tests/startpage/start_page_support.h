#pragma once
// Helpers for the start page tests: pixels read back through WM_PRINTCLIENT, message pumping,
// real mouse input, and a start page that runs a check script once its modal run has begun.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "popups/usage_argeeement_child_dlg.h"
#include "popups/usage_argeements_dlg.h"
#include "support/message_pump.h"

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> data;  // 0x00RRGGBB
  COLORREF At(int x, int y) const;
};

// Runs `draw` on a 32-bit memory bitmap of the given size (first filled with a poison colour).
Pixels Render(int width, int height, const std::function<void(HDC)>& draw);
// What the window paints into a 32-bit memory bitmap of its client size.
Pixels PrintClient(HWND hWnd);
bool ColoursClose(COLORREF a, COLORREF b, int tolerance = 3);


// Presses and releases the left button at a screen point with the system's input queue,
// from another thread while this one keeps dispatching. `moveBy` drags before releasing.
void RealClick(POINT screen, POINT moveBy = {0, 0});

// `inner`'s rectangle in the client coordinates of `reference`.
RECT RectIn(HWND window, HWND reference);

class CScriptedStartPage : public CUsageArgeementsDlg {
 public:
  CUsageArgeeementChildDlg* Inner() const { return static_cast<CUsageArgeeementChildDlg*>(m_pInnerDlg.get()); }
  std::function<void(CScriptedStartPage&)> m_script;
  // The result the page was ended with so far (0: still running).
  int m_nEnded = 0;
  // Ends a script that forgot to end the page, so that a failed check never hangs the run.
  static constexpr int kScriptLeftItOpen = 0x7E57;

 protected:
  void OnOK() override;
  void OnCancel() override;
  BOOL OnInitDialog() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};
