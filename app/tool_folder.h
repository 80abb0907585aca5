#pragma once
// Removal of the program's own folder once the main window is gone. The program runs with
// administrator rights, so the decision is deliberately narrow: only a folder that holds
// nothing but the files the tool ships with is removed, and only when its path can be handed
// to the command interpreter so that exactly that folder is meant.
//
// The decision is window-free and platform-free (tested as a table); DeleteToolFolder reads
// the program's path and the folder's contents and starts the interpreter.
#include <optional>
#include <string>
#include <vector>

namespace zsr::tool_folder {

struct FolderEntry {
  std::wstring name;
  bool isDirectory = false;
};

inline constexpr wchar_t kDelayedRemoval[] = L"/C timeout /t 3 /nobreak & rmdir /s /q ";

// What the release package holds; nothing else may be in the folder.
const std::vector<std::wstring>& ShippedFileNames();

// The folder of a program file: everything before the last backslash. Empty when that folder
// may not be removed: a drive's root ("D:"), a share's root, a relative or device path.
std::wstring FolderOfProgram(const std::wstring& programPath);
std::wstring FileNameOfProgram(const std::wstring& programPath);

// True when the entries are only shipped files (no folders) and include the program itself.
bool HoldsOnlyToolFiles(const std::vector<FolderEntry>& entries, const std::wstring& programFileName);

// The interpreter's parameters for a folder; empty when the path cannot be passed safely:
// '"' cannot be quoted, '!' is eaten when delayed expansion is on (a machine-wide setting),
// control characters end the line, and two '%' may enclose a variable name that the
// interpreter expands even inside quotes (some interpreters expand the result once more,
// so no indirection through the environment is safe either).
std::optional<std::wstring> RemovalParametersFor(const std::wstring& folder);

// The whole decision for a program path and the listing of its folder.
std::optional<std::wstring> PlanRemoval(const std::wstring& programPath, const std::vector<FolderEntry>& entries);

}  // namespace zsr::tool_folder

// Starts the delayed removal of the program's folder when the folder may go. Always true.
bool DeleteToolFolder();
