#include "popups/layered_outer_dlg.h"

#include <gdiplus.h>

#include "framework/client_dc.h"
#include "framework/dib_section.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"
#include "skin/png_resource.h"

namespace {

RECT ToRect(const PairRect& r) { return {r.left, r.top, r.right, r.bottom}; }

PairRect ToPairRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

CLayeredOuterDlg::CLayeredOuterDlg(UINT templateId, const LayeredPairLayout& layout, float scale,
                                   CWnd* pParent) noexcept
    : CDialog(templateId, pParent), m_fScale(scale), m_layout(layout) {}

// The inner object goes with the outer even when the window never existed.
CLayeredOuterDlg::~CLayeredOuterDlg() = default;

BOOL CLayeredOuterDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (DrawLayeredFrame()) CreateInnerDlg();
  return TRUE;
}

bool CLayeredOuterDlg::DrawLayeredFrame() {
  ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(GetExStyle() ^ WS_EX_LAYERED));
  if (!m_pFrameImage && !LoadPngResource(static_cast<UINT>(m_layout.frameImageId), m_pFrameImage)) return false;

  const PairSize frame = Geometry().FrameSize();
  CClientDC screen(nullptr);
  CMemoryDC memory(screen.Get());
  void* bits = nullptr;
  // Premultiplied BGRA, as UpdateLayeredWindow wants it; GDI+ draws straight into it.
  CBitmap section = CreateTopDownDibSection(screen.Get(), frame.cx, frame.cy, &bits);
  if (!screen || !memory || !section || !bits) return false;
  CSelectObject selection(memory.Get(), section.Get());
  {
    // Drawing through a GDI+ bitmap over the section's bytes keeps the alpha channel; a
    // graphics object on the memory context would drop it.
    Gdiplus::Bitmap canvas(frame.cx, frame.cy, frame.cx * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
    Gdiplus::Graphics graphics(&canvas);
    if (m_bSmoothFrame) graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.DrawImage(m_pFrameImage.Get(), Gdiplus::Rect(0, 0, frame.cx, frame.cy));
  }
  ::GdiFlush();

  const RECT window = GetWindowRect();
  POINT destination{window.left, window.top};
  SIZE size{frame.cx, frame.cy};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(m_hWnd, screen.Get(), &destination, &size, memory.Get(), &source, 0, &blend, ULW_ALPHA);
  return true;
}

PairRect CLayeredOuterDlg::OuterRectForInner() const {
  if (m_layout.innerFromCentredRect) {
    return Geometry().ScreenCentred(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  }
  return ToPairRect(GetWindowRect());
}

bool CLayeredOuterDlg::CreateInnerDlg() {
  m_pInnerDlg = NewInnerDlg();
  if (!m_pInnerDlg) return false;
  m_pInnerDlg->m_fScale = m_fScale;
  if (!m_pInnerDlg->Create(this)) {
    m_pInnerDlg.reset();
    return false;
  }
  const RECT inner = ToRect(Geometry().InnerCreation(OuterRectForInner()));
  m_pInnerDlg->MoveWindow(inner, TRUE);
  m_pInnerDlg->ShowWindow(SW_SHOW);
  m_pInnerDlg->LayoutControls();
  return true;
}

namespace {
// Posted to the outer itself once it has been shown (and activated).
const UINT kRaiseInnerMessage = ::RegisterWindowMessageW(L"Zsr.LayeredOuter.RaiseInner");
}  // namespace

bool CLayeredOuterDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // The inner dialog is shown while the outer is still hidden. An X11 server without a window
  // manager stacks the outer, mapped later, over it although the inner is the owned window;
  // showing the inner again once the outer is up puts it back on top there too.
  if (msg == WM_WINDOWPOSCHANGED) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    result = Default();
    if (pos->flags & SWP_SHOWWINDOW) PostMessage(kRaiseInnerMessage);
    return true;
  }
  if (msg == kRaiseInnerMessage && kRaiseInnerMessage != 0) {
    RaiseInner();
    result = 0;
    return true;
  }
  return CDialog::OnMessage(msg, wParam, lParam, result);
}

void CLayeredOuterDlg::RaiseInner() {
  if (!m_pInnerDlg || !m_pInnerDlg->IsWindowVisible() || !IsWindowVisible()) return;
  m_pInnerDlg->ShowWindow(SW_HIDE);
  m_pInnerDlg->ShowWindow(SW_SHOWNA);
}

void CLayeredOuterDlg::OnMove(int, int) {
  Default();
  if (!m_bFollowInner || !m_pInnerDlg || !m_pInnerDlg->IsWindow()) return;
  const std::optional<PairRect> follow = Geometry().InnerFollow(ToPairRect(GetWindowRect()));
  if (follow) m_pInnerDlg->MoveWindow(ToRect(*follow), TRUE);
}

LRESULT CLayeredOuterDlg::MoveAroundInner(int left, int top, int right, int bottom) {
  m_bFollowInner = FALSE;
  const std::optional<PairRect> outer = Geometry().OuterAroundDragged({left, top, right, bottom});
  if (outer) MoveWindow(ToRect(*outer), TRUE);
  return 0;
}

void CLayeredOuterDlg::OnDestroy() {
  // The platform has already destroyed the owned inner window.
  Default();
  m_pFrameImage.Reset();
  m_pInnerDlg.reset();
}
