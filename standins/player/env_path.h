// Folder and file names handed to the stand-ins through environment variables.
#pragma once

#include <string>

class CEnvPath {
public:
  // The variable's value as a Windows path; empty when unset. A Unix path (as the Wine
  // session exports them) is translated to the drive Wine maps it to.
  static std::wstring Read(const wchar_t* name);
  static std::wstring ToWindowsPath(const std::wstring& value);
};
