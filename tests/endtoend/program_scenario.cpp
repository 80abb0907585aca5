#include "program_scenario.h"

#include <tlhelp32.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "standin_paths.h"

namespace fs = std::filesystem;

namespace e2e {

namespace {

constexpr wchar_t kProgram[] = L"MendoraZorvexSfcRepair.exe";
constexpr wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\MendoraZorvexSfcRepair.exe";

fs::path BinFolder() {
  wchar_t path[MAX_PATH]{};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Narrow(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::vector<DWORD> ProcessesNamed(const wchar_t* exeName) {
  std::vector<DWORD> found;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{sizeof(entry)};
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
    if (_wcsicmp(entry.szExeFile, exeName) == 0) found.push_back(entry.th32ProcessID);
  ::CloseHandle(snapshot);
  return found;
}

void EndProcess(DWORD id) {
  HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
  if (!process) return;
  ::TerminateProcess(process, 1);
  ::WaitForSingleObject(process, 2000);
  ::CloseHandle(process);
}

// What a run of the tool may start: the repair tools and the probe; after it the folder
// removal's pause.
constexpr const wchar_t* kRunProcesses[] = {L"sfc.exe", L"Dism.exe", L"ping.exe", L"timeout.exe", kProgram};
constexpr size_t kRepairTools = 3;  // the first ones

// The interpreters and tools running now, for a failure's message.
std::string RunningTools() {
  std::string running;
  auto count = [&running](const wchar_t* name) {
    if (const size_t found = ProcessesNamed(name).size()) running += Narrow(name) + " x" + std::to_string(found) + " ";
  };
  count(L"cmd.exe");
  for (const wchar_t* name : kRunProcesses) count(name);
  return running.empty() ? "none" : running;
}

void ExpectNoneRunning(const wchar_t* const* names, size_t count) {
  // Give an ended interpreter's tool a moment to go.
  std::this_thread::sleep_for(500ms);
  for (size_t i = 0; i < count; ++i)
    EXPECT_TRUE(ProcessesNamed(names[i]).empty()) << Narrow(names[i]) << " is still running";
}

}  // namespace

void ProgramScenario::SetUp() {
  m_root = fs::temp_directory_path() /
           (L"zsr-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount()));
  fs::create_directories(ToolFolder());
  for (const wchar_t* file : {kProgram, L"ZorvexSfcRepair.dll", L"ZorvexFeedbackInformation.dll"})
    fs::copy_file(BinFolder() / file, ToolFolder() / file);
  SetEnvironment(L"ZSR_FEEDBACK_JOURNAL", (fs::path(m_scenario.Path()) / L"feedback.txt").c_str());
  SetEnvironment(L"ZSR_URL_JOURNAL", (fs::path(m_scenario.Path()) / L"urls.txt").c_str());
  SetEnvironment(L"ZSR_FEEDBACK_OPEN", L"1");
}

void ProgramScenario::SetEnvironment(const wchar_t* name, const wchar_t* value) {
  ::SetEnvironmentVariableW(name, value);
  m_environment.emplace_back(name);
}

void ProgramScenario::Launch() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults);
  if (!m_windowsVersion.empty()) {
    const DWORD bytes = static_cast<DWORD>((m_windowsVersion.size() + 1) * sizeof(wchar_t));
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kAppDefaults, L"Version", REG_SZ, m_windowsVersion.c_str(), bytes),
              ERROR_SUCCESS);
  }
  const fs::path program = ToolFolder() / kProgram;
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  ASSERT_TRUE(::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               ToolFolder().c_str(), &startup, &m_process));
  m_user.emplace(m_process.dwProcessId);
}

void ProgramScenario::TearDown() {
  if (m_process.hProcess) {
    if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(m_process.hProcess, 1);
    ::WaitForSingleObject(m_process.hProcess, 5000);
    ::CloseHandle(m_process.hThread);
    ::CloseHandle(m_process.hProcess);
  }
  for (HANDLE servicing : m_servicing) {
    ::TerminateProcess(servicing, 1);
    ::WaitForSingleObject(servicing, 2000);
    ::CloseHandle(servicing);
  }
  // A case that failed half-way may leave a tool behind; the next case must not meet it.
  for (const wchar_t* name : kRunProcesses)
    for (DWORD id : ProcessesNamed(name)) EndProcess(id);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults);
  for (const std::wstring& name : m_environment) ::SetEnvironmentVariableW(name.c_str(), nullptr);
  std::error_code ignored;
  fs::remove_all(m_root, ignored);
}

bool ProgramScenario::PassStartPage() {
  HWND startPage = User().StartPage();
  EXPECT_TRUE(startPage) << "no start page";
  if (!startPage) return false;
  const bool clicked = User().Click(startPage, IDC_START_RUN);
  EXPECT_TRUE(clicked) << "开始 cannot be pressed";
  const bool gone = User().WaitUntilGone(startPage, 10s);
  EXPECT_TRUE(gone) << "the start page stayed";
  return clicked && gone;
}

HWND ProgramScenario::OpenOperationsWindow() {
  if (!PassStartPage()) return nullptr;
  HWND operations = User().OperationsWindow();
  EXPECT_TRUE(operations) << "no main window after the start page";
  return operations;
}

HWND ProgramScenario::StartRepair(HWND operations) {
  if (!operations) return nullptr;
  // The start button waits for the probe's first output.
  EXPECT_TRUE(User().WaitUntilEnabled(operations, IDC_OP_LOCAL, 40s))
      << "the start button stayed disabled; calls: " << m_scenario.Calls() << "; running: " << RunningTools();
  EXPECT_TRUE(User().Click(operations, IDC_OP_LOCAL));
  m_runStarted = Clock::now();
  HWND popup = User().ProgressPopup(15s);
  EXPECT_TRUE(popup) << "no progress popup";
  return popup;
}

HWND ProgramScenario::AwaitPrompt(const std::wstring& text, std::chrono::seconds limit) {
  HWND prompt = User().Prompt(limit);
  EXPECT_TRUE(prompt) << "no prompt within " << limit.count() << " s; calls: " << m_scenario.Calls();
  if (prompt) {
    EXPECT_EQ(Narrow(User().PromptText(prompt)), Narrow(text));
  }
  return prompt;
}

void ProgramScenario::Confirm(HWND prompt) {
  if (!prompt) return;
  EXPECT_TRUE(User().Click(prompt, IDC_PROMPT_OK)) << "确认 cannot be pressed";
  EXPECT_TRUE(User().WaitUntilGone(prompt, 5s)) << "the prompt stayed";
}

DWORD ProgramScenario::AwaitExit(std::chrono::seconds limit) {
  const auto ms = static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(limit).count());
  if (::WaitForSingleObject(m_process.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  ::GetExitCodeProcess(m_process.hProcess, &code);
  return code;
}

int ProgramScenario::CountOf(const std::string& call) const {
  const std::string calls = m_scenario.Calls();
  const std::string line = call + "\r\n";
  int count = 0;
  for (size_t at = calls.find(line); at != std::string::npos; at = calls.find(line, at + line.size())) ++count;
  return count;
}

std::optional<Clock::time_point> ProgramScenario::AwaitCall(const std::string& call, int nth,
                                                            std::chrono::seconds limit) const {
  const auto end = Clock::now() + limit;
  while (CountOf(call) < nth) {
    if (Clock::now() > end) return std::nullopt;
    std::this_thread::sleep_for(50ms);
  }
  return Clock::now();
}

void ProgramScenario::StartServicing(const std::wstring& exeName) {
  const std::wstring tool = CStandinPaths::Tool(exeName);
  std::wstring commandLine = L"\"" + tool + L"\"";
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(tool.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &process));
  ::CloseHandle(process.hThread);
  m_servicing.push_back(process.hProcess);
}

bool ProgramScenario::AwaitFolderRemoved(std::chrono::seconds limit) const {
  const auto end = Clock::now() + limit;
  while (fs::exists(ToolFolder())) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

std::string ProgramScenario::FeedbackJournal() const { return ReadFile(fs::path(m_scenario.Path()) / L"feedback.txt"); }

int ProgramScenario::AwaitFeedback(const std::regex& line, int count, std::chrono::seconds limit) const {
  const auto end = Clock::now() + limit;
  for (;;) {
    const std::string journal = FeedbackJournal();
    const auto found =
        static_cast<int>(std::distance(std::sregex_iterator(journal.begin(), journal.end(), line), std::sregex_iterator()));
    if (found >= count || Clock::now() > end) return found;
    std::this_thread::sleep_for(100ms);
  }
}

std::string ProgramScenario::UrlJournal() const { return ReadFile(fs::path(m_scenario.Path()) / L"urls.txt"); }

bool ProgramScenario::AwaitPageOpened(const std::string& url, std::chrono::seconds limit) const {
  const auto end = Clock::now() + limit;
  while (UrlJournal().find(url) == std::string::npos) {
    if (Clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

void ProgramScenario::ExpectNoRepairToolRunning() const { ExpectNoneRunning(kRunProcesses, kRepairTools); }

void ProgramScenario::ExpectNothingLeftRunning() const { ExpectNoneRunning(kRunProcesses, std::size(kRunProcesses)); }

}  // namespace e2e
