// Test helper: copied into a folder under the program's file name, it does what the main
// window does when it is destroyed, and ends at once. It prints the path it runs from, so a
// test can tell where the system thinks it lies.
#include <windows.h>

#include <cstdio>

#include "app/tool_folder.h"

int wmain() {
  wchar_t path[MAX_PATH]{};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wprintf(L"%ls\n", path);
  std::fflush(stdout);
  DeleteToolFolder();
  return 0;
}
