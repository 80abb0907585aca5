// Test helper: copied into a folder under the program's file name, it does what the main
// window does when it is destroyed, and ends at once.
#include <windows.h>

#include "app/tool_folder.h"

int wmain() {
  DeleteToolFolder();
  return 0;
}
