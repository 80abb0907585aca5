#include "app/zorvex_sfc_repair_dlg_op.h"

#include <shellapi.h>

#include <algorithm>

#include "app/operations_layout.h"
#include "app/zorvex_sfc_repair_dlg.h"
#include "framework/buffered_paint.h"
#include "framework/client_dc.h"
#include "framework/select_object.h"
#include "popups/execute_prompt_dlg.h"
#include "popups/problem_solving_feedback_dlg.h"
#include "popups/prompt_dlg.h"
#include "res/resource.h"
#include "skin/png_resource.h"

#include <gdiplus.h>

namespace {

constexpr UINT kBackgroundPicture = 142;
constexpr int kPromptTypeConfirm = 3;
constexpr wchar_t kVersionText[] = L"系统文件修复工具 1.0.4";
constexpr wchar_t kFeedbackText[] = L"反馈问题";
// Single line, vertically centred, left-aligned.
constexpr int kLabelAlignment = 1;

RECT ToRect(const LayoutRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

CZorvexSfcRepairDlgOP::CZorvexSfcRepairDlgOP()
    : CLayeredInnerDlg(IDD_OPERATIONS, LayoutOf(ELayeredPair::MainWindow), kBackgroundPicture),
      m_Run(m_Engine, *this, m_Time, m_Feedback) {}

// The run is shut down by the window's destroy handler; an object whose window never
// existed has nothing running.
CZorvexSfcRepairDlgOP::~CZorvexSfcRepairDlgOP() = default;

void CZorvexSfcRepairDlgOP::DoDataExchange() {
  CLayeredInnerDlg::DoDataExchange();
  BindControl(IDC_OP_CLOSE, m_btnClose);
  BindControl(IDC_OP_MIN, m_btnMin);
  BindControl(IDC_OP_LOCAL, m_btnLocal);
  BindControl(IDC_OP_VERSION, m_stcVersion);
  BindControl(IDC_OP_FEEDBACK, m_stcFeedback);
  BindControl(IDC_OP_MORETOOLS, m_btnMoreTools);
}

BOOL CZorvexSfcRepairDlgOP::OnInitDialog() {
  CLayeredInnerDlg::OnInitDialog();
  m_hStartButton.store(m_btnLocal.GetSafeHwnd());
  m_Run.SetScale(m_fScale);
  m_Run.Initialise();
  return TRUE;
}

int CZorvexSfcRepairDlgOP::MeasureLabelWidth(const wchar_t* text) const {
  HFONT font = nullptr;
  if (HWND main = GetParent()) font = reinterpret_cast<HFONT>(::SendMessageW(main, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (!font) font = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
  CClientDC dc(m_hWnd);
  if (!dc) return 0;
  CSelectObject selection(dc.Get(), font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &size);
  return size.cx;
}

void CZorvexSfcRepairDlgOP::PlaceLabel(CDrawTextStatic& label, const RECT& place, COLORREF normal,
                                       COLORREF highlight) {
  label.InitFont();
  label.SetAlignment(kLabelAlignment);
  label.SetBackColor(RGB(255, 255, 255));
  label.SetForeColors(normal, highlight);
  label.MoveWindow(place, TRUE);
}

void CZorvexSfcRepairDlgOP::LayoutControls() {
  m_rcClient = GetClientRect();
  const RECT& c = m_rcClient;
  const OperationsLayout layout = LayOutOperations({c.left, c.top, c.right, c.bottom}, m_fScale);

  m_btnClose.SetImages(144, 145, 146, 147);
  m_btnClose.MoveWindow(ToRect(layout.close), TRUE);
  m_btnMin.SetImages(150, 151, 152, 153);
  m_btnMin.MoveWindow(ToRect(layout.minimise), TRUE);
  m_btnLocal.SetImages(177, 178, 179, 180);
  m_btnLocal.MoveWindow(ToRect(layout.start), TRUE);
  m_btnMoreTools.SetImages(208, 209, 210, 211);
  m_btnMoreTools.MoveWindow(ToRect(layout.moreTools), TRUE);

  const int versionWidth = VersionLabelWidth(MeasureLabelWidth(kVersionText), m_fScale);
  m_stcVersion.SetWindowText(kVersionText);
  PlaceLabel(m_stcVersion, RECT{c.left + 10, layout.labelTop, c.left + 10 + versionWidth, layout.labelBottom},
             RGB(153, 153, 153), RGB(153, 153, 153));

  const int feedbackWidth = FeedbackLabelWidth(MeasureLabelWidth(kFeedbackText), m_fScale);
  const int right = c.right - 6;
  PlaceLabel(m_stcFeedback, RECT{right - feedbackWidth, layout.labelTop, right, layout.labelBottom}, RGB(92, 92, 255),
             RGB(0, 0, 255));
}

// Drawn into a memory bitmap first and copied in one go, so the window never shows a half
// drawn background.
void CZorvexSfcRepairDlgOP::DrawBackground(HDC hdc, const RECT& client) {
  CBufferedPaint buffer(hdc, client);
  if (!buffer) return;
  if (!m_pBackground && !LoadPngResource(kBackgroundPicture, m_pBackground)) return;
  {
    Gdiplus::Graphics graphics(buffer.Get());
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    graphics.DrawImage(m_pBackground.Get(), Gdiplus::Rect(0, 0, buffer.Width(), buffer.Height()), 0, 0,
                       static_cast<INT>(m_pBackground.Width()), static_cast<INT>(m_pBackground.Height()),
                       Gdiplus::UnitPixel);
  }
  buffer.Blit();
}

void CZorvexSfcRepairDlgOP::OnLButtonDown(UINT flags, POINT point) {
  POINT screen = point;
  ClientToScreen(&screen);
  // The label takes no clicks itself: the window tests where the click landed.
  if (m_stcFeedback.IsWindow() && m_stcFeedback.IsPointInside(screen.x, screen.y)) m_Run.OnFeedbackLinkClicked();
  CLayeredInnerDlg::OnLButtonDown(flags, point);
}

bool CZorvexSfcRepairDlgOP::OnCommand(UINT id, UINT code, HWND hCtl) {
  switch (id) {
    case IDC_OP_CLOSE: OnBnClickedClose(); return true;
    case IDC_OP_MIN: OnBnClickedMin(); return true;
    case IDC_OP_LOCAL: OnBnClickedLocal(); return true;
    case IDC_OP_MORETOOLS: OnBnClickedMoreTools(); return true;
    default: return CLayeredInnerDlg::OnCommand(id, code, hCtl);
  }
}

void CZorvexSfcRepairDlgOP::OnBnClickedMin() {
  if (HWND main = GetParent()) ::PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CZorvexSfcRepairDlgOP::OnDestroy() {
  // The base does the framework's destroy handling and frees the background.
  CLayeredInnerDlg::OnDestroy();
  m_btnClose.ReleaseImages();
  m_btnMin.ReleaseImages();
  m_btnLocal.ReleaseImages();
  m_btnMoreTools.ReleaseImages();
  m_hStartButton.store(nullptr);
  // Ends the repair processes, restores the redirection, closes the engine and releases the
  // feedback service once no worker thread is inside the run any more.
  m_Run.Shutdown();
  m_MonitorThread.Stop(0);
}

void CZorvexSfcRepairDlgOP::StartMonitorThread() {
  if (m_MonitorThread.Start(&OnMonitorTick, &m_Run)) m_MonitorThread.SetActive(TRUE);
}

void CZorvexSfcRepairDlgOP::EnableStartButton(bool enable) {
  if (HWND button = m_hStartButton.load()) ::EnableWindow(button, enable ? TRUE : FALSE);
}

void CZorvexSfcRepairDlgOP::ShowPrompt(const std::wstring& text, float scale) {
  CPromptDlg prompt;
  prompt.SetText(text);
  prompt.SetType(kPromptTypeConfirm);
  prompt.m_fScale = scale;
  {
    std::lock_guard lock(m_PromptLock);
    if (m_bPromptsDismissed) return;
    m_OpenPrompts.push_back(&prompt);
  }
  prompt.DoModal();
  std::lock_guard lock(m_PromptLock);
  m_OpenPrompts.erase(std::remove(m_OpenPrompts.begin(), m_OpenPrompts.end(), &prompt), m_OpenPrompts.end());
}

void CZorvexSfcRepairDlgOP::DismissPrompts() {
  std::lock_guard lock(m_PromptLock);
  m_bPromptsDismissed = true;
  for (CPromptDlg* prompt : m_OpenPrompts) prompt->Dismiss();
}

void CZorvexSfcRepairDlgOP::RunProgressPopup() {
  std::shared_ptr<CExecutePromptDlg> popup = std::make_shared<CExecutePromptDlg>();
  {
    std::lock_guard lock(m_PopupLock);
    m_pProgressPopup = popup;
  }
  popup->DoModal();
}

void CZorvexSfcRepairDlgOP::EndProgressPopup() {
  std::shared_ptr<CExecutePromptDlg> popup;
  {
    std::lock_guard lock(m_PopupLock);
    popup = m_pProgressPopup;
  }
  // Sent without the lock held: the popup's thread may be starting the next run meanwhile.
  if (popup) popup->EndProgress();
}

void CZorvexSfcRepairDlgOP::OpenWebPage(const std::wstring& address) {
  ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CZorvexSfcRepairDlgOP::RunProblemSolvedWindow() {
  CProblemSolvingFeedbackDlg window;
  window.m_pFeedback = &m_Feedback;
  window.DoModal();
}

void CZorvexSfcRepairDlgOP::CloseMainWindow() {
  if (HWND main = GetParent()) ::SendMessageW(main, WM_CLOSE, 0, 0);
}

void CZorvexSfcRepairDlgOP::ExitProcess(int exitCode) { ::ExitProcess(static_cast<UINT>(exitCode)); }

void CZorvexSfcRepairDlgOP::ServeWorkerCalls() {
  // A worker blocked in a SendMessage to this thread (the progress popup's end, a button's
  // state) is served here; nothing else is dispatched while the window goes away.
  ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_SENDMESSAGE);
  MSG msg;
  ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}
