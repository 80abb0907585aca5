#include "standin_search_order.h"

#include <windows.h>

#include <vector>

#include "standin_paths.h"

namespace {

std::wstring CurrentDirectory()
{
    std::vector<wchar_t> buffer(GetCurrentDirectoryW(0, nullptr) + 1);
    DWORD dwLength = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::wstring(buffer.data(), dwLength);
}

std::wstring PathVariable()
{
    std::vector<wchar_t> buffer(32768);
    DWORD dwLength = GetEnvironmentVariableW(L"PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), dwLength);
}

} // namespace

CStandinSearchOrder::CStandinSearchOrder() : m_strOldDirectory(CurrentDirectory()), m_strOldPath(PathVariable())
{
    const std::wstring strFolder = CStandinPaths::Folder();
    SetCurrentDirectoryW(strFolder.c_str());
    SetEnvironmentVariableW(L"PATH", (strFolder + L";" + m_strOldPath).c_str());
}

CStandinSearchOrder::~CStandinSearchOrder()
{
    SetEnvironmentVariableW(L"PATH", m_strOldPath.c_str());
    SetCurrentDirectoryW(m_strOldDirectory.c_str());
}
