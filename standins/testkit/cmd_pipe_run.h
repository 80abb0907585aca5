// Runs "cmd /C <line>" as the engine does (output and errors into one anonymous pipe) and
// collects what arrives, read by read, with the time of each read.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CmdPipeChunk {
  std::string bytes;
  long long atMs = 0;  // since the start of the command
};

struct CmdPipeOptions {
  std::wstring currentDir;  // empty: the caller's
  std::wstring pathPrefix;  // put in front of PATH in the child's environment
  DWORD timeoutMs = 30000;  // then every process of the command is ended
};

struct CmdPipeResult {
  bool started = false;
  bool timedOut = false;
  DWORD exitCode = 0;  // of cmd, which passes on its last program's code
  long long elapsedMs = 0;
  std::vector<CmdPipeChunk> chunks;
  std::string Bytes() const;
};

class CCmdPipeRun {
public:
  static CmdPipeResult Run(const std::wstring& line, const CmdPipeOptions& options = {});

private:
  static std::wstring EnvironmentWithPath(const std::wstring& pathPrefix);
};
