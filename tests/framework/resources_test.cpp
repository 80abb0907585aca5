// The program's resources, linked into this test program from zsr_resources.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "framework/rich_edit_ctrl.h"
#include "res/resource.h"

namespace {

HINSTANCE Module() { return ::GetModuleHandleW(nullptr); }

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

struct TemplateCase {
  UINT id;
  DWORD style;  // exactly, as written in the template
  DWORD exStyle;
  short cx, cy;  // 0: any size
  std::vector<int> controls;
};

void PrintTo(const TemplateCase& c, std::ostream* os) { *os << "template " << c.id; }

constexpr DWORD kSkinStyle = 0x80080048;  // WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS
constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);  // 2052
constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class DialogTemplateTest : public ::testing::TestWithParam<TemplateCase> {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(CRichEditCtrl::InitRichEdit()); }
};

TEST_P(DialogTemplateTest, TemplateHasItsStyleFontAndControlsAndLoads) {
  const TemplateCase& c = GetParam();
  DialogTemplate t;
  const WORD language = c.id == IDD_ABOUTBOX ? kEnglishUs : kChinese;
  ASSERT_TRUE(LoadDialogTemplate(Module(), c.id, language, &t)) << "template " << c.id << " in language " << language;
  EXPECT_EQ(t.style, c.style) << std::hex << t.style;
  EXPECT_EQ(t.exStyle, c.exStyle) << std::hex << t.exStyle;
  EXPECT_EQ(t.x, 0);
  EXPECT_EQ(t.y, 0);
  if (c.cx) {
    EXPECT_EQ(t.cx, c.cx);
    EXPECT_EQ(t.cy, c.cy);
  }
  EXPECT_EQ(t.font, L"MS Shell Dlg");
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.caption, c.id == IDD_ABOUTBOX ? L"About ZorvexSfcRepair" : L"");
  ASSERT_EQ(t.items.size(), c.controls.size());
  for (int id : c.controls) {
    EXPECT_NE(t.Item(static_cast<DWORD>(id)), nullptr) << "control " << id;
  }

  HWND dlg = ::CreateDialogParamW(Module(), MAKEINTRESOURCEW(c.id), nullptr, PlainDialogProc, 0);
  ASSERT_NE(dlg, nullptr) << "template " << c.id << " error " << ::GetLastError();
  for (int id : c.controls) {
    EXPECT_NE(::GetDlgItem(dlg, id), nullptr) << "control " << id;
  }
  ::DestroyWindow(dlg);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, DialogTemplateTest,
    ::testing::Values(
        TemplateCase{IDD_ABOUTBOX, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS, 0, 170, 62,
                     {-1, -1, -1, IDOK}},
        TemplateCase{IDD_ZORVEXSFCREPAIR_DIALOG, WS_POPUP | WS_VISIBLE | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS,
                     WS_EX_APPWINDOW, 320, 200, {}},
        TemplateCase{IDD_OPERATIONS, kSkinStyle, 0, 310, 177, {1002, 1003, 1004, 1006, 1008, 1018}},
        TemplateCase{IDD_START_INNER, kSkinStyle, 0, 0, 0, {1010, 1012, 1015, 1018}},
        TemplateCase{IDD_START_OUTER, kSkinStyle, 0, 0, 0, {}},
        TemplateCase{IDD_AGREEMENT_OUTER, kSkinStyle, 0, 0, 0, {}},
        TemplateCase{IDD_AGREEMENT_INNER, kSkinStyle, 0, 0, 0, {1009}},
        TemplateCase{IDD_PROGRESS_INNER, kSkinStyle, 0, 0, 0, {1011}},
        TemplateCase{IDD_PROGRESS_OUTER, kSkinStyle, 0, 0, 0, {}},
        TemplateCase{IDD_PROMPT_OUTER, kSkinStyle, 0, 0, 0, {}},
        TemplateCase{IDD_PROMPT_INNER, kSkinStyle, 0, 0, 0, {1014, 1016, 1023, 1024}},
        TemplateCase{IDD_FEEDBACK_OUTER, kSkinStyle, 0, 0, 0, {}},
        TemplateCase{IDD_FEEDBACK_INNER, kSkinStyle, 0, 0, 0, {1017, 1018, 1019, 1022}}),
    [](const auto& param) { return "Template" + std::to_string(param.param.id); });

struct ControlCase {
  UINT dialog;
  DWORD id;
  const wchar_t* className;
  const wchar_t* text;
  DWORD style;  // 0: not checked
  RECT rect;    // x, y, cx, cy; all 0: not checked
};

TEST(ResourceControls, ControlsHaveTheirKindsTextsAndStyles) {
  const DWORD button = 0x50010000;  // WS_CHILD | WS_VISIBLE | WS_TABSTOP, BS_PUSHBUTTON
  const DWORD label = 0x50020000;   // WS_CHILD | WS_VISIBLE | WS_GROUP, SS_LEFT
  const ControlCase controls[] = {
      {IDD_OPERATIONS, 1002, L"Button", L"CLOSE", button, {287, 7, 16, 7}},
      {IDD_OPERATIONS, 1003, L"Button", L"MIN", button, {267, 7, 15, 8}},
      {IDD_OPERATIONS, 1004, L"Button", L"LOCAL", button, {126, 86, 42, 11}},
      {IDD_OPERATIONS, 1006, L"Static", L"软件版本", label, {7, 160, 61, 10}},
      {IDD_OPERATIONS, 1008, L"Static", L"反馈问题", label, {253, 160, 50, 10}},
      {IDD_OPERATIONS, 1018, L"Button", L"MORETOOLS", button, {113, 134, 78, 20}},
      {IDD_PROMPT_INNER, 1014, L"Button", L"关闭", button, {}},
      {IDD_PROMPT_INNER, 1016, L"Button", L"确定", button, {}},
      {IDD_PROMPT_INNER, 1023, L"Button", L"取消", button, {}},
      {IDD_PROMPT_INNER, 1024, L"Static", nullptr, 0, {}},
      {IDD_FEEDBACK_INNER, 1017, L"Button", L"关闭", button, {}},
      {IDD_FEEDBACK_INNER, 1019, L"Button", L"解决", button, {}},
      {IDD_FEEDBACK_INNER, 1022, L"Button", L"未解决", button, {}},
      {IDD_FEEDBACK_INNER, 1018, L"Button", L"Button1", button, {}},
      {IDD_START_INNER, 1010, L"Button", L"同意", 0x50010000 | BS_AUTOCHECKBOX, {}},
      {IDD_START_INNER, 1012, L"Static", L"《泽沃服务工具使用许可协议》", label, {}},
      {IDD_START_INNER, 1015, L"Button", L"关闭", button, {}},
      {IDD_START_INNER, 1018, L"Button", L"开始运行", button, {}},
      {IDD_PROGRESS_INNER, 1011, L"Static", nullptr, 0, {}},
      {IDD_AGREEMENT_INNER, 1009, L"RichEdit20W", nullptr, 0x50A12804, {7, 7, 368, 243}},
      {IDD_ABOUTBOX, IDOK, L"Button", L"OK", 0, {113, 41, 50, 14}},
  };
  for (const ControlCase& c : controls) {
    DialogTemplate t;
    const WORD language = c.dialog == IDD_ABOUTBOX ? kEnglishUs : kChinese;
    ASSERT_TRUE(LoadDialogTemplate(Module(), c.dialog, language, &t)) << c.dialog;
    const DialogTemplateItem* item = t.Item(c.id);
    ASSERT_NE(item, nullptr) << c.dialog << "/" << c.id;
    EXPECT_EQ(_wcsicmp(item->className.c_str(), c.className), 0) << c.dialog << "/" << c.id;
    if (c.text) {
      EXPECT_EQ(item->text, c.text) << c.dialog << "/" << c.id;
    }
    if (c.style) {
      EXPECT_EQ(item->style, c.style) << c.dialog << "/" << c.id << std::hex << " style " << item->style;
    }
    if (c.rect.right) {
      EXPECT_EQ(item->x, c.rect.left) << c.id;
      EXPECT_EQ(item->y, c.rect.top) << c.id;
      EXPECT_EQ(item->cx, c.rect.right) << c.id;
      EXPECT_EQ(item->cy, c.rect.bottom) << c.id;
    }
  }
}

TEST(ResourceControls, AboutBoxShowsTheProgramIconAndItsVersionText) {
  DialogTemplate t;
  ASSERT_TRUE(LoadDialogTemplate(Module(), IDD_ABOUTBOX, kEnglishUs, &t));
  ASSERT_EQ(t.items.size(), 4u);
  EXPECT_EQ(t.items[0].text, L"#128");
  EXPECT_EQ(t.items[0].x, 14);
  EXPECT_EQ(t.items[0].y, 14);
  EXPECT_EQ(t.items[1].text, L"ZorvexSfcRepair, Version 1.0");
  EXPECT_TRUE(t.items[1].style & SS_NOPREFIX);
  EXPECT_EQ(t.items[1].x, 42);
  EXPECT_EQ(t.items[2].y, 26);
  EXPECT_TRUE(t.items[3].style & BS_DEFPUSHBUTTON);
}

TEST(ResourceData, AboutStringAndIcon) {
  wchar_t text[64] = {};
  EXPECT_GT(::LoadStringW(Module(), IDS_ABOUTBOX, text, 64), 0);
  EXPECT_STREQ(text, L"&About ZorvexSfcRepair...");
  HICON icon = static_cast<HICON>(::LoadImageW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(icon, nullptr);
  ::DestroyIcon(icon);
  EXPECT_NE(::LoadIconW(Module(), MAKEINTRESOURCEW(IDR_MAINFRAME)), nullptr);
}

TEST(ResourceData, EveryPictureIsAPngUnderItsId) {
  std::vector<int> ids;
  for (int id = 131; id <= 189; ++id) ids.push_back(id);
  for (int id = 201; id <= 211; ++id) ids.push_back(id);
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (int id : ids) {
    HRSRC found = ::FindResourceW(Module(), MAKEINTRESOURCEW(id), L"PNG");
    ASSERT_NE(found, nullptr) << id;
    const DWORD size = ::SizeofResource(Module(), found);
    const void* bytes = ::LockResource(::LoadResource(Module(), found));
    ASSERT_GT(size, 8u) << id;
    EXPECT_EQ(memcmp(bytes, kSignature, 8), 0) << id;
    EXPECT_NE(::FindResourceExW(Module(), L"PNG", MAKEINTRESOURCEW(id), MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)),
              nullptr)
        << id << " must be in language 2052";
  }
  EXPECT_EQ(::FindResourceW(Module(), MAKEINTRESOURCEW(190), L"PNG"), nullptr);
}

TEST(ResourceData, ScrollBarSkinIsAnEightBitBitmap) {
  auto bitmap = static_cast<HBITMAP>(
      ::LoadImageW(Module(), MAKEINTRESOURCEW(IDB_SCROLLBAR_SKIN), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(bitmap, nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(::GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 117);
  EXPECT_EQ(dib.dsBm.bmHeight, 39);
  EXPECT_EQ(dib.dsBmih.biBitCount, 8);
  ::DeleteObject(bitmap);
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* name) {
  std::wstring path = L"\\StringFileInfo\\080404b0\\";
  path += name;
  void* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(block.data(), path.c_str(), &value, &length) || !value) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST(ResourceData, VersionRecordReadsOnePointZeroPointFour) {
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(path, 0, size, block.data()));
  EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.0.4");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.0.4");
  EXPECT_EQ(VersionString(block, L"CompanyName").find(L"泽沃"), 0u);
  EXPECT_NE(VersionString(block, L"ProductName"), L"<missing>");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 4));
}

TEST(ResourceData, ManifestAsksForAdministratorDpiAwarenessAndCommonControls6) {
  HRSRC found = ::FindResourceW(Module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const DWORD size = ::SizeofResource(Module(), found);
  const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(Module(), found)));
  const std::string manifest(bytes, size);
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware"), std::string::npos);
  EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

TEST(ResourceData, ManifestTakesEffect) {
  // Common controls 6 come from the side-by-side store, not from the system folder copy.
  HMODULE comctl = ::LoadLibraryW(L"comctl32.dll");
  ASSERT_NE(comctl, nullptr);
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(comctl, path, MAX_PATH);
  std::wstring lower(path);
  for (auto& ch : lower) ch = static_cast<wchar_t>(towlower(ch));
  EXPECT_NE(lower.find(L"winsxs"), std::wstring::npos) << "loaded from " << lower;
  EXPECT_TRUE(::IsProcessDPIAware());
  // requireAdministrator: this program only starts elevated (Wine starts every program so).
  HANDLE token = nullptr;
  ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token));
  TOKEN_ELEVATION elevation{};
  DWORD length = 0;
  EXPECT_TRUE(::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &length));
  ::CloseHandle(token);
  EXPECT_NE(elevation.TokenIsElevated, 0u);
}

}  // namespace
