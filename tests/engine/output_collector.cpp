#include "output_collector.h"

void WINAPI COutputCollector::OnOutput(const char* pData, int32_t nLength, void* pContext)
{
    auto* pSelf = static_cast<COutputCollector*>(pContext);
    Chunk chunk;
    chunk.strBytes.assign(pData, static_cast<size_t>(nLength > 0 ? nLength : 0));
    chunk.bZeroAfter = nLength >= 0 && pData[nLength] == '\0';
    chunk.dwThreadId = GetCurrentThreadId();
    chunk.ullAtMs = GetTickCount64();
    std::function<void(int)> fnAfterChunk;
    int nChunk = 0;
    {
        std::lock_guard<std::mutex> guard(pSelf->m_Lock);
        pSelf->m_Chunks.push_back(std::move(chunk));
        nChunk = static_cast<int>(pSelf->m_Chunks.size());
        fnAfterChunk = pSelf->m_fnAfterChunk;
    }
    if (fnAfterChunk)
        fnAfterChunk(nChunk);
}

void COutputCollector::SetAfterChunk(std::function<void(int nChunk)> fnAfterChunk)
{
    std::lock_guard<std::mutex> guard(m_Lock);
    m_fnAfterChunk = std::move(fnAfterChunk);
}

std::vector<COutputCollector::Chunk> COutputCollector::Chunks() const
{
    std::lock_guard<std::mutex> guard(m_Lock);
    return m_Chunks;
}

std::string COutputCollector::Bytes() const
{
    std::lock_guard<std::mutex> guard(m_Lock);
    std::string strAll;
    for (const Chunk& chunk : m_Chunks)
        strAll += chunk.strBytes;
    return strAll;
}

size_t COutputCollector::ChunkCount() const
{
    std::lock_guard<std::mutex> guard(m_Lock);
    return m_Chunks.size();
}

bool COutputCollector::WaitForBytes(size_t nBytes, DWORD dwTimeoutMs) const
{
    const ULONGLONG ullDeadline = GetTickCount64() + dwTimeoutMs;
    while (Bytes().size() < nBytes) {
        if (GetTickCount64() >= ullDeadline)
            return false;
        Sleep(20);
    }
    return true;
}

bool COutputCollector::WaitForChunks(size_t nChunks, DWORD dwTimeoutMs) const
{
    const ULONGLONG ullDeadline = GetTickCount64() + dwTimeoutMs;
    while (ChunkCount() < nChunks) {
        if (GetTickCount64() >= ullDeadline)
            return false;
        Sleep(20);
    }
    return true;
}
