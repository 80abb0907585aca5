// Where a test program finds the stand-ins: <folder of the test program>\standins.
#pragma once

#include <string>

class CStandinPaths {
public:
  static std::wstring Folder();       // bin\standins, holds sfc.exe, Dism.exe, ping.exe, ...
  static std::wstring UpperFolder();  // bin\standins\upper, holds SFC.exe
  static std::wstring Tool(const std::wstring& fileName) { return Folder() + L"\\" + fileName; }
};
