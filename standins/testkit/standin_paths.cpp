#include "standin_paths.h"

#include <windows.h>

std::wstring CStandinPaths::Folder() {
  wchar_t path[MAX_PATH * 4];
  DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring exe(path, length);
  return exe.substr(0, exe.find_last_of(L'\\')) + L"\\standins";
}

std::wstring CStandinPaths::UpperFolder() { return Folder() + L"\\upper"; }
