#pragma once
// Reads an extended dialog template (DIALOGEX) as stored in the resources, so a test can
// check what the template itself says; the running dialog adds bits of its own
// (DS_3DLOOK, controls that restyle themselves).
#include <windows.h>

#include <string>
#include <vector>

struct DialogTemplateItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  std::wstring className;  // predefined classes by name: "Button", "Static", ...
  std::wstring text;       // a resource ordinal reads "#<n>"
};

struct DialogTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  std::wstring caption;
  WORD pointSize = 0;
  WORD weight = 0;
  std::wstring font;
  std::vector<DialogTemplateItem> items;

  const DialogTemplateItem* Item(DWORD id) const;
};

// False when the resource is missing or is not a DIALOGEX template.
bool LoadDialogTemplate(HMODULE module, UINT id, WORD language, DialogTemplate* out);
