#include "scroll_test_support.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr wchar_t kParentClass[] = L"ZsrScrollTestParent";

}  // namespace

double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

HBITMAP LoadTestSkin()
{
    return static_cast<HBITMAP>(
        ::LoadImageW(nullptr, L"scrollbar_skin_test.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

COLORREF SkinPixel(HBITMAP hSkin, int x, int y)
{
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(hdc, hSkin);
    const COLORREF color = ::GetPixel(hdc, x, y);
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    return color;
}

COLORREF ScreenPixel(HWND hWnd, int x, int y)
{
    HDC hdc = ::GetDC(hWnd);
    const COLORREF color = ::GetPixel(hdc, x, y);
    ::ReleaseDC(hWnd, hdc);
    return color;
}

void MouseMove(HWND hWnd, POINT client)
{
    POINT screen = client;
    ::ClientToScreen(hWnd, &screen);
    ::SetCursorPos(screen.x, screen.y);
    const WPARAM buttons = ::GetCapture() == hWnd ? MK_LBUTTON : 0;
    ::SendMessageW(hWnd, WM_MOUSEMOVE, buttons, MAKELPARAM(client.x, client.y));
}

void MouseDown(HWND hWnd, POINT client)
{
    MouseMove(hWnd, client);
    ::SendMessageW(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
}

void MouseUp(HWND hWnd, POINT client)
{
    ::SendMessageW(hWnd, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}

std::string MessageName(UINT msg)
{
    switch (msg) {
    case WM_VSCROLL:
        return "WM_VSCROLL";
    case WM_HSCROLL:
        return "WM_HSCROLL";
    default:
        return "message " + std::to_string(msg);
    }
}

std::string ScrollCodeName(int code)
{
    static const char* const names[] = {"SB_LINEUP",        "SB_LINEDOWN",  "SB_PAGEUP",
                                        "SB_PAGEDOWN",      "SB_THUMBPOSITION", "SB_THUMBTRACK"};
    return code >= 0 && code < 6 ? names[code] : "code " + std::to_string(code);
}

std::string Describe(const std::vector<ScrollNotice>& notices)
{
    std::string text;
    const double start = notices.empty() ? 0 : notices.front().atMs;
    for (const ScrollNotice& n : notices) {
        char line[96];
        std::snprintf(line, sizeof(line), "  %+7.1f ms %s %s pos %d\n", n.atMs - start,
                      MessageName(n.msg).c_str(), ScrollCodeName(n.code).c_str(), n.pos);
        text += line;
    }
    return text;
}

CRecordingParent::CRecordingParent(int width, int height)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &CRecordingParent::WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kParentClass;
    ::RegisterClassExW(&wc);
    m_hWnd = ::CreateWindowExW(0, kParentClass, L"scroll test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                               40, 40, width, height, nullptr, nullptr, wc.hInstance, this);
    ::SetForegroundWindow(m_hWnd);
    PumpFor(50);
}

CRecordingParent::~CRecordingParent()
{
    if (::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
}

LRESULT CALLBACK CRecordingParent::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<CRecordingParent*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self && (msg == WM_VSCROLL || msg == WM_HSCROLL) && lParam) {
        self->OnScroll(msg, wParam, reinterpret_cast<HWND>(lParam));
        return 0;
    }
    if (msg == WM_NCDESTROY)
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

void CRecordingParent::OnScroll(UINT msg, WPARAM wParam, HWND hBar)
{
    const int code = LOWORD(wParam);
    const int pos = static_cast<short>(HIWORD(wParam));
    notices.push_back({msg, code, pos, NowMs()});
    if (!followBar)
        return;
    SCROLLINFO si{sizeof(si), SIF_ALL};
    ::SendMessageW(hBar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&si));
    const int largest = std::max(si.nMin, si.nMax - static_cast<int>(si.nPage) + 1);
    int next = si.nPos;
    switch (code) {
    case SB_LINEUP: next -= 1; break;
    case SB_LINEDOWN: next += 1; break;
    case SB_PAGEUP: next -= static_cast<int>(si.nPage); break;
    case SB_PAGEDOWN: next += static_cast<int>(si.nPage); break;
    case SB_THUMBPOSITION: next = pos; break;
    default: return;  // the thumb track leaves the position alone
    }
    SCROLLINFO set{sizeof(set), SIF_POS};
    set.nPos = std::clamp(next, si.nMin, largest);
    ::SendMessageW(hBar, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&set));
}
