#include "tool_context.h"

#include <windows.h>

#include <cwctype>
#include <vector>

#include "env_path.h"
#include "text_encoder.h"
#include "standin_handle.h"

namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsAbsolute(const std::wstring& path) {
  return (path.size() >= 2 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

std::vector<std::wstring> Words(const std::wstring& text) {
  std::vector<std::wstring> words;
  std::wstring word;
  for (wchar_t c : text) {
    if (c == L' ' || c == L'\t') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

}  // namespace

CToolContext CToolContext::FromProcess() {
  wchar_t path[MAX_PATH * 4];
  DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  return CToolContext(std::wstring(path, length), GetCommandLineW(),
                      CEnvPath::Read(L"ZSR_SCENARIO_DIR"), CEnvPath::Read(L"ZSR_FIXTURE_DIR"));
}

CToolContext::CToolContext(std::wstring exePath, std::wstring commandLine,
                           std::wstring scenarioDir, std::wstring fixtureDir)
    : m_strArguments(ArgumentsOf(commandLine)),
      m_strScenarioDir(std::move(scenarioDir)),
      m_strFixtureDir(std::move(fixtureDir)) {
  size_t slash = exePath.find_last_of(L"\\/");
  m_strExeDir = slash == std::wstring::npos ? L"." : exePath.substr(0, slash);
  std::wstring file = slash == std::wstring::npos ? exePath : exePath.substr(slash + 1);
  size_t dot = file.find_last_of(L'.');
  m_strName = Lower(dot == std::wstring::npos ? file : file.substr(0, dot));
}

std::wstring CToolContext::ArgumentsOf(const std::wstring& commandLine) {
  size_t pos = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    pos = commandLine.find(L'"', 1);
    pos = pos == std::wstring::npos ? commandLine.size() : pos + 1;
  } else {
    while (pos < commandLine.size() && commandLine[pos] != L' ' && commandLine[pos] != L'\t') ++pos;
  }
  while (pos < commandLine.size() && (commandLine[pos] == L' ' || commandLine[pos] == L'\t')) ++pos;
  return commandLine.substr(pos);
}

std::wstring CToolContext::ScenarioFile() const {
  if (m_strScenarioDir.empty()) return {};
  return m_strScenarioDir + L"\\" + m_strName + L".txt";
}

std::string CToolContext::DefaultScenario() const {
  if (m_strName == L"sfc") return "write sfc-zh-no-violations.bin\n";
  if (m_strName == L"dism") return "write dism-zh-success.bin\n";
  if (m_strName == L"ping") return "write ping-zh-reply.bin\n";
  if (m_strName == L"timeout") return "wait-arg /t\n";
  if (m_strName == L"tiworker" || m_strName == L"trustedinstaller") return "idle 30000\n";
  return {};
}

std::wstring CToolContext::FindFixture(const std::string& name) const {
  std::wstring file = CTextEncoder::Widen(name);
  if (IsAbsolute(file)) return FileExists(file) ? file : std::wstring();
  for (const std::wstring& dir : {m_strFixtureDir, m_strScenarioDir, m_strExeDir + L"\\fixtures",
                                  m_strExeDir + L"\\..\\fixtures"}) {
    if (dir.empty()) continue;
    std::wstring candidate = dir + L"\\" + file;
    if (FileExists(candidate)) return candidate;
  }
  return {};
}

bool CToolContext::ArgumentsContain(const std::string& word) const {
  return Lower(m_strArguments).find(Lower(CTextEncoder::Widen(word))) != std::wstring::npos;
}

std::optional<long long> CToolContext::NumberAfterSwitch(const std::string& option) const {
  std::wstring wanted = Lower(CTextEncoder::Widen(option));
  std::vector<std::wstring> words = Words(m_strArguments);
  auto number = [](const std::wstring& word) -> std::optional<long long> {
    wchar_t* end = nullptr;
    long long value = std::wcstoll(word.c_str(), &end, 10);
    if (word.empty() || !end || *end != L'\0') return std::nullopt;
    return value;
  };
  for (size_t i = 0; i + 1 < words.size(); ++i)
    if (Lower(words[i]) == wanted) return number(words[i + 1]);
  for (const std::wstring& word : words)
    if (auto value = number(word)) return value;
  return std::nullopt;
}

void CToolContext::RecordCall() const { AppendToScenarioFile(L"calls.txt", m_strName + L"\t" + m_strArguments); }

void CToolContext::RecordTime() const {
  LARGE_INTEGER now{};
  QueryPerformanceCounter(&now);
  AppendToScenarioFile(L"times.txt", m_strName + L"\t" + std::to_wstring(now.QuadPart));
}

void CToolContext::AppendToScenarioFile(const wchar_t* fileName, const std::wstring& line) const {
  if (m_strScenarioDir.empty()) return;
  std::wstring path = m_strScenarioDir + L"\\" + fileName;
  CStandinHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  std::string bytes = CTextEncoder::Narrow(line) + "\r\n";
  DWORD written = 0;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}
