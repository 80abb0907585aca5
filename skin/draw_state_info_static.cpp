#include "skin/draw_state_info_static.h"

#include <gdiplus.h>

#include <chrono>

#include "framework/buffered_paint.h"
#include "framework/paint_dc.h"
#include "framework/select_object.h"
#include "skin/back_slice.h"
#include "skin/parent_font.h"
#include "skin/text_alignment.h"
#include "skin/window_text_message.h"

CDrawStateInfoStatic::CDrawStateInfoStatic() noexcept : m_backBrush(::CreateSolidBrush(RGB(255, 255, 255))) {}

CDrawStateInfoStatic::~CDrawStateInfoStatic() {
  if (m_worker.joinable()) {
    {
      std::lock_guard<std::mutex> lock(m_stopLock);
      m_bStop = true;
    }
    m_stopSignal.notify_all();
    m_worker.join();
  }
}

void CDrawStateInfoStatic::InitFont() { m_font = CopyParentFont(m_hWnd); }

void CDrawStateInfoStatic::SetForeColor(COLORREF color) {
  m_crText = color;
  if (m_hWnd) Invalidate(TRUE);
}

void CDrawStateInfoStatic::SetText(const std::wstring& text) {
  if (text == m_strText) return;
  m_strText = text;
  if (m_hWnd) ::SetWindowTextW(m_hWnd, m_strText.c_str());
}

void CDrawStateInfoStatic::StartAnimation() {
  if (m_worker.joinable() || !m_hWnd) return;
  {
    std::lock_guard<std::mutex> lock(m_stopLock);
    m_bStop = false;
  }
  m_worker = std::thread(&CDrawStateInfoStatic::RepaintLoop, this, m_hWnd);
}

void CDrawStateInfoStatic::StopAnimation() {
  {
    std::lock_guard<std::mutex> lock(m_stopLock);
    m_bStop = true;
  }
  m_stopSignal.notify_all();
  // The worker only invalidates (which never waits for this thread), so joining is quick.
  if (m_worker.joinable()) m_worker.join();
  if (m_hWnd) Invalidate(TRUE);
}

void CDrawStateInfoStatic::RepaintLoop(HWND hWnd) {
  // Only invalidates: all painting stays on the window's own thread.
  auto wait = std::chrono::milliseconds(kFirstRepaintMs);
  std::unique_lock<std::mutex> lock(m_stopLock);
  while (!m_stopSignal.wait_for(lock, wait, [this] { return m_bStop; })) {
    ::InvalidateRect(hWnd, nullptr, TRUE);
    wait = std::chrono::milliseconds(kRepaintPeriodMs);
  }
}

void CDrawStateInfoStatic::DrawContent(HDC hdc) {
  ::FillRect(hdc, &m_rcClient, m_backBrush.Get());
  ::SetBkMode(hdc, TRANSPARENT);
  CSelectObject font(hdc, m_font.Get());
  ::SetTextColor(hdc, m_crText);
  if (m_pBackImage) {
    Gdiplus::Graphics graphics(hdc);
    DrawBackSlice(graphics, m_pBackImage, m_rcClient, m_rcBackSource);
  }
  ::DrawTextW(hdc, m_strText.c_str(), static_cast<int>(m_strText.size()), &m_rcClient, StateInfoStaticFlags(m_nMode));
}

void CDrawStateInfoStatic::Paint(HDC hdc) {
  m_rcClient = GetClientRect();
  CBufferedPaint buffer(hdc, m_rcClient);
  if (!buffer) return;
  DrawContent(buffer.Get());
  buffer.Blit();
}

void CDrawStateInfoStatic::OnPaint() {
  CPaintDC dc(m_hWnd);
  Paint(dc.Get());
}

void CDrawStateInfoStatic::OnPrintClient(HDC hdc, UINT) { Paint(hdc); }

bool CDrawStateInfoStatic::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return HandleWindowTextMessage(m_hWnd, msg, wParam, lParam, result);
}
