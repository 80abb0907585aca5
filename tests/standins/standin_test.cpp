#include <windows.h>
#include <gtest/gtest.h>
#include "cmd_pipe_run.h"
#include "scenario_folder.h"
#include "standin_paths.h"
TEST(Standins, Smoke) {
  CScenarioFolder folder;
  CmdPipeOptions options;
  options.currentDir = CStandinPaths::Folder();
  CmdPipeResult run = CCmdPipeRun::Run(L"sfc /scannow", options);
  EXPECT_TRUE(run.started);
  EXPECT_EQ(run.Bytes().size(), 4936u);
}
