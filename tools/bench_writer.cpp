// Benchmark helper: writes COUNT records "T<performance counter>\n" into its standard
// output, one write each, INTERVAL_MS apart:  bench_writer.exe COUNT INTERVAL_MS
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const int nCount = std::atoi(argv[1]);
    const DWORD dwIntervalMs = static_cast<DWORD>(std::atoi(argv[2]));
    HANDLE hOut = GetStdHandle(STD_OUTPUT_HANDLE);
    for (int i = 0; i < nCount; ++i) {
        Sleep(dwIntervalMs);
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        char szRecord[40];
        int nLength = std::snprintf(szRecord, sizeof(szRecord), "T%lld\n", static_cast<long long>(now.QuadPart));
        DWORD dwWritten = 0;
        if (!WriteFile(hOut, szRecord, static_cast<DWORD>(nLength), &dwWritten, nullptr))
            return 1;
    }
    return 0;
}
