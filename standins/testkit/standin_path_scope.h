// Puts bin\standins in front of this process's PATH for its lifetime, so every command
// interpreter the process starts (through the engine or the shell) finds the stand-ins
// before Wine's own dism.exe and ping.exe. The previous PATH comes back afterwards.
#pragma once

#include <string>

class CStandinPathScope {
public:
  CStandinPathScope();
  ~CStandinPathScope();
  CStandinPathScope(const CStandinPathScope&) = delete;
  CStandinPathScope& operator=(const CStandinPathScope&) = delete;

private:
  std::wstring m_strPreviousPath;
  bool m_bHadPath = false;
};
