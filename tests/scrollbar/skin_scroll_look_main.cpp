// Shows the agreement text in a wrapped rich edit for a look or a screenshot:
//   skin_scroll_look.exe [milliseconds, default 5000]
#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "agreement_text.h"
#include "framework/rich_edit_ctrl.h"
#include "scroll_test_support.h"
#include "skin_scroll_wnd.h"

int wmain(int argc, wchar_t** argv)
{
    const DWORD ms = argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 5000;
    if (!CRichEditCtrl::InitRichEdit())
        return 1;
    HBITMAP hSkin = LoadTestSkin();
    CRecordingParent parent(400, 300);
    HWND hEdit = ::CreateWindowExW(0, CRichEditCtrl::kClassName, L"", 0x50A12804, 20, 20, 300, 200,
                                   parent.Get(), reinterpret_cast<HMENU>(1009),
                                   ::GetModuleHandleW(nullptr), nullptr);
    // The dialog font of the agreement window, which links in the Chinese glyphs.
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::wcscpy(lf.lfFaceName, L"MS Shell Dlg");
    HFONT hFont = ::CreateFontIndirectW(&lf);
    ::SendMessageW(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    ::SetWindowTextW(hEdit, BuildAgreementText().c_str());
    AttachSkinScrollBars(hEdit, hSkin, 1.0f, 0);
    ::SendMessageW(hEdit, EM_SCROLL, SB_PAGEDOWN, 0);
    PumpFor(ms);
    ::DestroyWindow(parent.Get());
    ::DeleteObject(hFont);
    if (hSkin)
        ::DeleteObject(hSkin);
    return 0;
}
