#include "framework/wnd.h"

#include <vector>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

int LParamX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int LParamY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// The object pointer lives in a window property: found from the handle alone, without a
// map, and independent of the window's user data (which wrapped controls may use).
constexpr wchar_t kObjectProperty[] = L"Zsr.Framework.CWnd";
constexpr wchar_t kPlainClassName[] = L"ZsrFrameworkWnd";

HWND ParentOrOwner(HWND hWnd) {
  if (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD) return ::GetAncestor(hWnd, GA_PARENT);
  return ::GetWindow(hWnd, GW_OWNER);
}

}  // namespace

CWnd::~CWnd() {
  if (!m_hWnd) return;
  if (!m_bHooked) {
    m_hWnd = nullptr;
    return;
  }
  // The derived parts are gone: unhook first so no handler of a destroyed object runs.
  HWND hWnd = m_hWnd;
  const bool destroy = m_bCreatedWindow;
  Unhook();
  if (destroy) ::DestroyWindow(hWnd);
}

HINSTANCE CWnd::ModuleInstance() noexcept { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) noexcept {
  if (!hWnd) return nullptr;
  return static_cast<CWnd*>(::GetPropW(hWnd, kObjectProperty));
}

bool CWnd::RegisterWindowClass(LPCWSTR className, UINT classStyle, HCURSOR hCursor, HBRUSH hBackground,
                               HICON hIcon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = classStyle;
  wc.lpfnWndProc = &CWnd::StaticWindowProc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = hCursor;
  wc.hbrBackground = hBackground;
  wc.hIcon = hIcon;
  wc.lpszClassName = className;
  if (::RegisterClassExW(&wc)) return true;
  return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                    HWND hParent, UINT_PTR idOrMenu) {
  if (m_hWnd) return FALSE;
  if (!className) {
    if (!RegisterWindowClass(kPlainClassName, 0, ::LoadCursorW(nullptr, IDC_ARROW))) return FALSE;
    className = kPlainClassName;
  }
  HWND hWnd = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, hParent,
                                reinterpret_cast<HMENU>(idOrMenu), ModuleInstance(), this);
  if (!hWnd) return FALSE;
  // A class of ours bound the object at WM_NCCREATE; any other class is subclassed now.
  if (FromHandlePermanent(hWnd) != this && !SubclassWindow(hWnd)) {
    ::DestroyWindow(hWnd);
    return FALSE;
  }
  m_bCreatedWindow = true;
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  if (!m_bHooked) return ::DestroyWindow(Detach());
  return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (m_hWnd || !::IsWindow(hWnd) || FromHandlePermanent(hWnd)) return FALSE;
  m_hWnd = hWnd;
  PreSubclassWindow();
  auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
  // A window of one of our classes whose object is gone: its default is DefWindowProc.
  if (previous == &CWnd::StaticWindowProc) previous = &::DefWindowProcW;
  Hook(hWnd, previous);
  return TRUE;
}

HWND CWnd::UnsubclassWindow() {
  if (!m_bHooked) return nullptr;
  auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
  if (current != &CWnd::StaticWindowProc) return nullptr;
  HWND hWnd = m_hWnd;
  Unhook();
  m_bCreatedWindow = false;
  return hWnd;
}

void CWnd::Attach(HWND hWnd) noexcept {
  if (!m_bHooked) m_hWnd = hWnd;
}

HWND CWnd::Detach() noexcept {
  if (m_bHooked) return nullptr;
  HWND hWnd = m_hWnd;
  m_hWnd = nullptr;
  return hWnd;
}

void CWnd::Hook(HWND hWnd, WNDPROC superProc) {
  m_hWnd = hWnd;
  m_pfnSuper = superProc;
  m_bHooked = true;
  ::SetPropW(hWnd, kObjectProperty, this);
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC)) != &CWnd::StaticWindowProc) {
    ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc));
  }
}

void CWnd::Unhook() noexcept {
  if (!m_bHooked) return;
  auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
  // A window of one of our classes keeps our procedure; it finds no object and defaults.
  if (current == &CWnd::StaticWindowProc && m_pfnSuper != &::DefWindowProcW) {
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  }
  ::RemovePropW(m_hWnd, kObjectProperty);
  m_bHooked = false;
  m_pfnSuper = nullptr;
  m_hWnd = nullptr;
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = FromHandlePermanent(hWnd);
  if (!wnd && msg == WM_NCCREATE) {
    wnd = static_cast<CWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (wnd) wnd->Hook(hWnd, &::DefWindowProcW);
  }
  if (!wnd) return ::DefWindowProcW(hWnd, msg, wParam, lParam);
  return wnd->Dispatch(msg, wParam, lParam);
}

LRESULT CWnd::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  const CurrentMessage outer = m_current;
  m_current = {msg, wParam, lParam};
  LRESULT result = WindowProc(msg, wParam, lParam);
  m_current = outer;
  if (msg == WM_NCDESTROY) {
    Unhook();
    m_bCreatedWindow = false;
    PostNcDestroy();
  }
  return result;
}

LRESULT CWnd::Default() { return DefWindowProc(m_current.msg, m_current.wParam, m_current.lParam); }

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!m_pfnSuper) return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
  return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, wParam, lParam);
}

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  const DWORD thread = ::GetCurrentThreadId();
  for (HWND hWnd = msg->hwnd; hWnd; hWnd = ParentOrOwner(hWnd)) {
    // Only objects of this thread: another thread's windows are its own business.
    if (::GetWindowThreadProcessId(hWnd, nullptr) == thread) {
      CWnd* wnd = FromHandlePermanent(hWnd);
      if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
    }
    if (hWnd == stop) break;
  }
  return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (OnMessage(msg, wParam, lParam, result)) return result;
  const POINT point{LParamX(lParam), LParamY(lParam)};
  const auto flags = static_cast<UINT>(wParam);
  switch (msg) {
    case WM_CREATE:
      return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_PRINTCLIENT:
      OnPrintClient(reinterpret_cast<HDC>(wParam), static_cast<UINT>(lParam));
      return 0;
    case WM_MOVE:
      OnMove(point.x, point.y);
      return 0;
    case WM_SIZE:
      OnSize(flags, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_NCHITTEST:
      return OnNcHitTest(point);
    case WM_LBUTTONDOWN:
      OnLButtonDown(flags, point);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(flags, point);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(flags, point);
      return 0;
    case WM_MBUTTONDOWN:
      OnMButtonDown(flags, point);
      return 0;
    case WM_RBUTTONDOWN:
      OnRButtonDown(flags, point);
      return 0;
    case WM_NCRBUTTONDOWN:
      OnNcRButtonDown(flags, point);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(flags, point);
      return 0;
    case WM_MOUSEHOVER:
      OnMouseHover(flags, point);
      return 0;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return 0;
    case WM_COMMAND:
      if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
      return Default();
    case WM_SYSCOMMAND:
      OnSysCommand(flags, lParam);
      return 0;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<LRESULT>(OnQueryDragIcon());
    case WM_KEYDOWN:
      OnKeyDown(flags, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_VSCROLL:
      OnVScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DRAWITEM:
      if (ReflectDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      return Default();
    default:
      return Default();
  }
}

bool CWnd::ReflectDrawItem(const DRAWITEMSTRUCT* dis) {
  if (!dis || dis->CtlType == ODT_MENU) return false;
  CWnd* control = FromHandlePermanent(dis->hwndItem);
  if (!control || control == this) return false;
  control->DrawItem(dis);
  return true;
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
int CWnd::OnCreate(CREATESTRUCTW*) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(HDC) { return static_cast<BOOL>(Default()); }
void CWnd::OnPrintClient(HDC, UINT) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
LRESULT CWnd::OnNcHitTest(POINT) { return Default(); }
void CWnd::OnLButtonDown(UINT, POINT) { Default(); }
void CWnd::OnLButtonUp(UINT, POINT) { Default(); }
void CWnd::OnLButtonDblClk(UINT, POINT) { Default(); }
void CWnd::OnMButtonDown(UINT, POINT) { Default(); }
void CWnd::OnRButtonDown(UINT, POINT) { Default(); }
void CWnd::OnNcRButtonDown(UINT, POINT) { Default(); }
void CWnd::OnMouseMove(UINT, POINT) { Default(); }
void CWnd::OnMouseHover(UINT, POINT) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
bool CWnd::OnCommand(UINT, UINT, HWND) { return false; }
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnVScroll(UINT, UINT, HWND) { Default(); }
void CWnd::OnHScroll(UINT, UINT, HWND) { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::DrawItem(const DRAWITEMSTRUCT*) {}

BOOL CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  return ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

BOOL CWnd::MoveWindow(const RECT& rect, BOOL repaint) {
  return ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

BOOL CWnd::SetWindowPos(HWND hInsertAfter, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, hInsertAfter, x, y, cx, cy, flags);
}

BOOL CWnd::ShowWindow(int cmdShow) { return ::ShowWindow(m_hWnd, cmdShow); }

BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }

RECT CWnd::GetClientRect() const {
  RECT rect{};
  ::GetClientRect(m_hWnd, &rect);
  return rect;
}

RECT CWnd::GetWindowRect() const {
  RECT rect{};
  ::GetWindowRect(m_hWnd, &rect);
  return rect;
}

void CWnd::ClientToScreen(RECT* rect) const {
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2);
}

void CWnd::ScreenToClient(RECT* rect) const {
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2);
}

std::wstring CWnd::GetWindowText() const {
  const int length = ::GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
  return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add) {
  const DWORD style = GetStyle();
  const DWORD changed = (style & ~remove) | add;
  if (changed == style) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(changed));
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add) {
  const DWORD style = GetExStyle();
  const DWORD changed = (style & ~remove) | add;
  if (changed == style) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
  return TRUE;
}

void CWnd::CenterWindow() {
  if (!m_hWnd) return;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  const bool overOwner = owner && ::IsWindowVisible(owner) && !::IsIconic(owner);
  HMONITOR monitor = ::MonitorFromWindow(overOwner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetMonitorInfoW(monitor, &info)) return;
  const RECT work = info.rcWork;
  RECT around = work;
  if (overOwner) ::GetWindowRect(owner, &around);
  const RECT self = GetWindowRect();
  const int width = self.right - self.left;
  const int height = self.bottom - self.top;
  int x = (around.left + around.right) / 2 - width / 2;
  int y = (around.top + around.bottom) / 2 - height / 2;
  // Keep it on the screen: the right/bottom edges first, so a window larger than the work
  // area keeps its top-left corner visible.
  if (x + width > work.right) x = work.right - width;
  if (y + height > work.bottom) y = work.bottom - height;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
