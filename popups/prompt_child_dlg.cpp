#include "popups/prompt_child_dlg.h"

#include "popups/custom_messages.h"
#include "popups/dialog_keys.h"
#include "popups/prompt_dlg.h"
#include "res/resource.h"

namespace {

constexpr UINT kBackgroundId = 155;

struct ButtonPictures {
  UINT normal, hover, pressed, disabled;
};

struct PromptButtons {
  ButtonPictures first, second;
  bool secondShown;
};

constexpr ButtonPictures kClosePictures{159, 160, 161, 161};

// Types beyond the four known ones show the program's usual single 确认 button.
PromptButtons ButtonsOfType(int type) {
  constexpr ButtonPictures yes{168, 169, 170, 170}, no{162, 163, 164, 164};
  constexpr ButtonPictures confirm{165, 166, 167, 167}, cancel{156, 157, 158, 158};
  switch (type) {
    case 1: return {yes, no, false};
    case 2: return {yes, no, true};
    case 4: return {confirm, cancel, true};
    default: return {confirm, cancel, false};
  }
}

void Apply(CPngButton& button, const ButtonPictures& p) { button.SetImages(p.normal, p.hover, p.pressed, p.disabled); }

// The factor is a float, but products and sums are formed in double precision, as the pair
// geometry does: x86 builds evaluate in extended precision anyway, so every build agrees.
int Trunc(double value) { return static_cast<int>(value); }

}  // namespace

CPromptChildDlg::CPromptChildDlg() noexcept
    : CLayeredInnerDlg(IDD_PROMPT_INNER, LayoutOf(ELayeredPair::Prompt), kBackgroundId) {}

void CPromptChildDlg::DoDataExchange() {
  CLayeredInnerDlg::DoDataExchange();
  BindControl(IDC_PROMPT_CLOSE, m_btnClose);
  BindControl(IDC_PROMPT_OK, m_btnOk);
  BindControl(IDC_PROMPT_CANCEL, m_btnCancel);
  BindControl(IDC_PROMPT_TEXT, m_stcText);
}

BOOL CPromptChildDlg::OnInitDialog() {
  CLayeredInnerDlg::OnInitDialog();
  SetTimer(kHoverResetTimerId, kHoverResetPeriodMs);
  return TRUE;
}

void CPromptChildDlg::LayoutControls() {
  const RECT client = GetClientRect();
  const int width = client.right;
  const int height = client.bottom;
  const int half = width / 2;
  const double s = m_fScale;
  const int buttonWidth = Trunc(55 * s);
  const int buttonHeight = Trunc(24 * s);
  const int buttonTop = Trunc(107 * s);

  const int closeLeft = width - Trunc(26 * s);
  const int closeTop = Trunc(8 * s);
  Apply(m_btnClose, kClosePictures);
  m_btnClose.MoveWindow(RECT{closeLeft, closeTop, closeLeft + Trunc(12 * s), closeTop + Trunc(12 * s)}, TRUE);
  m_btnClose.SetStretch(TRUE);

  const int pairLeft = Trunc(half - 55 * s - 12 * s);
  m_btnOk.MoveWindow(RECT{pairLeft, buttonTop, pairLeft + buttonWidth, buttonTop + buttonHeight}, TRUE);
  m_btnOk.SetStretch(TRUE);
  const int secondLeft = Trunc(half + 12 * s);
  m_btnCancel.MoveWindow(RECT{secondLeft, buttonTop, secondLeft + buttonWidth, buttonTop + buttonHeight}, TRUE);
  m_btnCancel.SetStretch(TRUE);

  const PromptButtons buttons = ButtonsOfType(m_nType);
  Apply(m_btnOk, buttons.first);
  Apply(m_btnCancel, buttons.second);
  m_btnOk.ShowWindow(SW_SHOW);
  m_btnCancel.ShowWindow(buttons.secondShown ? SW_SHOW : SW_HIDE);
  if (!buttons.secondShown) {
    const int centredLeft = Trunc(half - 55 * s / 2);
    m_btnOk.MoveWindow(RECT{centredLeft, buttonTop, centredLeft + buttonWidth, buttonTop + buttonHeight}, TRUE);
  }

  m_stcText.SetWindowText(m_strText);
  m_stcText.MoveWindow(RECT{Trunc(10 * s), Trunc(50 * s), width - Trunc(10 * s), height - Trunc(40 * s)}, TRUE);
  m_stcText.InitFont();
}

BOOL CPromptChildDlg::PreTranslateMessage(MSG* msg) {
  if (IsEnterOrEscapeKeyDown(msg)) return TRUE;
  return CLayeredInnerDlg::PreTranslateMessage(msg);
}

bool CPromptChildDlg::OnCommand(UINT id, UINT code, HWND hCtl) {
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_PROMPT_OK: OnBnClickedOk(); return true;
      case IDC_PROMPT_CANCEL: OnBnClickedCancel(); return true;
      case IDC_PROMPT_CLOSE: OnBnClickedClose(); return true;
      default: break;
    }
  }
  return CLayeredInnerDlg::OnCommand(id, code, hCtl);
}

void CPromptChildDlg::OnBnClickedOk() { ::SendMessageW(GetParent(), WM_PROMPT_RESULT, 1, 0); }

void CPromptChildDlg::OnBnClickedCancel() { ::SendMessageW(GetParent(), WM_PROMPT_RESULT, 2, 0); }

void CPromptChildDlg::OnBnClickedClose() { ::SendMessageW(GetParent(), WM_CLOSE, 0, 0); }

void CPromptChildDlg::ResetButtons(POINT screenPoint) {
  m_btnClose.ResetState(screenPoint.x, screenPoint.y);
  m_btnOk.ResetState(screenPoint.x, screenPoint.y);
  m_btnCancel.ResetState(screenPoint.x, screenPoint.y);
}

LRESULT CPromptChildDlg::OnNcHitTest(POINT screenPoint) {
  ResetButtons(screenPoint);
  return CLayeredInnerDlg::OnNcHitTest(screenPoint);
}

void CPromptChildDlg::OnTimer(UINT_PTR id) {
  if (id == kHoverResetTimerId) {
    POINT cursor{};
    if (::GetCursorPos(&cursor)) {
      POINT inClient = cursor;
      ScreenToClient(&inClient);
      const RECT client = GetClientRect();
      if (!::PtInRect(&client, inClient)) ResetButtons(cursor);
    }
  }
  Default();
}

void CPromptChildDlg::OnDestroy() {
  m_btnClose.ReleaseImages();
  m_btnOk.ReleaseImages();
  m_btnCancel.ReleaseImages();
  KillTimer(kHoverResetTimerId);
  CLayeredInnerDlg::OnDestroy();
}
