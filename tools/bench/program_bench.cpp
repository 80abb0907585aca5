// Measures a GUI program from outside, as a user's machine sees it:
//   program_bench startup RUNS EXE_A TITLE_A EXE_B TITLE_B
//     start-up to a visible top-level window with the given title, A and B taking turns;
//   program_bench waiting SECONDS EXE STANDINS_DIR SCENARIO_DIR
//     the tool's processor share and memory while a repair run waits on a silent sfc;
//   program_bench latency RUNS EXE STANDINS_DIR SCENARIO_DIR
//     from a stand-in's write to the change of the progress popup's status line.
// Lines of "key value" on standard output; scripts/bench-program.sh turns them into a table.
// Process times and memory come from the system's process list: under Wine,
// GetProcessTimes of another process answers the caller's own times.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <thread>
#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tools/driver/program_windows.h"
#include "tools/driver/user_driver.h"

using namespace std::chrono_literals;

namespace {

class CHandle {
public:
    CHandle() = default;
    explicit CHandle(HANDLE h) : m_h(h) {}
    CHandle(CHandle&& other) noexcept : m_h(std::exchange(other.m_h, nullptr)) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_h = std::exchange(other.m_h, nullptr);
        }
        return *this;
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    ~CHandle() { Close(); }
    HANDLE Get() const { return m_h; }

private:
    void Close()
    {
        if (m_h && m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
        m_h = nullptr;
    }
    HANDLE m_h = nullptr;
};

struct Child {
    CHandle process;
    DWORD id = 0;
};

// Started child processes are ended when the measurement is over, whatever happened.
class CChildGuard {
public:
    explicit CChildGuard(Child& child) : m_child(child) {}
    ~CChildGuard()
    {
        if (m_child.process.Get() && WaitForSingleObject(m_child.process.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_child.process.Get(), 1);
            WaitForSingleObject(m_child.process.Get(), 5000);
        }
    }
    CChildGuard(const CChildGuard&) = delete;
    CChildGuard& operator=(const CChildGuard&) = delete;

private:
    Child& m_child;
};

std::optional<Child> Start(const std::wstring& exe, const std::wstring& folder)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info))
        return std::nullopt;
    CloseHandle(info.hThread);
    Child child;
    child.process = CHandle(info.hProcess);
    child.id = info.dwProcessId;
    return child;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

template <typename Predicate>
HWND WaitForWindow(DWORD processId, Predicate matches, std::chrono::milliseconds limit, std::chrono::milliseconds poll)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    do {
        for (HWND hwnd : VisibleTopLevelWindowsOf(processId))
            if (matches(hwnd))
                return hwnd;
        std::this_thread::sleep_for(poll);
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

// One process's record from the system's process list.
struct ProcessSample {
    LONGLONG cpu100ns = 0;
    SIZE_T privateBytes = 0;     // PrivatePageCount
    SIZE_T pagefileUsage = 0;    // VM_COUNTERS.PagefileUsage
    SIZE_T peakPagefile = 0;     // VM_COUNTERS.PeakPagefileUsage
    SIZE_T workingSet = 0;
    SIZE_T peakWorkingSet = 0;
};

// The documented layout of SYSTEM_PROCESS_INFORMATION up to the memory counters.
struct ProcessRecord {
    ULONG NextEntryOffset;
    ULONG NumberOfThreads;
    LARGE_INTEGER Reserved[3];
    LARGE_INTEGER CreateTime, UserTime, KernelTime;
    UNICODE_STRING ImageName;
    LONG BasePriority;
    HANDLE UniqueProcessId;
    HANDLE InheritedFromUniqueProcessId;
    ULONG HandleCount;
    ULONG SessionId;
    ULONG_PTR UniqueProcessKey;
    SIZE_T PeakVirtualSize;
    SIZE_T VirtualSize;
    ULONG PageFaultCount;
    SIZE_T PeakWorkingSetSize;
    SIZE_T WorkingSetSize;
    SIZE_T QuotaPeakPagedPoolUsage;
    SIZE_T QuotaPagedPoolUsage;
    SIZE_T QuotaPeakNonPagedPoolUsage;
    SIZE_T QuotaNonPagedPoolUsage;
    SIZE_T PagefileUsage;
    SIZE_T PeakPagefileUsage;
    SIZE_T PrivatePageCount;
};

std::optional<ProcessSample> SampleProcess(DWORD processId)
{
    using QueryFn = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return std::nullopt;
    static std::vector<ULONGLONG> buffer(1 << 18);
    for (;;) {
        ULONG needed = 0;
        const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG));
        const NTSTATUS status = query(5 /* SystemProcessInformation */, buffer.data(), size, &needed);
        if (status == static_cast<NTSTATUS>(0xC0000004L) && buffer.size() < (1u << 24)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status < 0)
            return std::nullopt;
        break;
    }
    const auto* bytes = reinterpret_cast<const BYTE*>(buffer.data());
    const size_t limit = buffer.size() * sizeof(ULONGLONG);
    for (size_t offset = 0; offset + sizeof(ProcessRecord) <= limit;) {
        ProcessRecord record;
        std::memcpy(&record, bytes + offset, sizeof(record));
        if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(record.UniqueProcessId)) == processId) {
            ProcessSample sample;
            sample.cpu100ns = record.UserTime.QuadPart + record.KernelTime.QuadPart;
            sample.privateBytes = record.PrivatePageCount;
            sample.pagefileUsage = record.PagefileUsage;
            sample.peakPagefile = record.PeakPagefileUsage;
            sample.workingSet = record.WorkingSetSize;
            sample.peakWorkingSet = record.PeakWorkingSetSize;
            return sample;
        }
        if (record.NextEntryOffset == 0)
            break;
        offset += record.NextEntryOffset;
    }
    return std::nullopt;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Milliseconds from CreateProcess to a visible window of that title, or -1.
double StartupMilliseconds(const std::wstring& exe, const std::wstring& title, SIZE_T* peakPrivate)
{
    const auto begin = std::chrono::steady_clock::now();
    std::optional<Child> child = Start(exe, FolderOf(exe));
    if (!child)
        return -1;
    CChildGuard guard(*child);
    const HWND shown = WaitForWindow(
        child->id, [&title](HWND hwnd) { return WindowTextOf(hwnd) == title; }, 30s, 1ms);
    const auto end = std::chrono::steady_clock::now();
    if (!shown)
        return -1;
    if (const auto sample = SampleProcess(child->id))
        *peakPrivate = std::max(*peakPrivate, sample->peakPagefile);
    return std::chrono::duration<double, std::milli>(end - begin).count();
}

void PrintRuns(const char* name, const std::vector<double>& runs)
{
    std::printf("%s_runs", name);
    for (double ms : runs)
        std::printf(" %.1f", ms);
    std::printf("\n%s_median_ms %.1f\n", name, Median(runs));
}

int Startup(int runs, const std::wstring& exeA, const std::wstring& titleA, const std::wstring& exeB,
            const std::wstring& titleB)
{
    std::vector<double> a, b;
    SIZE_T peakA = 0, peakB = 0;
    // One run of each first, not counted: it warms the file cache and Wine's services.
    StartupMilliseconds(exeA, titleA, &peakA);
    StartupMilliseconds(exeB, titleB, &peakB);
    for (int run = 0; run < runs; ++run) {
        const double msA = StartupMilliseconds(exeA, titleA, &peakA);
        const double msB = StartupMilliseconds(exeB, titleB, &peakB);
        if (msA < 0 || msB < 0) {
            std::fprintf(stderr, "program_bench: a window did not show within 30 s (%s)\n", msA < 0 ? "A" : "B");
            return 1;
        }
        a.push_back(msA);
        b.push_back(msB);
    }
    PrintRuns("startup_a", a);
    PrintRuns("startup_b", b);
    std::printf("startup_a_peak_private_bytes %zu\nstartup_b_peak_private_bytes %zu\n", static_cast<size_t>(peakA),
                static_cast<size_t>(peakB));
    return 0;
}

bool IsProcessRunning(const wchar_t* exeName)
{
    CHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.Get() == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
        if (_wcsicmp(entry.szExeFile, exeName) == 0)
            return true;
    return false;
}

// Ends the stand-ins the run left behind (the tool ends its own only when it closes).
void EndProcessesNamed(const wchar_t* exeName)
{
    CHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.Get() == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName) != 0)
            continue;
        CHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process.Get())
            TerminateProcess(process.Get(), 1);
    }
}

// What the tool's command interpreter inherits: the stand-ins first, the scenario, the
// feedback service's journal instead of its pages.
void PrepareToolEnvironment(const std::wstring& standins, const std::wstring& scenario)
{
    wchar_t path[32768]{};
    GetEnvironmentVariableW(L"PATH", path, 32768);
    SetEnvironmentVariableW(L"PATH", (standins + L";" + path).c_str());
    SetEnvironmentVariableW(L"ZSR_SCENARIO_DIR", scenario.c_str());
    SetEnvironmentVariableW(L"ZSR_FEEDBACK_OPEN", L"0");
    SetEnvironmentVariableW(L"ZSR_FEEDBACK_JOURNAL", (scenario + L"\\feedback.txt").c_str());
}

// The start page accepted as a user does; the operations window once its start button works.
HWND OpenTool(const CUserDriver& user)
{
    HWND startPage = user.StartPage();
    if (!startPage || !user.Click(startPage, IDC_START_RUN)) {
        std::fprintf(stderr, "program_bench: no start page with its start button\n");
        return nullptr;
    }
    HWND operations = user.OperationsWindow();
    if (!operations || !user.WaitUntilEnabled(operations, IDC_OP_LOCAL, 30s)) {
        std::fprintf(stderr, "program_bench: the operations window's start button never became usable\n");
        return nullptr;
    }
    return operations;
}

// The tool started with the stand-ins and opened as a user does; ended when this goes.
class COpenedTool {
public:
    bool Open(const std::wstring& exe, const std::wstring& standins, const std::wstring& scenario)
    {
        PrepareToolEnvironment(standins, scenario);
        m_child = Start(exe, standins);
        if (!m_child) {
            std::fprintf(stderr, "program_bench: cannot start the program\n");
            return false;
        }
        m_guard.emplace(*m_child);
        m_user.emplace(m_child->id);
        m_operations = OpenTool(*m_user);
        return m_operations != nullptr;
    }
    DWORD Id() const { return m_child->id; }
    const CUserDriver& User() const { return *m_user; }
    HWND Operations() const { return m_operations; }

private:
    std::optional<Child> m_child;
    std::optional<CChildGuard> m_guard;
    std::optional<CUserDriver> m_user;
    HWND m_operations = nullptr;
};

int Waiting(int seconds, const std::wstring& exe, const std::wstring& standins, const std::wstring& scenario)
{
    COpenedTool tool;
    if (!tool.Open(exe, standins, scenario))
        return 1;
    const DWORD id = tool.Id();
    tool.User().Click(tool.Operations(), IDC_OP_LOCAL);

    const auto runBy = std::chrono::steady_clock::now() + 15s;
    while (!IsProcessRunning(L"sfc.exe") && std::chrono::steady_clock::now() < runBy)
        std::this_thread::sleep_for(100ms);
    if (!IsProcessRunning(L"sfc.exe")) {
        std::fprintf(stderr, "program_bench: the run did not start sfc\n");
        return 1;
    }
    // Let the popup settle so its start-up does not count as waiting.
    std::this_thread::sleep_for(2s);
    std::printf("wait_visible_windows %zu\n", VisibleTopLevelWindowsOf(id).size());

    const auto first = SampleProcess(id);
    if (!first) {
        std::fprintf(stderr, "program_bench: the program is not in the process list\n");
        return 1;
    }
    const auto begin = std::chrono::steady_clock::now();
    ProcessSample last = *first;
    SIZE_T maxPrivate = first->privateBytes, maxPagefile = first->pagefileUsage;
    for (int second = 0; second < seconds; ++second) {
        std::this_thread::sleep_for(1s);
        const auto sample = SampleProcess(id);
        if (!sample) {
            std::fprintf(stderr, "program_bench: the program ended while the run waited\n");
            return 1;
        }
        last = *sample;
        maxPrivate = std::max(maxPrivate, sample->privateBytes);
        maxPagefile = std::max(maxPagefile, sample->pagefileUsage);
    }
    const double wall100ns = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count() * 1e7;
    const bool stillWaiting = IsProcessRunning(L"sfc.exe");

    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    CHandle query(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
    const bool haveCounters = query.Get() && GetProcessMemoryInfo(query.Get(),
        reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));

    std::printf("wait_seconds %.1f\n", wall100ns / 1e7);
    std::printf("wait_cpu_seconds %.3f\n", static_cast<double>(last.cpu100ns - first->cpu100ns) / 1e7);
    std::printf("wait_cpu_percent %.2f\n", 100.0 * static_cast<double>(last.cpu100ns - first->cpu100ns) / wall100ns);
    std::printf("wait_sfc_still_running %d\n", stillWaiting ? 1 : 0);
    std::printf("peak_pagefile_bytes %zu\n", static_cast<size_t>(last.peakPagefile));
    std::printf("max_pagefile_bytes %zu\n", static_cast<size_t>(maxPagefile));
    std::printf("max_private_page_count_bytes %zu\n", static_cast<size_t>(maxPrivate));
    std::printf("peak_working_set_bytes %zu\n", static_cast<size_t>(last.peakWorkingSet));
    if (haveCounters)
        std::printf("psapi_private_usage_bytes %zu\npsapi_peak_pagefile_bytes %zu\n",
                    static_cast<size_t>(counters.PrivateUsage), static_cast<size_t>(counters.PeakPagefileUsage));

    EndProcessesNamed(L"sfc.exe");
    return 0;
}

// The performance counter values the stand-ins noted (note-time), in order.
std::vector<long long> NotedTimes(const std::wstring& scenario)
{
    std::ifstream file(std::filesystem::path(scenario) / L"times.txt", std::ios::binary);
    std::vector<long long> times;
    std::string tool, ticks;
    while (std::getline(file, tool, '\t') && std::getline(file, ticks))
        times.push_back(std::stoll(ticks));
    return times;
}

// sfc works a while, notes the moment and writes a short answer, which the tool takes for a
// local repair that failed to start: it clears the popup's status line. The pause differs from
// run to run, so that the write meets the popup's refresh at every phase.
void WriteLatencyScenario(const std::wstring& scenario, int run)
{
    std::ofstream file(std::filesystem::path(scenario) / L"sfc.txt", std::ios::binary | std::ios::trunc);
    file << "pause " << 1500 + run * 173 % 600 << "\nnote-time\nwrite sfc-zh-no-service.bin\nexit 1\n";
}

// Runs after runs; each sample is the time from sfc's write to the moment the status line,
// read from outside as a user's tools read it, is empty. The prompt is confirmed and the next
// run started.
int Latency(int runs, const std::wstring& exe, const std::wstring& standins, const std::wstring& scenario)
{
    COpenedTool tool;
    if (!tool.Open(exe, standins, scenario))
        return 1;
    const CUserDriver& user = tool.User();
    HWND operations = tool.Operations();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        WriteLatencyScenario(scenario, run);
        if (!user.WaitUntilEnabled(operations, IDC_OP_LOCAL, 30s) || !user.Click(operations, IDC_OP_LOCAL)) {
            std::fprintf(stderr, "program_bench: run %d could not be started\n", run + 1);
            return 1;
        }
        HWND popup = user.ProgressPopup(15s);
        if (!popup || user.StatusLine(popup).empty()) {
            std::fprintf(stderr, "program_bench: run %d shows no popup with a status line\n", run + 1);
            return 1;
        }
        LARGE_INTEGER seen{};
        const auto end = std::chrono::steady_clock::now() + 30s;
        while (!ControlTextOf(popup, IDC_PROGRESS_STATUS).empty() && std::chrono::steady_clock::now() < end)
            Sleep(1);
        QueryPerformanceCounter(&seen);
        const std::vector<long long> noted = NotedTimes(scenario);
        if (static_cast<int>(noted.size()) != run + 1) {
            std::fprintf(stderr, "program_bench: run %d: %zu noted writes\n", run + 1, noted.size());
            return 1;
        }
        samples.push_back(static_cast<double>(seen.QuadPart - noted.back()) * 1000.0 / static_cast<double>(frequency.QuadPart));
        HWND prompt = user.Prompt(15s);
        if (!prompt || !user.Click(prompt, IDC_PROMPT_OK) || !user.WaitUntilGone(popup, 10s)) {
            std::fprintf(stderr, "program_bench: run %d ended without its prompt\n", run + 1);
            return 1;
        }
    }
    PrintRuns("latency", samples);
    std::printf("latency_max_ms %.1f\n", *std::max_element(samples.begin(), samples.end()));
    std::printf("latency_min_ms %.1f\n", *std::min_element(samples.begin(), samples.end()));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 7 && std::wcscmp(argv[1], L"startup") == 0)
        return Startup(_wtoi(argv[2]), argv[3], argv[4], argv[5], argv[6]);
    if (argc == 6 && std::wcscmp(argv[1], L"waiting") == 0)
        return Waiting(_wtoi(argv[2]), argv[3], argv[4], argv[5]);
    if (argc == 6 && std::wcscmp(argv[1], L"latency") == 0)
        return Latency(_wtoi(argv[2]), argv[3], argv[4], argv[5]);
    std::fprintf(stderr,
                 "usage: program_bench startup RUNS EXE_A TITLE_A EXE_B TITLE_B\n"
                 "       program_bench waiting SECONDS EXE STANDINS_DIR SCENARIO_DIR\n"
                 "       program_bench latency RUNS EXE STANDINS_DIR SCENARIO_DIR\n");
    return 2;
}
