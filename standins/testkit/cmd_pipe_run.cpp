#include "cmd_pipe_run.h"

#include <windows.h>

#include <chrono>
#include <cwctype>
#include <future>
#include <thread>

#include "standin_handle.h"

namespace {

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

bool IsPathEntry(const wchar_t* entry) {
  return std::towupper(entry[0]) == L'P' && std::towupper(entry[1]) == L'A' &&
         std::towupper(entry[2]) == L'T' && std::towupper(entry[3]) == L'H' && entry[4] == L'=';
}

}  // namespace

std::string CmdPipeResult::Bytes() const {
  std::string all;
  for (const CmdPipeChunk& chunk : chunks) all += chunk.bytes;
  return all;
}

std::wstring CCmdPipeRun::EnvironmentWithPath(const std::wstring& pathPrefix) {
  std::wstring block;
  std::wstring oldPath;
  LPWCH strings = GetEnvironmentStringsW();
  for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
    if (IsPathEntry(entry)) {
      oldPath = entry + 5;
    } else {
      block += entry;
      block += L'\0';
    }
  }
  FreeEnvironmentStringsW(strings);
  block += L"PATH=" + pathPrefix + (oldPath.empty() ? L"" : L";" + oldPath);
  block += L'\0';
  return block;
}

CmdPipeResult CCmdPipeRun::Run(const std::wstring& line, const CmdPipeOptions& options) {
  CmdPipeResult result;
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &security, 0)) return result;
  CStandinHandle reader(readEnd), writer(writeEnd);
  SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);

  // The job holds cmd and all it starts, so a command that never ends can be ended whole.
  CStandinHandle job(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job) SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writer.Get();
  startup.hStdError = writer.Get();

  std::wstring commandLine = L"cmd /C " + line;
  std::wstring environment;
  if (!options.pathPrefix.empty()) environment = EnvironmentWithPath(options.pathPrefix);
  PROCESS_INFORMATION process{};
  auto start = std::chrono::steady_clock::now();
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                      CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT,
                      environment.empty() ? nullptr : environment.data(),
                      options.currentDir.empty() ? nullptr : options.currentDir.c_str(), &startup,
                      &process))
    return result;
  CStandinHandle child(process.hProcess), thread(process.hThread);
  if (job) AssignProcessToJobObject(job.Get(), child.Get());
  ResumeThread(thread.Get());
  writer.Reset();  // only the child's copies remain: the pipe breaks when they are gone
  result.started = true;

  std::vector<CmdPipeChunk> chunks;
  std::thread pump([&] {
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(reader.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
      chunks.push_back({std::string(buffer, read), MillisecondsSince(start)});
  });
  auto waitLeft = [&] {
    long long left = static_cast<long long>(options.timeoutMs) - MillisecondsSince(start);
    return static_cast<DWORD>(left > 0 ? left : 0);
  };
  if (WaitForSingleObject(child.Get(), waitLeft()) == WAIT_TIMEOUT) {
    result.timedOut = true;
    if (job) TerminateJobObject(job.Get(), 1);
    TerminateProcess(child.Get(), 1);
  }
  // cmd has ended; output may still come from a program it left running.
  WaitForSingleObject(child.Get(), INFINITE);
  result.elapsedMs = MillisecondsSince(start);
  auto finished = std::async(std::launch::async, [&] { pump.join(); });
  if (finished.wait_for(std::chrono::milliseconds(waitLeft() + 100)) == std::future_status::timeout) {
    result.timedOut = true;
    if (job) TerminateJobObject(job.Get(), 1);
    finished.wait();
  }
  GetExitCodeProcess(child.Get(), &result.exitCode);
  result.chunks = std::move(chunks);
  return result;
}
