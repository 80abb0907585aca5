// A stand-in for one of the system's tools (sfc, Dism, ping, TiWorker, TrustedInstaller,
// timeout): which one it is follows from its own file name. It plays
// %ZSR_SCENARIO_DIR%\<name>.txt, or the tool's usual answer when there is none.
#include <windows.h>

#include <string>

#include "scenario_parser.h"
#include "scenario_player.h"
#include "std_output.h"
#include "tool_context.h"
#include "standin_handle.h"

namespace {

bool ReadWholeFile(const std::wstring& path, std::string& text) {
  CStandinHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  return true;
}

int Fail(const std::string& message) {
  std::string line = "standin: " + message + "\r\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
            nullptr);
  return CScenarioPlayer::kScenarioError;
}

}  // namespace

int main() {
  CToolContext context = CToolContext::FromProcess();
  context.RecordCall();

  std::string scenario;
  std::wstring file = context.ScenarioFile();
  if (file.empty() || !ReadWholeFile(file, scenario)) scenario = context.DefaultScenario();

  ScenarioParseResult parsed = CScenarioParser::Parse(scenario);
  if (!parsed.ok) return Fail(parsed.error);

  CStdOutput output;
  CScenarioPlayer player(context, output);
  int exitCode = player.Play(parsed.steps);
  if (!player.Error().empty()) return Fail(player.Error());
  return exitCode;
}
