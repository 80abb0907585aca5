// Runs one command line through the engine and shows every delivered chunk:
//   engine_demo.exe [--idle SECONDS] [command line...]      default "sfc /scannow"
// It ends once no output has arrived for the idle time (5 s unless told).
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "sfc_repair.h"

namespace {

using Clock = std::chrono::steady_clock;

struct DemoState {
    Clock::time_point start = Clock::now();
    std::atomic<long long> llLastOutputMs{0};
    std::atomic<int> nChunks{0};
    std::string strCarry; // an odd byte of UTF-16 text left over from the last chunk
};

long long MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// sfc writes UTF-16LE through a pipe, the other tools write the ANSI code page, which
// never contains a zero byte; in UTF-16 text line ends, blanks and digits bring them.
bool LooksLikeUtf16(const std::string& bytes)
{
    size_t nOddZeros = 0, nEvenZeros = 0;
    for (size_t i = 0; i < bytes.size(); ++i)
        (i % 2 ? nOddZeros : nEvenZeros) += bytes[i] == '\0';
    return nOddZeros > nEvenZeros;
}

std::wstring Decode(DemoState* pState, const char* pData, int nLength)
{
    std::string bytes = pState->strCarry + std::string(pData, static_cast<size_t>(nLength));
    pState->strCarry.clear();
    if (LooksLikeUtf16(bytes)) {
        if (bytes.size() % 2 != 0) {
            pState->strCarry = bytes.substr(bytes.size() - 1);
            bytes.pop_back();
        }
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
    }
    int nWide = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(nWide > 0 ? nWide : 0), L'\0');
    if (nWide > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), nWide);
    return text;
}

void Print(const std::wstring& text)
{
    HANDLE hOut = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD dwMode = 0, dwWritten = 0;
    if (GetConsoleMode(hOut, &dwMode)) {
        WriteConsoleW(hOut, text.data(), static_cast<DWORD>(text.size()), &dwWritten, nullptr);
        return;
    }
    int nBytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(nBytes > 0 ? nBytes : 0), '\0');
    if (nBytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), nBytes, nullptr, nullptr);
    WriteFile(hOut, utf8.data(), static_cast<DWORD>(utf8.size()), &dwWritten, nullptr);
}

void WINAPI OnOutput(const char* pData, int32_t nLength, void* pContext)
{
    auto* pState = static_cast<DemoState*>(pContext);
    const long long llNow = MsSince(pState->start);
    pState->llLastOutputMs = llNow;
    ++pState->nChunks;
    wchar_t szHeader[96];
    swprintf(szHeader, 96, L"\n--- chunk %d: %d bytes at %lld ms ---\n", pState->nChunks.load(), nLength, llNow);
    Print(szHeader + Decode(pState, pData, nLength));
}

std::string CommandFromArguments(int argc, wchar_t** argv, int nFirst)
{
    std::wstring line;
    for (int i = nFirst; i < argc; ++i)
        line += (line.empty() ? L"" : L" ") + std::wstring(argv[i]);
    if (line.empty())
        line = L"sfc /scannow";
    int nBytes = WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(nBytes > 0 ? nBytes : 1), '\0');
    if (nBytes > 0)
        WideCharToMultiByte(CP_ACP, 0, line.c_str(), -1, bytes.data(), nBytes, nullptr, nullptr);
    return bytes; // with its terminating zero, as the engine expects
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    int nFirst = 1;
    long long llIdleMs = 5000;
    if (argc >= 3 && std::wcscmp(argv[1], L"--idle") == 0) {
        llIdleMs = std::wcstoll(argv[2], nullptr, 10) * 1000;
        nFirst = 3;
    }
    const std::string command = CommandFromArguments(argc, argv, nFirst);

    SfcRepairHandle hEngine = sfc_Repair_Open();
    if (!hEngine) {
        std::fputs("engine_demo: the engine could not be opened\n", stderr);
        return 1;
    }
    std::string strSystem;
    SfcRepairText systemText = SfcRepairTextFor(strSystem);
    sfc_Repair_GetSystemName(hEngine, &systemText);
    std::printf("system: %s\ncommand: %s\n", strSystem.c_str(), command.c_str());
    std::fflush(stdout);

    DemoState state;
    sfc_Repair_DataCallBack_Log(hEngine, &OnOutput, &state);
    sfc_Repair_CmdSend(hEngine, command.data(), static_cast<int32_t>(command.size()));
    while (MsSince(state.start) - state.llLastOutputMs.load() < llIdleMs)
        Sleep(100);

    sfc_Repair_CmdClear(hEngine);
    sfc_Repair_Close(hEngine);
    std::printf("\n--- %d chunks; no output for %lld s, closed after %lld ms ---\n", state.nChunks.load(),
                llIdleMs / 1000, MsSince(state.start));
    return 0;
}
