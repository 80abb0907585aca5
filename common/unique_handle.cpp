#include "unique_handle.h"

#include <utility>

CUniqueHandle::CUniqueHandle(HANDLE hHandle) noexcept : m_hHandle(IsValid(hHandle) ? hHandle : nullptr) {}

CUniqueHandle::~CUniqueHandle() { Reset(); }

CUniqueHandle::CUniqueHandle(CUniqueHandle&& other) noexcept : m_hHandle(other.Release()) {}

CUniqueHandle& CUniqueHandle::operator=(CUniqueHandle&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

HANDLE CUniqueHandle::Release() noexcept { return std::exchange(m_hHandle, nullptr); }

void CUniqueHandle::Reset(HANDLE hHandle) noexcept
{
    HANDLE hOld = std::exchange(m_hHandle, IsValid(hHandle) ? hHandle : nullptr);
    if (hOld)
        CloseHandle(hOld);
}

bool CUniqueHandle::IsValid(HANDLE hHandle) noexcept
{
    return hHandle != nullptr && hHandle != INVALID_HANDLE_VALUE;
}
