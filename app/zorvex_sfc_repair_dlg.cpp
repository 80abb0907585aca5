#include "app/zorvex_sfc_repair_dlg.h"

#include <string>

#include "app/about_dlg.h"
#include "app/tool_folder.h"
#include "app/zorvex_sfc_repair_dlg_op.h"
#include "framework/paint_dc.h"
#include "popups/dpi_scale.h"
#include "res/resource.h"

CZorvexSfcRepairDlg::CZorvexSfcRepairDlg(CWnd* pParent) noexcept
    : CLayeredOuterDlg(IDD_ZORVEXSFCREPAIR_DIALOG, LayoutOf(ELayeredPair::MainWindow), 1.0f, pParent),
      // A shared icon from the program's resources: the system frees it.
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CZorvexSfcRepairDlgOP* CZorvexSfcRepairDlg::InnerDialog() const {
  return static_cast<CZorvexSfcRepairDlgOP*>(m_pInnerDlg.get());
}

BOOL CZorvexSfcRepairDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  AddAboutMenuItem();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  // The frame and the operations window follow the screen's dots per inch.
  m_fScale = ScreenDpiScale(m_fScale);
  if (DrawLayeredFrame()) CreateInnerDlg();
  return TRUE;
}

void CZorvexSfcRepairDlg::AddAboutMenuItem() {
  HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
  if (!menu) return;
  const wchar_t* text = nullptr;
  const int length = ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return;
  const std::wstring about(text, static_cast<size_t>(length));
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
}

std::unique_ptr<CLayeredInnerDlg> CZorvexSfcRepairDlg::NewInnerDlg() {
  return std::make_unique<CZorvexSfcRepairDlgOP>();
}

void CZorvexSfcRepairDlg::OnSysCommand(UINT id, LPARAM lParam) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal();
    return;
  }
  CLayeredOuterDlg::OnSysCommand(id, lParam);
}

void CZorvexSfcRepairDlg::OnPaint() {
  if (!IsIconic()) {
    CLayeredOuterDlg::OnPaint();
    return;
  }
  CPaintDC dc(m_hWnd);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
  const RECT client = GetClientRect();
  const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc.Get(), x, y, m_hIcon);
}

void CZorvexSfcRepairDlg::OnClose() {
  CLayeredOuterDlg::OnClose();
  // A run's progress popup runs its modal loop inside this window's: unless it ends too, this
  // window's loop never sees its own end, and sfc or DISM keep the tool alive.
  if (CZorvexSfcRepairDlgOP* inner = InnerDialog()) inner->EndRunProgressForClose();
}

HCURSOR CZorvexSfcRepairDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CZorvexSfcRepairDlg::OnDestroy() {
  // The base frees the frame picture and the operations window object (whose window the
  // platform destroyed first, with its own clean-up).
  CLayeredOuterDlg::OnDestroy();
  DeleteToolFolder();
}
