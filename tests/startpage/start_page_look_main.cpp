// Not a test: opens the start page for a look at it. Arguments: "untick" clears the agree box,
// "agreement" opens the agreement text, "end" also scrolls it to its end ("seconds=N": how long
// the page stays). The agreement box is also saved as agreement_*.bmp and frame_*.bmp.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "framework/rich_edit_ctrl.h"
#include "res/resource.h"
#include "popups/tooltip_child_dlg.h"
#include "skin/gdiplus_session.h"
#include "start_page_support.h"

namespace {

void DumpTree(HWND hWnd, int depth) {
  for (HWND child = ::GetWindow(hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    ::GetClassNameW(child, cls, 64);
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, hWnd, reinterpret_cast<POINT*>(&r), 2);
    fwprintf(stderr, L"%*ls%ls id %d visible %d (%ld,%ld)-(%ld,%ld)\n", depth * 2, L"", cls, ::GetDlgCtrlID(child),
             ::IsWindowVisible(child), r.left, r.top, r.right, r.bottom);
    DumpTree(child, depth + 1);
  }
}

void SaveWindowPicture(HWND hWnd, const wchar_t* path) {
  RECT r{};
  ::GetWindowRect(hWnd, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  // The window's own surface holds what it and its children painted.
  const Pixels p = Render(width, height, [&](HDC hdc) {
    HDC window = ::GetWindowDC(hWnd);
    ::BitBlt(hdc, 0, 0, width, height, window, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, window);
  });
  if (p.data.empty()) return;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  const DWORD bytes = static_cast<DWORD>(p.data.size() * 4);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + bytes;
  HANDLE out = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(out, &file, sizeof(file), &written, nullptr);
  ::WriteFile(out, &info, sizeof(info), &written, nullptr);
  ::WriteFile(out, p.data.data(), bytes, &written, nullptr);
  ::CloseHandle(out);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CGdiplusSession gdiplus;
  bool agreement = false, end = false, untick = false;
  DWORD seconds = 8;
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"agreement") == 0) agreement = true;
    if (std::wcscmp(argv[i], L"end") == 0) agreement = end = true;
    if (std::wcscmp(argv[i], L"untick") == 0) untick = true;
    if (std::wcsncmp(argv[i], L"seconds=", 8) == 0) seconds = static_cast<DWORD>(_wtoi(argv[i] + 8));
  }
  CScriptedStartPage page;
  page.m_script = [&](CScriptedStartPage& p) {
    CUsageArgeeementChildDlg* inner = p.Inner();
    PumpFor(300);
    if (untick) inner->m_chkAgree.SendMessage(BM_CLICK);
    if (agreement) {
      const RECT link = RectIn(inner->m_stcLink.m_hWnd, inner->m_hWnd);
      const POINT at{(link.left + link.right) / 2, (link.top + link.bottom) / 2};
      inner->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
      inner->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
      if (end && inner->m_pAgreementDlg) {
        auto* text = static_cast<CTooltipChildDlg*>(inner->m_pAgreementDlg->InnerDlg());
        if (text) ::SendMessageW(text->m_edtText.m_hWnd, WM_VSCROLL, SB_BOTTOM, 0);
      }
    }
    PumpFor(500);
    if (agreement && inner->m_pAgreementDlg && inner->m_pAgreementDlg->InnerDlg()) {
      // The X screen may not show a window stacked over an earlier one: keep a printed copy.
      DumpTree(inner->m_pAgreementDlg->InnerDlg()->m_hWnd, 0);
      auto* text = static_cast<CTooltipChildDlg*>(inner->m_pAgreementDlg->InnerDlg());
      SaveWindowPicture(::GetDlgItem(text->m_hWnd, IDC_AGREEMENT_TEXT), end ? L"frame_end.bmp" : L"frame_top.bmp");
      SaveWindowPicture(inner->m_pAgreementDlg->InnerDlg()->m_hWnd, end ? L"agreement_end.bmp" : L"agreement_top.bmp");
    }
    PumpFor(seconds * 1000);
    p.SendMessage(WM_CLOSE);
  };
  return static_cast<int>(page.DoModal());
}
