#include "env_path.h"

#include <windows.h>

#include <string>

#include "text_encoder.h"

std::wstring CEnvPath::Read(const wchar_t* name) {
  wchar_t buffer[32768];
  DWORD length = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
  if (length == 0 || length >= std::size(buffer)) return {};
  return ToWindowsPath(std::wstring(buffer, length));
}

std::wstring CEnvPath::ToWindowsPath(const std::wstring& value) {
  if (value.empty() || value[0] != L'/') return value;
  // Wine's own translation knows the drive mapping; it exists only under Wine.
  using DosNameFn = WCHAR*(CDECL*)(LPCSTR);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto toDos = reinterpret_cast<DosNameFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
  if (toDos) {
    std::string unixPath = CTextEncoder::Narrow(value);
    if (WCHAR* dos = toDos(unixPath.c_str())) {
      std::wstring result(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring result = L"Z:" + value;
  for (wchar_t& c : result)
    if (c == L'/') c = L'\\';
  return result;
}
