// Which folders the program removes after it ends, and the exact command it hands the
// interpreter.
#include <gtest/gtest.h>

#include "app/tool_folder.h"

using namespace zsr::tool_folder;

namespace {

const std::vector<FolderEntry> kShipped{{L"."}, {L".."}, {L"MendoraZorvexSfcRepair.exe"}, {L"ZorvexSfcRepair.dll"},
                                        {L"ZorvexFeedbackInformation.dll"}, {L"使用说明.txt"}};

std::vector<FolderEntry> ShippedPlus(std::vector<FolderEntry> extra) {
  std::vector<FolderEntry> entries = kShipped;
  entries.insert(entries.end(), extra.begin(), extra.end());
  return entries;
}

}  // namespace

TEST(ToolFolderDecision, RemovesOnlyAFolderHoldingNothingButTheToolsFiles) {
  struct Case {
    const char* what;
    std::vector<FolderEntry> entries;
    bool removed;
  };
  const Case cases[] = {
      {"the release package", kShipped, true},
      {"the program alone", {{L"MendoraZorvexSfcRepair.exe"}}, true},
      {"names in another letter case", {{L"mendorazorvexsfcrepair.EXE"}, {L"ZORVEXSFCREPAIR.DLL"}}, true},
      {"one user document beside it", ShippedPlus({{L"报告.docx"}}), false},
      {"a subfolder", ShippedPlus({{L"backup", true}}), false},
      {"an empty subfolder named like a shipped file", ShippedPlus({{L"ZorvexSfcRepair.dll.bak", true}}), false},
      {"a hidden desktop.ini", ShippedPlus({{L"desktop.ini"}}), false},
      {"a Downloads folder", {{L"MendoraZorvexSfcRepair.exe"}, {L"setup.exe"}, {L"photo.jpg"}}, false},
      {"a second copy the browser renamed", ShippedPlus({{L"MendoraZorvexSfcRepair (1).exe"}}), false},
      {"the program is missing from the listing", {{L"ZorvexSfcRepair.dll"}}, false},
      {"an empty listing", {}, false},
      {"a read-me of another name", ShippedPlus({{L"readme.txt"}}), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlanRemoval(L"C:\\Tools\\Repair Kit\\MendoraZorvexSfcRepair.exe", c.entries).has_value(), c.removed)
        << c.what;
  }
}

TEST(ToolFolderDecision, ARenamedProgramRemovesNothing) {
  EXPECT_FALSE(PlanRemoval(L"C:\\Tools\\Kit\\repair.exe", {{L"repair.exe"}, {L"ZorvexSfcRepair.dll"}}));
}

TEST(ToolFolderDecision, FoldersThatAreNeverRemoved) {
  struct Case {
    const wchar_t* program;
    const wchar_t* folder;  // empty: refused
  };
  const Case cases[] = {
      {L"C:\\Tools\\Repair Kit\\MendoraZorvexSfcRepair.exe", L"C:\\Tools\\Repair Kit"},
      {L"D:\\MendoraZorvexSfcRepair.exe", L""},              // a drive's root
      {L"d:\\x.exe", L""},
      {L"MendoraZorvexSfcRepair.exe", L""},                  // no folder at all
      {L"Tools\\MendoraZorvexSfcRepair.exe", L""},           // relative
      {L"\\Tools\\MendoraZorvexSfcRepair.exe", L""},         // rooted on the current drive
      {L"\\\\server\\share\\MendoraZorvexSfcRepair.exe", L""},  // a share's root
      {L"\\\\server\\share\\kit\\MendoraZorvexSfcRepair.exe", L"\\\\server\\share\\kit"},
      {L"\\\\?\\C:\\Tools\\MendoraZorvexSfcRepair.exe", L""},  // device and long-path forms
      {L"\\\\.\\C:\\Tools\\MendoraZorvexSfcRepair.exe", L""},
      {L"C:\\Tools\\..\\MendoraZorvexSfcRepair.exe", L""},
      {L"C:\\Tools\\.\\MendoraZorvexSfcRepair.exe", L""},
      {L"C:\\Tools\\\\MendoraZorvexSfcRepair.exe", L""},
      {L"C:MendoraZorvexSfcRepair.exe", L""},
  };
  for (const Case& c : cases) EXPECT_EQ(FolderOfProgram(c.program), c.folder) << testing::PrintToString(std::wstring(c.program));
  EXPECT_FALSE(PlanRemoval(L"D:\\MendoraZorvexSfcRepair.exe", kShipped));
}

TEST(ToolFolderCommand, QuotesTheFolderSoThatExactlyItIsMeant) {
  struct Case {
    const wchar_t* folder;
    const wchar_t* parameters;  // null: refused
  };
  const Case cases[] = {
      {L"C:\\Tools\\Repair Kit", L"/C timeout /t 3 /nobreak & rmdir /s /q \"C:\\Tools\\Repair Kit\""},
      {L"C:\\A & B ^ (x86) 工具", L"/C timeout /t 3 /nobreak & rmdir /s /q \"C:\\A & B ^ (x86) 工具\""},
      {L"C:\\Kit;v2,final=1", L"/C timeout /t 3 /nobreak & rmdir /s /q \"C:\\Kit;v2,final=1\""},
      {L"C:\\100% Kit", L"/C timeout /t 3 /nobreak & rmdir /s /q \"C:\\100% Kit\""},
      // Two '%' may enclose a variable that is expanded inside the quotes too.
      {L"C:\\%PATH%", nullptr},
      {L"C:\\100% \\x%", nullptr},
      {L"C:\\Kit!v2!", nullptr},
      {L"C:\\Kit\"x", nullptr},
      {L"C:\\Kit\nC:\\Windows", nullptr},
      {L"C:", nullptr},
      {L"C:\\", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::wstring> parameters = RemovalParametersFor(c.folder);
    if (!c.parameters) {
      EXPECT_FALSE(parameters) << testing::PrintToString(std::wstring(c.folder));
      continue;
    }
    ASSERT_TRUE(parameters) << testing::PrintToString(std::wstring(c.folder));
    EXPECT_EQ(*parameters, c.parameters);
  }
}
