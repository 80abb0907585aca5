#pragma once
// Move-only owner of a kernel handle (events, threads, processes, pipes, snapshots).
#include <windows.h>

class CUniqueHandle {
public:
    CUniqueHandle() noexcept = default;
    // Both failure values of the platform (null and INVALID_HANDLE_VALUE) count as empty.
    explicit CUniqueHandle(HANDLE hHandle) noexcept;
    ~CUniqueHandle();

    CUniqueHandle(CUniqueHandle&& other) noexcept;
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept;
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;

    HANDLE Get() const noexcept { return m_hHandle; }
    explicit operator bool() const noexcept { return m_hHandle != nullptr; }
    HANDLE Release() noexcept;
    void Reset(HANDLE hHandle = nullptr) noexcept;

    static bool IsValid(HANDLE hHandle) noexcept;

private:
    HANDLE m_hHandle = nullptr;
};
