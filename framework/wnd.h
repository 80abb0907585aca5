#pragma once
// The window base class: one static window procedure finds the object through a window
// property and hands each message to WindowProc, whose default unpacks the common messages
// into virtual handlers. A handler's base implementation forwards the message to the
// previous (default) window procedure; an override that does not call the base has handled
// the message.
#include <windows.h>

#include <string>

// <windowsx.h> turns these member names into macros.
#undef SubclassWindow
#undef GetWindowFont

class CWnd {
 public:
  CWnd() noexcept = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  HWND GetSafeHwnd() const noexcept { return m_hWnd; }
  operator HWND() const noexcept { return m_hWnd; }

  // The object hooked to a window by this framework (created, subclassed or a dialog of
  // ours), or null. Borrowed attachments (Attach) are not found.
  static CWnd* FromHandlePermanent(HWND hWnd) noexcept;

  // Registers a window class whose procedure is this framework's; windows of it must be
  // created with CreateEx so that the object is bound at WM_NCCREATE.
  static bool RegisterWindowClass(LPCWSTR className, UINT classStyle = 0, HCURSOR hCursor = nullptr,
                                  HBRUSH hBackground = nullptr, HICON hIcon = nullptr);
  // className null: the framework's plain class (no class style, arrow cursor, no brush).
  // A system or foreign class (L"SCROLLBAR", L"STATIC") is created and then subclassed.
  BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                HWND hParent, UINT_PTR idOrMenu);
  BOOL DestroyWindow();

  // Hooks an existing window: PreSubclassWindow runs first (m_hWnd already set), then the
  // window procedure is replaced. UnsubclassWindow restores it and returns the handle; it
  // fails (returns null, leaves everything) when someone subclassed the window after us.
  BOOL SubclassWindow(HWND hWnd);
  HWND UnsubclassWindow();
  // Borrowing: the object only refers to the window; no messages reach it.
  void Attach(HWND hWnd) noexcept;
  HWND Detach() noexcept;

  // Calls PreTranslateMessage of every window of ours from msg->hwnd up through parents and
  // owners, ending after `stop` (or at the top). TRUE when one of them took the message.
  static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);
  virtual BOOL PreTranslateMessage(MSG* msg);

  // Thin wrappers.
  BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
  BOOL MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(HWND hInsertAfter, int x, int y, int cx, int cy, UINT flags);
  BOOL ShowWindow(int cmdShow);
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
  RECT GetClientRect() const;
  RECT GetWindowRect() const;
  void ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }
  void ClientToScreen(RECT* rect) const;
  void ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
  void ScreenToClient(RECT* rect) const;
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
  void InvalidateRect(const RECT* rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
  void UpdateWindow() { ::UpdateWindow(m_hWnd); }
  void SetWindowText(LPCWSTR text) { ::SetWindowTextW(m_hWnd, text); }
  void SetWindowText(const std::wstring& text) { ::SetWindowTextW(m_hWnd, text.c_str()); }
  std::wstring GetWindowText() const;
  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs) { return ::SetTimer(m_hWnd, id, elapseMs, nullptr); }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  // The parent of a child window, the owner of a popup.
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
  }
  BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
  }
  HFONT GetFont() const { return reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)); }
  void SetFont(HFONT hFont, BOOL redraw = TRUE) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(hFont), MAKELPARAM(redraw, 0));
  }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }
  // Style bits only; the caller refreshes the frame where that matters.
  BOOL ModifyStyle(DWORD remove, DWORD add);
  BOOL ModifyStyleEx(DWORD remove, DWORD add);
  HWND SetFocus() { return ::SetFocus(m_hWnd); }
  // Centres over the owner, or in the work area when there is none or it is hidden or
  // minimised; stays inside the work area.
  void CenterWindow();

 protected:
  // Every message of a hooked window arrives here. The default tries OnMessage, then the
  // handlers below, then Default().
  virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The message being handled, passed on to the previous/default procedure.
  LRESULT Default();
  LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

  virtual void PreSubclassWindow() {}
  // Runs after WM_NCDESTROY, once the object is no longer bound: the place for `delete this`.
  virtual void PostNcDestroy() {}

  // Any message, before the handlers: return true with `result` set when handled.
  virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  virtual int OnCreate(CREATESTRUCTW* cs);
  virtual void OnDestroy();
  // Call the base: it lets the previous procedure see the message.
  virtual void OnNcDestroy();
  virtual void OnPaint();
  virtual BOOL OnEraseBkgnd(HDC hdc);
  virtual void OnPrintClient(HDC hdc, UINT flags);
  virtual void OnMove(int x, int y);
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnTimer(UINT_PTR id);
  virtual LRESULT OnNcHitTest(POINT screenPoint);
  virtual void OnLButtonDown(UINT flags, POINT point);
  virtual void OnLButtonUp(UINT flags, POINT point);
  virtual void OnLButtonDblClk(UINT flags, POINT point);
  virtual void OnMButtonDown(UINT flags, POINT point);
  virtual void OnRButtonDown(UINT flags, POINT point);
  virtual void OnNcRButtonDown(UINT hitTest, POINT screenPoint);
  virtual void OnMouseMove(UINT flags, POINT point);
  virtual void OnMouseHover(UINT flags, POINT point);
  virtual void OnMouseLeave();
  // Return false for commands not handled: they go to Default().
  virtual bool OnCommand(UINT id, UINT code, HWND hCtl);
  virtual void OnSysCommand(UINT id, LPARAM lParam);
  virtual HCURSOR OnQueryDragIcon();
  virtual void OnKeyDown(UINT vk, UINT repeat, UINT flags);
  virtual void OnVScroll(UINT code, UINT pos, HWND hScrollBar);
  virtual void OnHScroll(UINT code, UINT pos, HWND hScrollBar);
  virtual void OnClose();
  // Owner-drawn controls of ours get their parent's WM_DRAWITEM here.
  virtual void DrawItem(const DRAWITEMSTRUCT* dis);

  static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // Binds the object to hWnd and routes messages through StaticWindowProc (the window's
  // procedure is replaced unless it already is ours). superProc: the procedure Default() calls.
  void Hook(HWND hWnd, WNDPROC superProc);
  LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
  static HINSTANCE ModuleInstance() noexcept;

  // True when this object created the window (CreateEx, dialogs): the destructor destroys
  // a window still alive; a subclassed window is only handed back.
  bool m_bCreatedWindow = false;

 private:
  struct CurrentMessage {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
  };
  void Unhook() noexcept;
  bool ReflectDrawItem(const DRAWITEMSTRUCT* dis);

  WNDPROC m_pfnSuper = nullptr;
  bool m_bHooked = false;
  CurrentMessage m_current{};
};
