#include "scoped_handle.h"

#include <utility>

CScopedHandle::CScopedHandle(HANDLE hHandle) noexcept : m_hHandle(IsValid(hHandle) ? hHandle : nullptr) {}

CScopedHandle::~CScopedHandle() { Reset(); }

CScopedHandle::CScopedHandle(CScopedHandle&& other) noexcept : m_hHandle(other.Release()) {}

CScopedHandle& CScopedHandle::operator=(CScopedHandle&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

HANDLE CScopedHandle::Release() noexcept { return std::exchange(m_hHandle, nullptr); }

void CScopedHandle::Reset(HANDLE hHandle) noexcept
{
    HANDLE hOld = std::exchange(m_hHandle, IsValid(hHandle) ? hHandle : nullptr);
    if (hOld)
        CloseHandle(hOld);
}

bool CScopedHandle::IsValid(HANDLE hHandle) noexcept
{
    return hHandle != nullptr && hHandle != INVALID_HANDLE_VALUE;
}
