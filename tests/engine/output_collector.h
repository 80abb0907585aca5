#pragma once
// Records what the engine delivers to its output callback.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sfc_repair.h"

class COutputCollector {
public:
    struct Chunk {
        std::string strBytes;
        bool bZeroAfter = false;
        DWORD dwThreadId = 0;
        ULONGLONG ullAtMs = 0;
    };

    static void WINAPI OnOutput(const char* pData, int32_t nLength, void* pContext);

    // Runs on the pump thread after each recorded chunk (for tests that call back into the engine).
    void SetAfterChunk(std::function<void(int nChunk)> fnAfterChunk);
    std::vector<Chunk> Chunks() const;
    std::string Bytes() const;
    size_t ChunkCount() const;
    bool WaitForBytes(size_t nBytes, DWORD dwTimeoutMs) const;
    bool WaitForChunks(size_t nChunks, DWORD dwTimeoutMs) const;

private:
    mutable std::mutex m_Lock;
    std::vector<Chunk> m_Chunks;
    std::function<void(int)> m_fnAfterChunk;
};
