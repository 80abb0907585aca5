#include "framework/rich_edit_ctrl.h"

#include <mutex>
#include <string>

namespace {

HMODULE LoadFromSystemFolder(const wchar_t* fileName) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  path += fileName;
  // A full path: the loader searches nothing, so neither the program's folder nor the
  // current directory can supply it.
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

bool CRichEditCtrl::InitRichEdit() {
  static std::once_flag once;
  static HMODULE module = nullptr;
  std::call_once(once, [] { module = LoadFromSystemFolder(L"riched20.dll"); });
  return module != nullptr;
}

BOOL CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT id) {
  if (!InitRichEdit()) return FALSE;
  return CreateEx(0, kClassName, nullptr, style, rect, pParent ? pParent->m_hWnd : nullptr, id);
}
