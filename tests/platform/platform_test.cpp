// The test ground itself: the Wine session must look like a Chinese Windows.
#include <windows.h>

#include <gtest/gtest.h>

TEST(TestGround, CodePagesAreChinese) {
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_EQ(GetOEMCP(), 936u);
}

TEST(TestGround, DialogFontHasChineseGlyphs) {
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Shell Dlg");
  HGDIOBJ old = SelectObject(screen, font);
  WORD glyphs[2] = {};
  // 修复: both must map to real glyphs (0xFFFF marks a missing one).
  DWORD mapped = GetGlyphIndicesW(screen, L"\u4FEE\u590D", 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  SIZE extent{};
  GetTextExtentPoint32W(screen, L"\u4FEE\u590D", 2, &extent);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(mapped, 2u);
  EXPECT_GT(extent.cx, 12) << "two Chinese characters should be wider than 6 px each";
}
