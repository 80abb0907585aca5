// Measures the engine side by side in one run:
//  - delivery latency from a child's write to the callback, for writes spaced wider than
//    the pump's pause and for a burst of writes closer than it (bench_writer.exe, found
//    in the current directory or on PATH);
//  - the processor time an open, idle engine costs the process over 10 seconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "sfc_repair.h"

namespace {

struct LatencyProbe {
    std::mutex lock;
    std::string strPending; // a record cut by the end of a chunk
    std::vector<double> latenciesMs;
    double dTicksPerMs = 1.0;
};

void WINAPI OnOutput(const char* pData, int32_t nLength, void* pContext)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    auto* pProbe = static_cast<LatencyProbe*>(pContext);
    std::lock_guard<std::mutex> guard(pProbe->lock);
    pProbe->strPending.append(pData, static_cast<size_t>(nLength));
    size_t nEnd;
    while ((nEnd = pProbe->strPending.find('\n')) != std::string::npos) {
        const std::string record = pProbe->strPending.substr(0, nEnd);
        pProbe->strPending.erase(0, nEnd + 1);
        if (record.size() > 1 && record[0] == 'T') {
            const long long llWritten = std::atoll(record.c_str() + 1);
            pProbe->latenciesMs.push_back(static_cast<double>(now.QuadPart - llWritten) / pProbe->dTicksPerMs);
        }
    }
}

size_t SampleCount(LatencyProbe* pProbe)
{
    std::lock_guard<std::mutex> guard(pProbe->lock);
    return pProbe->latenciesMs.size();
}

bool MeasureLatency(SfcRepairHandle hEngine, const char* pszTitle, int nCount, int nIntervalMs)
{
    LatencyProbe probe;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    probe.dTicksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
    sfc_Repair_DataCallBack_Log(hEngine, &OnOutput, &probe);

    char szCommand[64];
    std::snprintf(szCommand, sizeof(szCommand), "bench_writer.exe %d %d", nCount, nIntervalMs);
    sfc_Repair_CmdSend(hEngine, szCommand, static_cast<int32_t>(std::strlen(szCommand) + 1));
    const ULONGLONG ullDeadline = GetTickCount64() + static_cast<ULONGLONG>(nCount) * nIntervalMs + 10000;
    while (SampleCount(&probe) < static_cast<size_t>(nCount) && GetTickCount64() < ullDeadline)
        Sleep(50);
    sfc_Repair_CmdClear(hEngine);
    sfc_Repair_DataCallBack_Log(hEngine, nullptr, nullptr);

    std::vector<double> samples;
    {
        std::lock_guard<std::mutex> guard(probe.lock);
        samples = probe.latenciesMs;
    }
    if (samples.size() < static_cast<size_t>(nCount)) {
        std::printf("%-44s only %zu of %d samples arrived (is bench_writer.exe reachable?)\n", pszTitle,
                    samples.size(), nCount);
        return false;
    }
    std::sort(samples.begin(), samples.end());
    std::printf("%-44s samples %3zu  median %7.1f ms  max %7.1f ms\n", pszTitle, samples.size(),
                samples[samples.size() / 2], samples.back());
    return true;
}

ULONGLONG OwnProcessTime100ns()
{
    FILETIME ftCreation, ftExit, ftKernel, ftUser;
    GetProcessTimes(GetCurrentProcess(), &ftCreation, &ftExit, &ftKernel, &ftUser);
    ULARGE_INTEGER kernel{{ftKernel.dwLowDateTime, ftKernel.dwHighDateTime}};
    ULARGE_INTEGER user{{ftUser.dwLowDateTime, ftUser.dwHighDateTime}};
    return kernel.QuadPart + user.QuadPart;
}

void MeasureIdleCpu(DWORD dwMs)
{
    const ULONGLONG ullBefore = OwnProcessTime100ns();
    const ULONGLONG ullStart = GetTickCount64();
    Sleep(dwMs);
    const ULONGLONG ullElapsedMs = GetTickCount64() - ullStart;
    const double dCpuMs = static_cast<double>(OwnProcessTime100ns() - ullBefore) / 10000.0;
    std::printf("%-44s %.1f ms of processor time in %llu ms = %.3f %% of one processor\n",
                "open idle engine:", dCpuMs, ullElapsedMs, dCpuMs * 100.0 / static_cast<double>(ullElapsedMs));
    if (dCpuMs == 0.0)
        std::printf("%-44s below the process clock's resolution (10 ms under Wine): under %.2f %%\n", "",
                    10.0 * 100.0 / static_cast<double>(ullElapsedMs));
}

} // namespace

int main()
{
    SfcRepairHandle hEngine = sfc_Repair_Open();
    if (!hEngine) {
        std::fputs("engine_bench: the engine could not be opened\n", stderr);
        return 1;
    }
    bool bOk = MeasureLatency(hEngine, "latency, writes 700 ms apart:", 20, 700);
    bOk = MeasureLatency(hEngine, "latency, burst of writes 50 ms apart:", 60, 50) && bOk;
    MeasureIdleCpu(10000);
    sfc_Repair_Close(hEngine);
    return bOk ? 0 : 1;
}
