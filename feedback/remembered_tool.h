// The tool id last asked about, so that OpenToolDownUrl, which takes no arguments, knows
// whose download page to open. Calls may come from several threads.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

class CRememberedTool {
 public:
  void Remember(const wchar_t* toolId) {
    std::lock_guard<std::mutex> guard(m_mutex);
    m_strToolId = toolId != nullptr ? toolId : L"";
  }
  std::wstring Get() const {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_strToolId;
  }
  void Forget() { Remember(nullptr); }

 private:
  mutable std::mutex m_mutex;
  std::wstring m_strToolId;
};
