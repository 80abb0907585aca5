// Who the running stand-in is and where its scenario and sample outputs are.
#pragma once

#include <optional>
#include <string>

class CToolContext {
public:
  // Reads the own file name, command line and the ZSR_SCENARIO_DIR / ZSR_FIXTURE_DIR variables.
  static CToolContext FromProcess();
  CToolContext(std::wstring exePath, std::wstring commandLine, std::wstring scenarioDir,
               std::wstring fixtureDir);

  const std::wstring& Name() const { return m_strName; }          // "sfc", "dism", ...
  const std::wstring& Arguments() const { return m_strArguments; }
  const std::wstring& ScenarioDir() const { return m_strScenarioDir; }
  std::wstring ScenarioFile() const;  // empty without a scenario folder
  // The scenario played when there is no scenario file.
  std::string DefaultScenario() const;
  // Fixture folder, scenario folder, then the copies the build puts next to the tools.
  std::wstring FindFixture(const std::string& name) const;
  bool ArgumentsContain(const std::string& word) const;  // ignoring letter case
  // The number after the switch, else the first argument that is a number ("timeout 3").
  std::optional<long long> NumberAfterSwitch(const std::string& option) const;
  // Appends "<name>\t<arguments>" to calls.txt of the scenario folder, so tests see who ran.
  void RecordCall() const;
  // Appends "<name>\t<now>" to times.txt of the scenario folder: the performance counter,
  // which every process of the system reads alike, for latency measurements.
  void RecordTime() const;

private:
  void AppendToScenarioFile(const wchar_t* fileName, const std::wstring& line) const;
  static std::wstring ArgumentsOf(const std::wstring& commandLine);
  std::wstring m_strExeDir;
  std::wstring m_strName;
  std::wstring m_strArguments;
  std::wstring m_strScenarioDir;
  std::wstring m_strFixtureDir;
};
