#pragma once
// Move-only owner of a kernel handle (events, threads, processes, pipes, snapshots).
#include <windows.h>

class CScopedHandle {
public:
    CScopedHandle() noexcept = default;
    // Both failure values of the platform (null and INVALID_HANDLE_VALUE) count as empty.
    explicit CScopedHandle(HANDLE hHandle) noexcept;
    ~CScopedHandle();

    CScopedHandle(CScopedHandle&& other) noexcept;
    CScopedHandle& operator=(CScopedHandle&& other) noexcept;
    CScopedHandle(const CScopedHandle&) = delete;
    CScopedHandle& operator=(const CScopedHandle&) = delete;

    HANDLE Get() const noexcept { return m_hHandle; }
    explicit operator bool() const noexcept { return m_hHandle != nullptr; }
    HANDLE Release() noexcept;
    void Reset(HANDLE hHandle = nullptr) noexcept;

    static bool IsValid(HANDLE hHandle) noexcept;

private:
    HANDLE m_hHandle = nullptr;
};
