// A temporary scenario folder for one test. While it lives, ZSR_SCENARIO_DIR of this process
// (and so of every child started afterwards) names it; the previous value comes back after.
#pragma once

#include <optional>
#include <string>

class CScenarioFolder {
public:
  CScenarioFolder();
  ~CScenarioFolder();
  CScenarioFolder(const CScenarioFolder&) = delete;
  CScenarioFolder& operator=(const CScenarioFolder&) = delete;

  // Writes <tool>.txt (tool in lower case: "sfc", "dism", "ping", "tiworker", ...).
  bool Set(const std::wstring& tool, const std::string& scenarioUtf8) const;
  // What the stand-ins recorded: one "<tool>\t<arguments>" line (UTF-8) per start.
  std::string Calls() const;
  const std::wstring& Path() const { return m_strPath; }

private:
  std::wstring m_strPath;
  std::optional<std::wstring> m_strPreviousValue;
};
