#include "app/tool_folder.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

namespace zsr::tool_folder {

namespace {

wchar_t FoldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// File names are compared as the file system does for the names we ship: ASCII letters
// without regard to case, everything else exactly.
bool SameName(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

bool IsShippedName(const std::wstring& name) {
  const auto& names = ShippedFileNames();
  return std::any_of(names.begin(), names.end(), [&](const std::wstring& n) { return SameName(n, name); });
}

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

// Every component below the root must be a real name: no empty, "." or ".." parts.
bool HasOnlyPlainComponents(const std::wstring& rest) {
  size_t start = 0;
  while (start <= rest.size()) {
    const size_t end = std::min(rest.find(L'\\', start), rest.size());
    const std::wstring part = rest.substr(start, end - start);
    if (part.empty() || part == L"." || part == L"..") return false;
    start = end + 1;
  }
  return true;
}

bool IsRemovableFolderPath(const std::wstring& folder) {
  // "X:\name[\...]": at least one folder below the drive's root.
  if (folder.size() >= 4 && IsDriveLetter(folder[0]) && folder[1] == L':' && folder[2] == L'\\') {
    return HasOnlyPlainComponents(folder.substr(3));
  }
  // "\\server\share\name[\...]"; device and long-path prefixes ("\\?\", "\\.\") are refused.
  if (folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\') {
    const std::wstring rest = folder.substr(2);
    if (!HasOnlyPlainComponents(rest) || rest[0] == L'?' || rest[0] == L'.') return false;
    return std::count(rest.begin(), rest.end(), L'\\') >= 2;
  }
  return false;
}

}  // namespace

const std::vector<std::wstring>& ShippedFileNames() {
  static const std::vector<std::wstring> names{L"MendoraZorvexSfcRepair.exe", L"ZorvexSfcRepair.dll",
                                               L"ZorvexFeedbackInformation.dll", L"使用说明.txt"};
  return names;
}

std::wstring FolderOfProgram(const std::wstring& programPath) {
  const size_t cut = programPath.rfind(L'\\');
  if (cut == std::wstring::npos) return {};
  const std::wstring folder = programPath.substr(0, cut);
  return IsRemovableFolderPath(folder) ? folder : std::wstring{};
}

std::wstring FileNameOfProgram(const std::wstring& programPath) {
  const size_t cut = programPath.rfind(L'\\');
  return cut == std::wstring::npos ? programPath : programPath.substr(cut + 1);
}

bool HoldsOnlyToolFiles(const std::vector<FolderEntry>& entries, const std::wstring& programFileName) {
  bool programSeen = false;
  for (const FolderEntry& entry : entries) {
    if (entry.name == L"." || entry.name == L"..") continue;
    if (entry.isDirectory || !IsShippedName(entry.name)) return false;
    if (SameName(entry.name, programFileName)) programSeen = true;
  }
  return programSeen;
}

std::optional<std::wstring> RemovalParametersFor(const std::wstring& folder) {
  if (!IsRemovableFolderPath(folder)) return std::nullopt;
  for (wchar_t c : folder) {
    if (c == L'"' || c == L'!' || c < 0x20) return std::nullopt;
  }
  // A single '%' names no variable and stays as it is.
  if (std::count(folder.begin(), folder.end(), L'%') > 1) return std::nullopt;
  // Inside quotes blanks, '&', '^', '(' and ')' are plain characters to the interpreter.
  return std::wstring(kDelayedRemoval) + L"\"" + folder + L"\"";
}

std::optional<std::wstring> PlanRemoval(const std::wstring& programPath, const std::vector<FolderEntry>& entries) {
  const std::wstring folder = FolderOfProgram(programPath);
  if (folder.empty() || !HoldsOnlyToolFiles(entries, FileNameOfProgram(programPath))) return std::nullopt;
  return RemovalParametersFor(folder);
}

}  // namespace zsr::tool_folder

namespace {

class CFindHandle {
 public:
  explicit CFindHandle(HANDLE h) noexcept : m_h(h) {}
  ~CFindHandle() {
    if (m_h != INVALID_HANDLE_VALUE) ::FindClose(m_h);
  }
  CFindHandle(const CFindHandle&) = delete;
  CFindHandle& operator=(const CFindHandle&) = delete;
  HANDLE Get() const noexcept { return m_h; }
  explicit operator bool() const noexcept { return m_h != INVALID_HANDLE_VALUE; }

 private:
  HANDLE m_h;
};

// False when the folder could not be read to its end: nothing is removed then.
bool ListFolder(const std::wstring& folder, std::vector<zsr::tool_folder::FolderEntry>& entries) {
  WIN32_FIND_DATAW data{};
  CFindHandle find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                      nullptr, 0));
  if (!find) return false;
  do {
    entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (::FindNextFileW(find.Get(), &data));
  return ::GetLastError() == ERROR_NO_MORE_FILES;
}

std::wstring SystemFolder() {
  wchar_t buffer[MAX_PATH + 1]{};
  const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH);
  return (length == 0 || length >= MAX_PATH) ? std::wstring{} : std::wstring(buffer, length);
}

}  // namespace

bool DeleteToolFolder() {
  using namespace zsr::tool_folder;
  wchar_t path[261]{};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, 260);
  // A cut-off path names some other folder.
  if (length == 0 || length >= 260) return true;
  const std::wstring program(path, length);
  const std::wstring folder = FolderOfProgram(program);
  std::vector<FolderEntry> entries;
  if (folder.empty() || !ListFolder(folder, entries)) return true;
  const std::optional<std::wstring> parameters = PlanRemoval(program, entries);
  const std::wstring system = SystemFolder();
  if (!parameters || system.empty()) return true;
  // The system's own interpreter, started in the system folder: a child whose current
  // directory is the tool folder would keep that folder from being removed.
  const std::wstring interpreter = system + L"\\cmd.exe";
  ::ShellExecuteW(nullptr, L"open", interpreter.c_str(), parameters->c_str(), system.c_str(), SW_HIDE);
  return true;
}
