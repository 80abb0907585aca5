#include "skin/gdi_png_button.h"

#include <commctrl.h>
#include <gdiplus.h>

#include "skin/png_resource.h"

namespace {
enum { kNormal, kPressed, kHover, kDisabled };
}

void CGDIPngButton::SetImages(UINT normalId, UINT pressedId, UINT hoverId, UINT disabledId) {
  const UINT ids[4] = {normalId, pressedId, hoverId, disabledId};
  for (int i = 0; i < 4; ++i) {
    CPngImage image = LoadImageResource(PictureResourceModule(), ids[i], kPngResourceType);
    if (image) m_images[i] = std::move(image);
  }
}

BOOL CGDIPngButton::SetDisabledLook(BOOL disabledLook) {
  if (m_bReleased) return TRUE;
  m_bDisabledLook = disabledLook != FALSE;
  if (m_hWnd) Invalidate(TRUE);
  return TRUE;
}

void CGDIPngButton::ReleaseImages() {
  m_bReleased = true;
  for (CPngImage& image : m_images) image.Reset();
}

void CGDIPngButton::PreSubclassWindow() {
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | BS_OWNERDRAW));
  CButton::PreSubclassWindow();
}

void CGDIPngButton::DrawPicture(HDC hdc, const RECT& client, const CPngImage& image) const {
  if (!image) return;
  Gdiplus::Graphics graphics(hdc);
  graphics.DrawImage(image.Get(), Gdiplus::Rect(client.left, client.top, client.right - client.left,
                                                client.bottom - client.top));
}

void CGDIPngButton::DrawItem(const DRAWITEMSTRUCT* dis) {
  if (m_bReleased || !dis) return;
  HDC hdc = dis->hDC;
  const RECT client = GetClientRect();
  // Start from the pixels that lay under the button, so translucent edges never stack.
  if (!m_bFirstDrawPending && m_background) {
    ::BitBlt(hdc, 0, 0, client.right - client.left, client.bottom - client.top, m_background->dc.Get(), 0, 0,
             SRCCOPY);
  }
  if (m_bDisabledLook) {
    DrawPicture(hdc, client, m_images[kDisabled]);
  } else if (dis->itemState & ODS_SELECTED) {
    DrawPicture(hdc, client, m_images[kNormal]);
    DrawPicture(hdc, client, m_images[kPressed]);
  } else if (m_bHover) {
    DrawPicture(hdc, client, m_images[kNormal]);
    DrawPicture(hdc, client, m_images[kHover]);
  } else {
    DrawPicture(hdc, client, m_images[kNormal]);
    if (m_bFirstDrawPending) {
      // Arm one capture: the next erase sees the parent's pixels under the button.
      m_bBackgroundCaptured = false;
      m_bFirstDrawPending = false;
    }
  }
}

bool CGDIPngButton::RenderParentBackground(HDC target, int width, int height) const {
  // The parent paints its whole background into a scratch context; the part under the
  // button is what the button stands on, whatever the screen shows at this moment.
  HWND parent = GetParent();
  if (!parent) return false;
  RECT parentClient{};
  ::GetClientRect(parent, &parentClient);
  POINT origin{0, 0};
  ::MapWindowPoints(m_hWnd, parent, &origin, 1);
  CMemoryDC scratch(target);
  CBitmap scratchBitmap(::CreateCompatibleBitmap(target, parentClient.right, parentClient.bottom));
  if (!scratch || !scratchBitmap) return false;
  CSelectObject selection(scratch.Get(), scratchBitmap.Get());
  if (!::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(scratch.Get()), 0)) return false;
  return ::BitBlt(target, 0, 0, width, height, scratch.Get(), origin.x, origin.y, SRCCOPY) != FALSE;
}

BOOL CGDIPngButton::OnEraseBkgnd(HDC hdc) {
  if (m_bBackgroundCaptured || m_bReleased) return TRUE;
  const RECT client = GetClientRect();
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  CapturedBackground& captured = m_background.emplace();
  captured.dc = CMemoryDC(hdc);
  captured.bitmap.Reset(::CreateCompatibleBitmap(hdc, width, height));
  captured.selection.emplace(captured.dc.Get(), captured.bitmap.Get());
  if (!*captured.selection) {
    m_background.reset();
  } else if (!RenderParentBackground(captured.dc.Get(), width, height)) {
    // A parent that paints nothing on erase: take the pixels as they stand.
    ::BitBlt(captured.dc.Get(), 0, 0, width, height, hdc, 0, 0, SRCCOPY);
  }
  m_bBackgroundCaptured = true;
  return TRUE;
}

void CGDIPngButton::OnMouseMove(UINT, POINT) {
  if (!m_bTracking) {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = 1;
    if (::_TrackMouseEvent(&track)) m_bTracking = true;
  }
  Default();
}

void CGDIPngButton::OnMouseHover(UINT, POINT) {
  if (m_bReleased) return;
  m_bHover = true;
  Invalidate(TRUE);
}

void CGDIPngButton::OnMouseLeave() {
  if (m_bReleased) return;
  m_bTracking = false;
  m_bHover = false;
  Invalidate(TRUE);
}
