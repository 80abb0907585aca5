// Plays a stand-in's scenario: writes, waits, burns processor time, ends.
#pragma once

#include <string>
#include <vector>

#include "scenario_step.h"
#include "std_output.h"
#include "tool_context.h"

class CScenarioPlayer {
public:
  // Exit code when a scenario names a fixture that cannot be read.
  static constexpr int kScenarioError = 99;

  CScenarioPlayer(const CToolContext& context, CStdOutput& output);
  // Returns the exit code: the one of an "exit" step, 0 at the end of the steps.
  int Play(const std::vector<ScenarioStep>& steps);
  // The message of the last failure, for standard error.
  const std::string& Error() const { return m_strError; }

private:
  bool Applies(const ScenarioStep& step) const;
  bool WriteFixture(const ScenarioStep& step);
  void PlayGenerator(const ScenarioStep& step);
  static void Busy(int share, long long milliseconds);
  static void Hang();

  const CToolContext& m_Context;
  CStdOutput& m_Output;
  std::string m_strError;
};
