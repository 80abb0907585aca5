// The stand-in tools, driven as the engine drives the real ones: through "cmd /C" with
// output and errors in one anonymous pipe.
#include <windows.h>
#include <shellapi.h>
#include <winternl.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "cmd_pipe_run.h"
#include "env_path.h"
#include "progress_records.h"
#include "scenario_folder.h"
#include "scenario_parser.h"
#include "standin_path_scope.h"
#include "standin_paths.h"
#include "text_encoder.h"
#include "standin_handle.h"

namespace {

std::string ReadWholeFile(const std::wstring& path) {
  CStandinHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (file && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  return text;
}

// The samples in the source tree, not the copies the tools read.
std::string Fixture(const std::string& name) {
  std::wstring path = CEnvPath::ToWindowsPath(CTextEncoder::Widen(ZSR_FIXTURE_SOURCE_DIR "/" + name));
  std::string bytes = ReadWholeFile(path);
  EXPECT_FALSE(bytes.empty()) << name;
  return bytes;
}

std::string Gbk(const char* utf8) { return CTextEncoder::Encode(utf8, TextEncoding::Gbk); }

CmdPipeOptions InStandinFolder() {
  CmdPipeOptions options;
  options.currentDir = CStandinPaths::Folder();
  return options;
}

struct OutputCase {
  const char* name;
  const wchar_t* tool;      // scenario file to write; null: the tool's default
  const char* scenario;
  const wchar_t* command;
  std::string expected;
  DWORD exitCode;
};

void PrintTo(const OutputCase& c, std::ostream* out) { *out << c.name; }

class StandinOutput : public testing::TestWithParam<OutputCase> {};

TEST_P(StandinOutput, ArrivesByteExactWithItsExitCode) {
  const OutputCase& c = GetParam();
  CScenarioFolder folder;
  if (c.tool) {
    ASSERT_TRUE(folder.Set(c.tool, c.scenario));
  }
  CmdPipeResult run = CCmdPipeRun::Run(c.command, InStandinFolder());
  ASSERT_TRUE(run.started);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.Bytes(), c.expected);
  EXPECT_EQ(run.exitCode, c.exitCode);
}

// Rebuilds the sample outputs from the generators, so their records are the real shapes.
const char* const kDismSuccessFromRecords =
    "write dism-zh-success.bin 0 79\n"
    "dism-progress 0.1 0.1\ndism-progress 1.1 1.1\ndism-progress 2.1 2.1\n"
    "dism-progress 3.8 3.8\ndism-progress 10.1 10.1\ndism-progress 24.1 24.1\n"
    "dism-progress 40.8 40.8\ndism-progress 62.3 62.3\ndism-progress 62.3 62.3\n"
    "dism-progress 73.3 73.3\n"
    "dism-bar 100\n"
    "text \" 还原操作已成功完成。\\r\\n操作成功完成。\\r\\n\" gbk\n";
const char* const kSfcFromRecords =
    "write sfc-zh-no-violations.bin 0 84\n"
    "sfc-progress 0 0 once\n"
    "sfc-progress 1 100   # each percent twice\n"
    "write sfc-zh-no-violations.bin 4874\n";
const char* const kPingByHost =
    "if-arg nosuch.invalid write ping-zh-unknown-host.bin\n"
    "if-arg nosuch.invalid exit 1\n"
    "write ping-zh-reply.bin\n";

INSTANTIATE_TEST_SUITE_P(
    Scenarios, StandinOutput,
    testing::Values(
        OutputCase{"SfcDefault", nullptr, "", L"sfc /scannow", Fixture("sfc-zh-no-violations.bin"), 0},
        OutputCase{"DismDefault", nullptr, "", L"DISM /Online /Cleanup-image /RestoreHealth",
                   Fixture("dism-zh-success.bin"), 0},
        OutputCase{"PingDefault", nullptr, "", L"ping www.baidu.com", Fixture("ping-zh-reply.bin"), 0},
        OutputCase{"FixtureAndExitCode", L"sfc", "write sfc-zh-repaired.bin\nexit 2\nwrite sfc-zh-no-service.bin",
                   L"sfc /scannow", Fixture("sfc-zh-repaired.bin"), 2},
        OutputCase{"RangeThenText", L"dism",
                   "write dism-zh-success.bin 0 79\ntext \"错误: 0x800f081f\\r\\n\" gbk\nexit 50",
                   L"DISM /Online", Fixture("dism-zh-success.bin").substr(0, 79) + Gbk("错误: 0x800f081f\r\n"), 50},
        OutputCase{"Encodings", L"sfc",
                   "text \"资源\\r\" utf16le\ntext \"a\\u00e9\\\"\" ascii\nbytes 0d0a ff 00\ntext \"é\" utf8",
                   L"sfc", std::string("\x44\x8d\x90\x6e\r\0", 6) + "a?\"\r\n\xff" + std::string(1, '\0') + "\xc3\xa9", 0},
        OutputCase{"DismBarRecords", L"dism", kDismSuccessFromRecords, L"Dism", Fixture("dism-zh-success.bin"), 0},
        OutputCase{"SfcPercentRecords", L"sfc", kSfcFromRecords, L"sfc /scannow",
                   Fixture("sfc-zh-no-violations.bin"), 0},
        OutputCase{"DismRedrawStyle", L"dism", "dism-progress 50 100 step 25 cr", L"dism",
                   "\r[===========================50.0%                          ]"
                   "\r[===========================75.0%===========               ]"
                   "\r[==========================100.0%==========================]", 0},
        OutputCase{"PingUnknownHost", L"ping", kPingByHost, L"ping nosuch.invalid",
                   Fixture("ping-zh-unknown-host.bin"), 1},
        OutputCase{"PingKnownHost", L"ping", kPingByHost, L"ping www.baidu.com", Fixture("ping-zh-reply.bin"), 0},
        OutputCase{"EchoesItsArguments", L"dism", "unless-arg /Online exit 7\necho-args ascii",
                   L"DISM /Online /Cleanup-image /RestoreHealth", "/Online /Cleanup-image /RestoreHealth", 0},
        OutputCase{"UnknownStepIsReported", L"sfc", "pause 1\nfrobnicate 3", L"sfc",
                   "standin: line 2: unknown step 'frobnicate'\r\n", 99},
        OutputCase{"MissingFixtureIsReported", L"sfc", "# nothing yet\nwrite no-such.bin", L"sfc",
                   "standin: line 2: no fixture 'no-such.bin'\r\n", 99}),
    [](const testing::TestParamInfo<OutputCase>& param) { return std::string(param.param.name); });

TEST(StandinScenario, BadLinesNameTheirLine) {
  struct Bad {
    const char* text;
    const char* error;
  } cases[] = {
      {"write", "line 1: 'write' takes 1 to 3 arguments"},
      {"\nbusy 0 100", "line 2: 'busy' takes a share of 1 to 100 and a time of 0 ms or more"},
      {"text unquoted", "line 1: text must be in double quotes"},
      {"text \"open", "line 1: text without closing quote"},
      {"text \"x\" latin1", "line 1: unknown encoding 'latin1'"},
      {"pause soon", "line 1: 'soon' is not a whole number"},
      {"dism-progress 60 50", "line 1: 'dism-progress' needs 0 <= first <= last <= 100"},
      {"sfc-progress 0 100 cr", "line 1: unknown option 'cr' of 'sfc-progress'"},
      {"bytes 0g", "line 1: '0g' is not hex"},
      {"if-arg /x", "line 1: 'if-arg' needs a word and a step"},
  };
  for (const Bad& bad : cases) {
    ScenarioParseResult result = CScenarioParser::Parse(bad.text);
    EXPECT_FALSE(result.ok) << bad.text;
    EXPECT_EQ(result.error, bad.error) << bad.text;
  }
  ScenarioParseResult good = CScenarioParser::Parse("\xEF\xBB\xBF# comment\r\n\r\n  hang  # forever\r\n");
  ASSERT_TRUE(good.ok) << good.error;
  ASSERT_EQ(good.steps.size(), 1u);
  EXPECT_EQ(good.steps[0].kind, StepKind::Hang);
}

TEST(StandinScenario, DismBarCellsFollowTheFigure) {
  EXPECT_EQ(CProgressRecords::DismBar(0), "[                           0.0%                           ]");
  // floor(58 * 99.9 / 100) = 57 cells; the figure covers cells 27 to 31.
  EXPECT_EQ(CProgressRecords::DismBar(99.9), "[===========================99.9%========================= ]");
  EXPECT_EQ(CProgressRecords::TenthsFromTo(0, 25, 10), (std::vector<long long>{0, 100, 200, 250}));
}

TEST(StandinPipe, PiecesArriveAsSeparateReads) {
  CScenarioFolder folder;
  // Flushed pieces wait for the reader, so they arrive one per read even without pauses.
  ASSERT_TRUE(folder.Set(L"ping", "pieces 100\nwrite ping-zh-reply.bin\n"));
  CmdPipeResult run = CCmdPipeRun::Run(L"ping www.baidu.com", InStandinFolder());
  EXPECT_EQ(run.Bytes(), Fixture("ping-zh-reply.bin"));
  std::vector<size_t> sizes;
  for (const CmdPipeChunk& chunk : run.chunks) sizes.push_back(chunk.bytes.size());
  EXPECT_EQ(sizes, (std::vector<size_t>{100, 100, 100, 100, 42}));

  ASSERT_TRUE(folder.Set(L"sfc", "flush off\ntext \"a\" ascii\npause 600\ntext \"b\" ascii\npause 600\nexit 4"));
  run = CCmdPipeRun::Run(L"sfc /scannow", InStandinFolder());
  ASSERT_EQ(run.chunks.size(), 2u);
  EXPECT_EQ(run.chunks[0].bytes, "a");
  EXPECT_EQ(run.chunks[1].bytes, "b");
  EXPECT_GE(run.chunks[1].atMs - run.chunks[0].atMs, 500);
  EXPECT_GE(run.elapsedMs, 1100);
  EXPECT_EQ(run.exitCode, 4u);
}

// The noted moment is the performance counter of the whole system, taken between the tool's
// start and the write that follows.
TEST(StandinPipe, NoteTimeRecordsTheMomentOfTheNextWrite) {
  CScenarioFolder folder;
  ASSERT_TRUE(folder.Set(L"sfc", "pause 300\nnote-time\ntext \"x\" ascii\nnote-time\n"));
  LARGE_INTEGER frequency, before, after;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&before);
  CmdPipeResult run = CCmdPipeRun::Run(L"sfc /scannow", InStandinFolder());
  QueryPerformanceCounter(&after);
  EXPECT_EQ(run.Bytes(), "x");
  std::ifstream file(std::filesystem::path(folder.Path()) / L"times.txt", std::ios::binary);
  std::string tool, ticks;
  std::vector<long long> noted;
  while (std::getline(file, tool, '\t') && std::getline(file, ticks)) {
    EXPECT_EQ(tool, "sfc");
    noted.push_back(std::stoll(ticks));
  }
  ASSERT_EQ(noted.size(), 2u);
  EXPECT_GE(noted[0] - before.QuadPart, 300 * frequency.QuadPart / 1000) << "after the pause";
  EXPECT_LE(noted[0], noted[1]);
  EXPECT_LE(noted[1], after.QuadPart);
}

// A tool that writes its answer whole ends without waiting for the reader, as a real one
// does; "flush on" makes it wait until the reader has taken the bytes.
TEST(StandinPipe, OnlyFlushedWritesWaitForTheReader) {
  struct Case {
    const char* scenario;
    bool endsUnread;
  } cases[] = {{"write ping-zh-reply.bin", true}, {"flush on\nwrite ping-zh-reply.bin", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    CScenarioFolder folder;
    ASSERT_TRUE(folder.Set(L"ping", c.scenario));
    SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &security, 0));
    CStandinHandle reader(readEnd), writer(writeEnd);
    SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.Get();
    startup.hStdError = writer.Get();
    std::wstring exe = CStandinPaths::Tool(L"ping.exe");
    std::wstring line = L"\"" + exe + L"\" www.baidu.com";
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &info));
    CStandinHandle process(info.hProcess), thread(info.hThread);
    writer.Reset();
    EXPECT_EQ(WaitForSingleObject(process.Get(), 1500) == WAIT_OBJECT_0, c.endsUnread);
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    EXPECT_EQ(WaitForSingleObject(process.Get(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(bytes, Fixture("ping-zh-reply.bin"));
  }
}

TEST(StandinPipe, HangKeepsThePipeOpenUntilKilled) {
  CScenarioFolder folder;
  ASSERT_TRUE(folder.Set(L"ping", "text \"x\" ascii\nhang\n"));
  CmdPipeOptions options = InStandinFolder();
  options.timeoutMs = 1500;
  CmdPipeResult run = CCmdPipeRun::Run(L"ping www.baidu.com", options);
  EXPECT_TRUE(run.timedOut);
  EXPECT_EQ(run.Bytes(), "x");
  EXPECT_GE(run.elapsedMs, 1400);
}

// The interpreter must find our tools before Wine's own dism.exe and ping.exe, whether
// through the current folder or through PATH.
TEST(StandinPipe, InterpreterFindsTheStandinsFirst) {
  struct Lookup {
    const wchar_t* command;
    const char* fixture;
    const char* call;
    bool throughPath;
  } cases[] = {
      {L"ping www.baidu.com", "ping-zh-reply.bin", "ping\twww.baidu.com\r\n", false},
      {L"ping www.baidu.com", "ping-zh-reply.bin", "ping\twww.baidu.com\r\n", true},
      {L"DISM /Online /Cleanup-image /RestoreHealth", "dism-zh-success.bin",
       "dism\t/Online /Cleanup-image /RestoreHealth\r\n", false},
      {L"DISM /Online /Cleanup-image /RestoreHealth", "dism-zh-success.bin",
       "dism\t/Online /Cleanup-image /RestoreHealth\r\n", true},
      {L"sfc /scannow", "sfc-zh-no-violations.bin", "sfc\t/scannow\r\n", true},
  };
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  for (const Lookup& lookup : cases) {
    SCOPED_TRACE(testing::Message() << lookup.call << (lookup.throughPath ? " through PATH" : " in folder"));
    CScenarioFolder folder;
    CmdPipeOptions options;
    if (lookup.throughPath) {
      options.currentDir = temp;
      options.pathPrefix = CStandinPaths::Folder();
    } else {
      options.currentDir = CStandinPaths::Folder();
    }
    CmdPipeResult run = CCmdPipeRun::Run(lookup.command, options);
    EXPECT_EQ(run.Bytes(), Fixture(lookup.fixture));
    EXPECT_EQ(folder.Calls(), lookup.call);
  }
}

// The folder removal as the program starts it: the shell runs a hidden interpreter that
// inherits this process's PATH, so it finds the stand-in timeout (Wine has none).
TEST(StandinShell, TimeoutWaitsBeforeTheFolderGoes) {
  CScenarioFolder scenario;
  CStandinPathScope path;
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  std::wstring victim = std::wstring(temp) + L"zsr doomed " + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(GetTickCount());
  ASSERT_TRUE(CreateDirectoryW(victim.c_str(), nullptr));
  CStandinHandle(CreateFileW((victim + L"\\x.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));

  std::wstring parameters = L"/C timeout /t 2 /nobreak & rmdir /s /q \"" + victim + L"\"";
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"open";
  info.lpFile = L"cmd.exe";
  info.lpParameters = parameters.c_str();
  info.nShow = SW_HIDE;
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(ShellExecuteExW(&info));
  CStandinHandle process(info.hProcess);
  ASSERT_TRUE(process);
  Sleep(1000);
  EXPECT_NE(GetFileAttributesW(victim.c_str()), INVALID_FILE_ATTRIBUTES) << "removed without waiting";
  EXPECT_EQ(WaitForSingleObject(process.Get(), 10000), WAIT_OBJECT_0);
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  EXPECT_GE(elapsed.count(), 1900);
  EXPECT_EQ(GetFileAttributesW(victim.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(scenario.Calls(), "timeout\t/t 2 /nobreak \r\n");
}

struct ChildProcess {
  CStandinHandle process;
  CStandinHandle thread;
};

ChildProcess StartDirectly(const std::wstring& exe) {
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ChildProcess child;
  if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &info)) {
    child.process.Reset(info.hProcess);
    child.thread.Reset(info.hThread);
  }
  return child;
}

// Processor time of a running process from the system's process list. Wine answers
// GetProcessTimes for another process with the caller's own times; the list has the real ones.
double CpuSecondsOf(DWORD pid) {
  struct ProcessEntry {  // the documented head of SYSTEM_PROCESS_INFORMATION
    ULONG NextEntryOffset;
    ULONG NumberOfThreads;
    LARGE_INTEGER Reserved[3];
    LARGE_INTEGER CreateTime, UserTime, KernelTime;
    UNICODE_STRING ImageName;
    LONG BasePriority;
    HANDLE UniqueProcessId;
  };
  using QueryFn = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<ULONGLONG> buffer(1 << 18);  // 2 MB, aligned for the entries
  ULONG needed = 0;
  if (query(5 /* SystemProcessInformation */, buffer.data(), static_cast<ULONG>(buffer.size() * 8), &needed) < 0)
    return -1;
  for (auto* bytes = reinterpret_cast<const char*>(buffer.data());;) {
    auto* entry = reinterpret_cast<const ProcessEntry*>(bytes);
    if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == pid)
      return static_cast<double>(entry->UserTime.QuadPart + entry->KernelTime.QuadPart) / 1e7;
    if (entry->NextEntryOffset == 0) return -1;
    bytes += entry->NextEntryOffset;
  }
}

// A spinning tool gets less than its share on a loaded machine (a fifth of 1.5 s was seen
// at a load of 8 on two cores), so the lower bounds are loose. The upper bound of the
// partial share holds under any load: the tool rests for the rest of each slice.
TEST(StandinProcess, ServicingWorkersUseTheirShareOfAProcessor) {
  struct Load {
    const wchar_t* file;
    const char* scenario;
    double minCpu, maxCpu;
  } loads[] = {
      {L"TiWorker.exe", "busy 100 1500\nidle 5000", 0.3, 1.7},
      {L"TrustedInstaller.exe", "busy 40 1500\nidle 5000", 0.1, 0.75},
      {L"TiWorker.exe", "idle 5000", 0.0, 0.1},
  };
  for (const Load& load : loads) {
    SCOPED_TRACE(load.scenario);
    CScenarioFolder folder;
    std::wstring tool = load.file;
    std::wstring name = tool.substr(0, tool.find(L'.'));
    for (wchar_t& ch : name) ch = static_cast<wchar_t>(towlower(ch));
    ASSERT_TRUE(folder.Set(name, load.scenario));
    ChildProcess child = StartDirectly(CStandinPaths::Tool(load.file));
    ASSERT_TRUE(child.process);
    Sleep(1800);
    double cpu = CpuSecondsOf(GetProcessId(child.process.Get()));
    TerminateProcess(child.process.Get(), 0);
    WaitForSingleObject(child.process.Get(), 5000);
    EXPECT_GE(cpu, load.minCpu);
    EXPECT_LE(cpu, load.maxCpu);
  }
}

TEST(StandinProcess, SnapshotListsTheExactFileNames) {
  CScenarioFolder folder;
  for (const wchar_t* tool : {L"sfc", L"dism", L"ping", L"tiworker", L"trustedinstaller"})
    ASSERT_TRUE(folder.Set(tool, "idle 20000"));
  std::vector<std::wstring> expected = {L"sfc.exe", L"Dism.exe", L"ping.exe", L"TiWorker.exe",
                                        L"TrustedInstaller.exe", L"SFC.exe"};
  std::vector<ChildProcess> children;
  for (size_t i = 0; i + 1 < expected.size(); ++i) children.push_back(StartDirectly(CStandinPaths::Tool(expected[i])));
  children.push_back(StartDirectly(CStandinPaths::UpperFolder() + L"\\SFC.exe"));

  // Every tool records its start first thing; once all have, all are in the snapshot.
  auto started = [&] {
    std::string calls = folder.Calls();
    return std::count(calls.begin(), calls.end(), '\n');
  };
  for (int i = 0; i < 100 && started() < 6; ++i) Sleep(50);
  CStandinHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  ASSERT_TRUE(snapshot);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (size_t i = 0; i < children.size(); ++i) {
    ASSERT_TRUE(children[i].process) << i;
    DWORD pid = GetProcessId(children[i].process.Get());
    std::wstring found;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
      if (entry.th32ProcessID == pid) found = entry.szExeFile;
    EXPECT_EQ(found, expected[i]);
  }
  for (ChildProcess& child : children) {
    TerminateProcess(child.process.Get(), 0);
    WaitForSingleObject(child.process.Get(), 5000);
  }
  // The upper-case copy plays the sfc scenario: its name counts without letter case.
  std::string calls = folder.Calls();
  size_t first = calls.find("sfc\t\r\n");
  ASSERT_NE(first, std::string::npos) << calls;
  EXPECT_NE(calls.find("sfc\t\r\n", first + 1), std::string::npos) << calls;
}

std::wstring RegisteredRecorder() {
  wchar_t command[1024];
  LONG size = sizeof command;
  if (RegQueryValueW(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", command, &size) != ERROR_SUCCESS)
    return {};
  std::wstring text = command;
  if (text.size() < 2 || text[0] != L'"') return {};
  return text.substr(1, text.find(L'"', 1) - 1);
}

TEST(StandinUrlRecorder, ShellOpenOfAWebAddressLandsInTheJournal) {
  std::wstring recorder = RegisteredRecorder();
  ASSERT_FALSE(recorder.empty()) << "no https handler registered";
  if (GetFileAttributesW(recorder.c_str()) == INVALID_FILE_ATTRIBUTES) {
    // The session was started for another build tree: use this tree's recorder.
    std::wstring command = L"\"" + CStandinPaths::Tool(L"urlrecorder.exe") + L"\" \"%1\"";
    for (const wchar_t* key : {L"http\\shell\\open\\command", L"https\\shell\\open\\command"})
      RegSetValueW(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  // A journal of this test's own proves that the recorder sees the caller's environment.
  CScenarioFolder folder;
  std::wstring journal = folder.Path() + L"\\urls.txt";
  wchar_t previous[4096];
  DWORD previousLength = GetEnvironmentVariableW(L"ZSR_URL_JOURNAL", previous, 4096);
  SetEnvironmentVariableW(L"ZSR_URL_JOURNAL", journal.c_str());
  std::string expected;
  for (const wchar_t* url : {L"https://kb.example.invalid/detail/dc_172545.html", L"http://kb.example.invalid/"}) {
    auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL));
    EXPECT_GT(result, 32);
    expected += CTextEncoder::Narrow(url) + "\r\n";
    for (int i = 0; i < 100 && ReadWholeFile(journal) != expected; ++i) Sleep(50);
  }
  SetEnvironmentVariableW(L"ZSR_URL_JOURNAL", previousLength ? previous : nullptr);
  EXPECT_EQ(ReadWholeFile(journal), expected);
}

}  // namespace
