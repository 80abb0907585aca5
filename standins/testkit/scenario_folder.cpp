#include "scenario_folder.h"

#include <windows.h>

#include <atomic>

#include "standin_handle.h"

namespace {

std::optional<std::wstring> ReadVariable(const wchar_t* name) {
  wchar_t buffer[32768];
  SetLastError(0);
  DWORD length = GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
  if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
  return std::wstring(buffer, length);
}

void RemoveFolder(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") DeleteFileW((path + L"\\" + name).c_str());
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

CScenarioFolder::CScenarioFolder() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  m_strPath = std::wstring(temp) + L"zsr-scenario-" + std::to_wstring(GetCurrentProcessId()) +
              L"-" + std::to_wstring(++counter);
  CreateDirectoryW(m_strPath.c_str(), nullptr);
  m_strPreviousValue = ReadVariable(L"ZSR_SCENARIO_DIR");
  SetEnvironmentVariableW(L"ZSR_SCENARIO_DIR", m_strPath.c_str());
}

CScenarioFolder::~CScenarioFolder() {
  SetEnvironmentVariableW(L"ZSR_SCENARIO_DIR",
                          m_strPreviousValue ? m_strPreviousValue->c_str() : nullptr);
  RemoveFolder(m_strPath);
}

bool CScenarioFolder::Set(const std::wstring& tool, const std::string& scenarioUtf8) const {
  CStandinHandle file(CreateFileW((m_strPath + L"\\" + tool + L".txt").c_str(), GENERIC_WRITE, 0,
                                 nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), scenarioUtf8.data(), static_cast<DWORD>(scenarioUtf8.size()),
                           &written, nullptr) &&
         written == scenarioUtf8.size();
}

std::string CScenarioFolder::Calls() const {
  CStandinHandle file(CreateFileW((m_strPath + L"\\calls.txt").c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (file && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  return text;
}
