#include "standin_path_scope.h"

#include <windows.h>

#include "standin_paths.h"

CStandinPathScope::CStandinPathScope() {
  wchar_t buffer[32768];
  DWORD length = GetEnvironmentVariableW(L"PATH", buffer, static_cast<DWORD>(std::size(buffer)));
  m_bHadPath = length > 0 && length < std::size(buffer);
  if (m_bHadPath) m_strPreviousPath.assign(buffer, length);
  std::wstring path = CStandinPaths::Folder() + (m_bHadPath ? L";" + m_strPreviousPath : L"");
  SetEnvironmentVariableW(L"PATH", path.c_str());
}

CStandinPathScope::~CStandinPathScope() {
  SetEnvironmentVariableW(L"PATH", m_bHadPath ? m_strPreviousPath.c_str() : nullptr);
}
