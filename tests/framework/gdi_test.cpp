// GDI owners: each frees what it owns, selections are undone, and a create/paint/destroy loop
// leaves the process's GDI object count where it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/buffered_paint.h"
#include "framework/client_dc.h"
#include "framework/gdi_object.h"
#include "framework/memory_dc.h"
#include "framework/paint_dc.h"
#include "framework/rich_edit_ctrl.h"
#include "framework/select_object.h"
#include "framework/unique_icon.h"
#include "framework/wnd.h"
#include "test_support.h"

namespace {

bool IsLiveGdiObject(HGDIOBJ object) { return ::GetObjectType(object) != 0; }

TEST(GdiOwners, OwnersDeleteOnDestructionAndHandOverOnMove) {
  HBITMAP raw = nullptr;
  {
    CClientDC screen(nullptr);
    ASSERT_TRUE(screen);
    CBitmap first(::CreateCompatibleBitmap(screen, 8, 8));
    raw = first.Get();
    CBitmap second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.Get(), raw);
    CBitmap third;
    third = std::move(second);
    EXPECT_TRUE(IsLiveGdiObject(raw));
  }
  EXPECT_FALSE(IsLiveGdiObject(raw)) << "the last owner deletes the bitmap";

  HBITMAP replaced = nullptr;
  CBitmap owner(::CreateBitmap(4, 4, 1, 32, nullptr));
  replaced = owner.Get();
  owner.Reset(::CreateBitmap(4, 4, 1, 32, nullptr));
  EXPECT_FALSE(IsLiveGdiObject(replaced)) << "Reset deletes the previous object";
  HBITMAP released = owner.Release();
  EXPECT_FALSE(owner);
  EXPECT_TRUE(IsLiveGdiObject(released)) << "Release hands the object over";
  ::DeleteObject(released);

  HDC memory = nullptr;
  {
    CMemoryDC dc(nullptr);
    memory = dc.Get();
    EXPECT_EQ(::GetObjectType(memory), static_cast<DWORD>(OBJ_MEMDC));
    CMemoryDC moved(std::move(dc));
    EXPECT_FALSE(dc);
  }
  EXPECT_FALSE(IsLiveGdiObject(memory));

  BYTE andMask[32];
  BYTE xorMask[32] = {};
  memset(andMask, 0xFF, sizeof andMask);
  CUniqueIcon icon(::CreateIcon(nullptr, 16, 16, 1, 1, andMask, xorMask));
  EXPECT_TRUE(icon);
  CUniqueIcon movedIcon(std::move(icon));
  EXPECT_FALSE(icon);
  EXPECT_TRUE(movedIcon);
}

TEST(GdiOwners, SelectObjectPutsThePreviousObjectBack) {
  CMemoryDC dc(nullptr);
  const HGDIOBJ originalBitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
  const HGDIOBJ originalFont = ::GetCurrentObject(dc, OBJ_FONT);
  CBitmap bitmap(::CreateCompatibleBitmap(dc, 4, 4));
  CFont font(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg"));
  {
    CSelectObject selectBitmap(dc, bitmap.Get());
    CSelectObject selectFont(dc, font.Get());
    EXPECT_TRUE(selectBitmap);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), bitmap.Get());
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), font.Get());
  }
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_BITMAP), originalBitmap);
  EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), originalFont);
  CSelectObject nothing(nullptr, bitmap.Get());
  EXPECT_FALSE(nothing);
}

TEST(GdiOwners, BufferedPaintCopiesItsBufferToTheTargetArea) {
  CMemoryDC target(nullptr);
  CBitmap surface(::CreateBitmap(40, 30, 1, 32, nullptr));
  CSelectObject selectSurface(target, surface.Get());
  ::PatBlt(target, 0, 0, 40, 30, BLACKNESS);
  HBITMAP buffer = nullptr;
  {
    CBufferedPaint paint(target, RECT{10, 5, 30, 25});
    ASSERT_TRUE(paint);
    EXPECT_EQ(paint.Width(), 20);
    EXPECT_EQ(paint.Height(), 20);
    buffer = paint.Bitmap();
    ::PatBlt(paint.Get(), 0, 0, 20, 20, WHITENESS);
    EXPECT_TRUE(paint.Blit());
  }
  EXPECT_FALSE(IsLiveGdiObject(buffer));
  EXPECT_EQ(::GetPixel(target, 9, 5) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(::GetPixel(target, 10, 5) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(::GetPixel(target, 29, 24) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(::GetPixel(target, 30, 25) & 0xFFFFFF, 0x000000u);

  CBufferedPaint empty(target, RECT{5, 5, 5, 9});
  EXPECT_FALSE(empty);
  EXPECT_FALSE(empty.Blit());
}

// Paints through every owner on each WM_PAINT and WM_PRINTCLIENT.
class CPaintingWnd : public CWnd {
 public:
  int paints = 0;
  std::vector<HGDIOBJ> made;  // every object a paint created, to check each one is gone

 protected:
  void Paint(HDC hdc) {
    const RECT client = GetClientRect();
    CBufferedPaint buffer(hdc, client);
    if (!buffer) return;
    CBrush brush(::CreateSolidBrush(RGB(10, 20, 30)));
    ::FillRect(buffer.Get(), &client, brush.Get());
    CFont font(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg"));
    CSelectObject selectFont(buffer.Get(), font.Get());
    CPen pen(::CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
    CSelectObject selectPen(buffer.Get(), pen.Get());
    made.insert(made.end(), {buffer.Bitmap(), buffer.Get(), brush.Get(), font.Get(), pen.Get()});
    ::TextOutW(buffer.Get(), 2, 2, L"修复", 2);
    ::MoveToEx(buffer.Get(), 0, 0, nullptr);
    ::LineTo(buffer.Get(), 20, 20);
    buffer.Blit();
    ++paints;
  }
  void OnPaint() override {
    CPaintDC dc(m_hWnd);
    Paint(dc);
  }
  void OnPrintClient(HDC hdc, UINT) override { Paint(hdc); }
  BOOL OnEraseBkgnd(HDC) override { return TRUE; }
};

TEST(GdiOwners, CreatePaintDestroyLoopLeaksNoGdiObjects) {
  // Wine's GetGuiResources counts nothing; there each object made is checked one by one.
  const DWORD before = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  int paints = 0;
  for (int i = 0; i < 100; ++i) {
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"paint", WS_POPUP | WS_VISIBLE, RECT{0, 0, 120, 80}, nullptr, 0));
    wnd.UpdateWindow();
    {
      CClientDC screen(nullptr);
      CMemoryDC memory(screen);
      CBitmap bitmap(::CreateCompatibleBitmap(screen, 120, 80));
      CSelectObject select(memory, bitmap.Get());
      wnd.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.Get()), PRF_CLIENT);
      wnd.made.insert(wnd.made.end(), {memory.Get(), bitmap.Get()});
    }
    PumpFor(0);
    paints += wnd.paints;
    for (HGDIOBJ object : wnd.made) {
      ASSERT_FALSE(IsLiveGdiObject(object)) << "round " << i << ": object " << object << " still exists";
    }
    wnd.DestroyWindow();
  }
  EXPECT_GE(paints, 100);
  const DWORD after = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (before != 0) {
    EXPECT_LE(after, before + 2) << "GDI objects before " << before << ", after " << after;
  }
}

TEST(RichEdit, LibraryComesFromTheSystemFolder) {
  ASSERT_TRUE(CRichEditCtrl::InitRichEdit());
  HMODULE module = ::GetModuleHandleW(L"riched20.dll");
  ASSERT_NE(module, nullptr);
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(module, path, MAX_PATH);
  wchar_t system[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(_wcsnicmp(path, system, length), 0) << "loaded from " << std::wstring(path);
  EXPECT_TRUE(CRichEditCtrl::InitRichEdit()) << "a second call keeps the library";
}

}  // namespace
