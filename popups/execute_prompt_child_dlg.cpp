#include "popups/execute_prompt_child_dlg.h"

#include <gdiplus.h>

#include <algorithm>
#include <memory>

#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/select_object.h"
#include "res/resource.h"
#include "skin/png_resource.h"
#include "workflow/repair_status.h"

namespace {

constexpr UINT kBackgroundId = 149;
constexpr UINT kTrackId = 201;
constexpr UINT kFillId = 202;
// The part of the panel picture behind the status line.
constexpr RECT kStatusBackSource{10, 42, 194, 62};

// The percent font; GDI+ has no 宋体 on some systems, so fall back as its own lookup would.
std::unique_ptr<Gdiplus::Font> NewPercentFont() {
  Gdiplus::FontFamily family(L"宋体");
  const Gdiplus::FontFamily* chosen = family.IsAvailable() ? &family : Gdiplus::FontFamily::GenericSansSerif();
  auto font = std::make_unique<Gdiplus::Font>(chosen, 6.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
  if (font->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return font;
}

}  // namespace

CExecutePromptChildDlg::CExecutePromptChildDlg() noexcept
    : CLayeredInnerDlg(IDD_PROGRESS_INNER, LayoutOf(ELayeredPair::Progress), kBackgroundId),
      m_nTrackId(kTrackId),
      m_nFillId(kFillId) {}

int CExecutePromptChildDlg::FillWidth(int percent) { return std::clamp(2 * percent, 0, kBarWidth); }

void CExecutePromptChildDlg::DoDataExchange() {
  CLayeredInnerDlg::DoDataExchange();
  BindControl(IDC_PROGRESS_STATUS, m_stcStatus);
}

BOOL CExecutePromptChildDlg::OnInitDialog() {
  CLayeredInnerDlg::OnInitDialog();
  // The first paint comes with showing the panel; the timer only has to follow changes.
  m_nLastPercent = RepairStatus().ProgressPercent();
  SetTimer(kRefreshTimerId, kRefreshPeriodMs);
  return TRUE;
}

void CExecutePromptChildDlg::StartStatusLine() {
  // The status line blends with the panel picture, so make sure it is there.
  LoadBackgroundPictures();
  const RECT client = GetClientRect();
  const int middle = client.bottom / 2;
  m_stcStatus.SetAlignment(1);
  m_stcStatus.SetForeColor(RGB(255, 255, 255));
  m_stcStatus.SetBackImage(m_pBackground.Get());
  m_stcStatus.SetBackSourceRect(kStatusBackSource.left, kStatusBackSource.top, kStatusBackSource.right,
                                kStatusBackSource.bottom);
  m_stcStatus.MoveWindow(RECT{30, middle - 10, client.right - 10, middle + 10}, TRUE);
  m_stcStatus.InitFont();
  ShowCurrentStatus();
  m_stcStatus.StartAnimation();
}

void CExecutePromptChildDlg::ShowCurrentStatus() {
  const CRepairStatus::Text status = RepairStatus().StatusText();
  m_stcStatus.SetText(status ? *status : std::wstring());
}

bool CExecutePromptChildDlg::LoadBackgroundPictures() {
  // All three or nothing is drawn; each slot keeps what it already holds.
  const bool background = m_pBackground || (m_nBackgroundId != 0 && LoadPngResource(m_nBackgroundId, m_pBackground));
  const bool track = m_pTrackImage || (m_nTrackId != 0 && LoadPngResource(m_nTrackId, m_pTrackImage));
  const bool fill = m_pFillImage || (m_nFillId != 0 && LoadPngResource(m_nFillId, m_pFillImage));
  return background && track && fill;
}

void CExecutePromptChildDlg::DrawBackground(HDC hdc, const RECT& client) { DrawPanel(hdc, client); }

void CExecutePromptChildDlg::DrawPanel(HDC hdc, const RECT& client) {
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0 || !LoadBackgroundPictures()) return;

  CMemoryDC memory(hdc);
  CBitmap bitmap(::CreateCompatibleBitmap(hdc, width, height));
  if (!memory || !bitmap) return;
  CSelectObject selection(memory.Get(), bitmap.Get());
  {
    Gdiplus::Graphics graphics(memory.Get());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceOver);
    graphics.DrawImage(m_pBackground.Get(), Gdiplus::Rect(0, 0, width, height));

    const int barTop = height - kBarBottomOffset;
    graphics.DrawImage(m_pTrackImage.Get(), Gdiplus::Rect(kBarLeft, barTop, kBarWidth, kBarHeight));
    // The fill grows from the left: a growing part of the picture, never stretched.
    const int fill = FillWidth(RepairStatus().ProgressPercent());
    if (fill > 0) {
      graphics.DrawImage(m_pFillImage.Get(), Gdiplus::Rect(kBarLeft, barTop, fill, kBarHeight), 0, 0, fill,
                         static_cast<INT>(m_pFillImage.Height()), Gdiplus::UnitPixel);
    }

    // A snapshot: the text stays valid while drawn even if a worker replaces it meanwhile.
    const CRepairStatus::Text percentText = RepairStatus().PercentText();
    const std::unique_ptr<Gdiplus::Font> font = percentText ? NewPercentFont() : nullptr;
    if (percentText && font) {
      Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
      Gdiplus::StringFormat format(0);
      format.SetAlignment(Gdiplus::StringAlignmentNear);
      const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(kPercentTextLeft), static_cast<Gdiplus::REAL>(barTop),
                                  static_cast<Gdiplus::REAL>(kPercentTextWidth), static_cast<Gdiplus::REAL>(kBarHeight));
      graphics.DrawString(percentText->c_str(), static_cast<INT>(percentText->size()), font.get(), layout, &format,
                          &black);
    }
  }
  ::BitBlt(hdc, client.left, client.top, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void CExecutePromptChildDlg::OnTimer(UINT_PTR) {
  const int percent = RepairStatus().ProgressPercent();
  if (percent != m_nLastPercent) {
    m_nLastPercent = percent;
    // The erase draws the bar; the status line over it is repainted along with it.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  ShowCurrentStatus();
  Default();
}

void CExecutePromptChildDlg::OnDestroy() {
  KillTimer(kRefreshTimerId);
  // The worker must be gone, and the static no longer point at the panel picture, before
  // the pictures go.
  m_stcStatus.StopAnimation();
  m_stcStatus.SetBackImage(nullptr);
  m_pTrackImage.Reset();
  m_pFillImage.Reset();
  CLayeredInnerDlg::OnDestroy();
}
