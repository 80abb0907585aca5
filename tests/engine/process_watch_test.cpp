// Finding, measuring and ending processes by their exact executable name.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "process_watch.h"
#include "scenario_folder.h"
#include "sfc_repair.h"
#include "standin_paths.h"

namespace {

class ProcessWatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hEngine = sfc_Repair_Open();
        ASSERT_NE(m_hEngine, nullptr);
    }
    void TearDown() override
    {
        for (const wchar_t* pszName : {L"sfc.exe", L"SFC.exe", L"TiWorker.exe"})
            EndProcessesNamed(pszName);
        EXPECT_TRUE(sfc_Repair_Close(m_hEngine));
    }

    CScenarioFolder m_Scenarios;
    SfcRepairHandle m_hEngine = nullptr;
};

struct RepairToolCase {
    const char* pszName;
    bool bUpperFolder;       // the copy whose name differs only in letter case
    const wchar_t* pszExe;
    bool bIsRepairTool;
};

class RepairToolWatch : public ProcessWatch, public ::testing::WithParamInterface<RepairToolCase> {};

TEST_P(RepairToolWatch, ExactNameIsReportedAndEndedOthersAreLeftAlone)
{
    const RepairToolCase& c = GetParam();
    ASSERT_TRUE(m_Scenarios.Set(L"sfc", "hang\n"));
    ASSERT_FALSE(sfc_Repair_GetProcessState(m_hEngine)) << "a repair tool is left from elsewhere";
    const std::wstring strFolder = c.bUpperFolder ? CStandinPaths::UpperFolder() : CStandinPaths::Folder();
    // Started by this test program, not by the engine.
    CScopedHandle hProcess = StartProgram(strFolder + L"\\" + c.pszExe, L"/scannow");
    ASSERT_TRUE(hProcess);
    for (int i = 0; i < 100 && ProcessIdsNamed(c.pszExe).empty(); ++i)
        Sleep(20);
    ASSERT_FALSE(ProcessIdsNamed(c.pszExe).empty());

    EXPECT_EQ(sfc_Repair_GetProcessState(m_hEngine), c.bIsRepairTool);
    EXPECT_TRUE(sfc_Repair_CmdClear(m_hEngine));
    EXPECT_EQ(HasEnded(hProcess.Get(), 3000), c.bIsRepairTool);
    EXPECT_FALSE(sfc_Repair_GetProcessState(m_hEngine) && c.bIsRepairTool);
}

const RepairToolCase kRepairToolCases[] = {
    {"SfcStartedElsewhere", false, L"sfc.exe", true},
    {"UpperCaseSfcCopy", true, L"SFC.exe", false},
};

INSTANTIATE_TEST_SUITE_P(Names, RepairToolWatch, ::testing::ValuesIn(kRepairToolCases),
                         [](const ::testing::TestParamInfo<RepairToolCase>& param) { return param.param.pszName; });

TEST_F(ProcessWatch, CpuOfMissingProcessIsMinusOneAtOnce)
{
    ASSERT_TRUE(m_Scenarios.Set(L"tiworker", "idle 30000\n"));
    CScopedHandle hWorker = StartProgram(CStandinPaths::Tool(L"TiWorker.exe"), L"");
    ASSERT_TRUE(hWorker);
    Sleep(300);
    // The lower-case spelling does not find TiWorker.exe: the names are compared exactly.
    for (const wchar_t* pszName : {L"NoSuchProcess.exe", L"tiworker.exe", L"TiWorker", L""}) {
        const ULONGLONG ullStart = GetTickCount64();
        EXPECT_EQ(sfc_Repair_GetProcessCpuInfo(m_hEngine, pszName), -1.0f);
        EXPECT_LT(GetTickCount64() - ullStart, 300u) << "no process must mean no sampling pause";
    }
    EXPECT_EQ(sfc_Repair_GetProcessCpuInfo(m_hEngine, nullptr), -1.0f);
}

// Keeps one processor busy in this process while it lives, and tells how much processor
// time it really got (on a loaded machine that can be much less than all of it).
class CBusyThread {
public:
    CBusyThread() : m_hThread(CreateThread(nullptr, 0, &CBusyThread::Spin, this, 0, nullptr)) {}
    ~CBusyThread()
    {
        m_bStop = true;
        WaitForSingleObject(m_hThread.Get(), INFINITE);
    }
    explicit operator bool() const { return static_cast<bool>(m_hThread); }
    unsigned long long UsedTime100ns() const
    {
        FILETIME ftCreation, ftExit, ftKernel, ftUser;
        GetThreadTimes(m_hThread.Get(), &ftCreation, &ftExit, &ftKernel, &ftUser);
        return (static_cast<unsigned long long>(ftUser.dwHighDateTime) << 32 | ftUser.dwLowDateTime) +
               (static_cast<unsigned long long>(ftKernel.dwHighDateTime) << 32 | ftKernel.dwLowDateTime);
    }

private:
    static DWORD WINAPI Spin(LPVOID pParam)
    {
        auto* pSelf = static_cast<CBusyThread*>(pParam);
        volatile unsigned long long ullSink = 0;
        while (!pSelf->m_bStop)
            ullSink = ullSink + 1;
        return 0;
    }

    std::atomic<bool> m_bStop{false};
    CScopedHandle m_hThread;
};

// Measures the own process while the busy thread runs; fExpected receives the share of
// all processors the busy thread really used in the same time.
float MeasureOwnProcess(SfcRepairHandle hEngine, const wchar_t* pszName, const CBusyThread& busy, float* pfExpected,
                        ULONGLONG* pullElapsedMs)
{
    const unsigned long long ullUsedBefore = busy.UsedTime100ns();
    const ULONGLONG ullStart = GetTickCount64();
    const float fMeasured = sfc_Repair_GetProcessCpuInfo(hEngine, pszName);
    *pullElapsedMs = GetTickCount64() - ullStart;
    const double dUsedMs = static_cast<double>(busy.UsedTime100ns() - ullUsedBefore) / 10000.0;
    *pfExpected = static_cast<float>(dUsedMs * 100.0 / static_cast<double>(*pullElapsedMs) / ProcessorCount());
    return fMeasured;
}

std::wstring OwnExeName()
{
    wchar_t szPath[MAX_PATH];
    const DWORD dwLength = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    const std::wstring strPath(szPath, dwLength);
    return strPath.substr(strPath.find_last_of(L'\\') + 1);
}

float ShareOfAllProcessorsForOne()
{
    return 100.0f / static_cast<float>(ProcessorCount());
}

// The part of one processor (0 to 1) that a busy thread gets on this machine just now. Others
// share it, so a busy stand-in may get much less than all of one processor.
float AvailablePartOfOneProcessor()
{
    CBusyThread busy;
    if (!busy)
        return 0;
    const unsigned long long ullUsedBefore = busy.UsedTime100ns();
    const ULONGLONG ullStart = GetTickCount64();
    Sleep(500);
    const double dUsedMs = static_cast<double>(busy.UsedTime100ns() - ullUsedBefore) / 10000.0;
    return static_cast<float>(dUsedMs / static_cast<double>(GetTickCount64() - ullStart));
}

// Measures pszName between two looks at what a busy thread can get (the busy stand-in keeps
// running meanwhile, so both look under the same load). *pfAvailable receives the lower one.
// This process stays idle during the measurement itself, so reading the caller's own times
// in place of the stand-in's shows as about nothing.
float MeasureUnderLoad(SfcRepairHandle hEngine, const wchar_t* pszName, float* pfAvailable, ULONGLONG* pullElapsedMs)
{
    const float fBefore = AvailablePartOfOneProcessor();
    const ULONGLONG ullStart = GetTickCount64();
    const float fMeasured = sfc_Repair_GetProcessCpuInfo(hEngine, pszName);
    *pullElapsedMs = GetTickCount64() - ullStart;
    *pfAvailable = std::min({1.0f, fBefore, AvailablePartOfOneProcessor()});
    return fMeasured;
}

void WaitUntilListed(const wchar_t* pszName, size_t nCount)
{
    for (int i = 0; i < 100 && ProcessIdsNamed(pszName).size() < nCount; ++i)
        Sleep(20);
    Sleep(200); // past the start-up work of the new processes
}

// About one processor's share when the process was busy, allowing for a loaded machine;
// about nothing when it was idle.
void ExpectBusy(float fMeasured, float fAvailable)
{
    EXPECT_GT(fMeasured, ShareOfAllProcessorsForOne() * 0.5f * fAvailable)
        << "a busy thread got " << fAvailable << " of one processor meanwhile";
    EXPECT_LT(fMeasured, ShareOfAllProcessorsForOne() * 1.3f);
}

void ExpectIdle(float fMeasured)
{
    EXPECT_GE(fMeasured, 0.0f);
    EXPECT_LT(fMeasured, ShareOfAllProcessorsForOne() * 0.03f) << "a few clock ticks at most";
}

TEST_F(ProcessWatch, BusyStandinMeasuresItsShareOfAllProcessors)
{
    // Another process, whose times the platform may not give as it gives the caller's own.
    ASSERT_TRUE(m_Scenarios.Set(L"tiworker", "busy 100 8000\n"));
    CScopedHandle hWorker = StartProgram(CStandinPaths::Tool(L"TiWorker.exe"), L"");
    ASSERT_TRUE(hWorker);
    WaitUntilListed(L"TiWorker.exe", 1);
    float fAvailable = 0;
    ULONGLONG ullElapsedMs = 0;
    const float fMeasured = MeasureUnderLoad(m_hEngine, L"TiWorker.exe", &fAvailable, &ullElapsedMs);
    if (fAvailable < 0.1f)
        GTEST_SKIP() << "the machine is too busy to tell (a busy thread got " << fAvailable
                     << " of a processor; measured " << fMeasured << ")";
    ExpectBusy(fMeasured, fAvailable);
}

TEST_F(ProcessWatch, BusyProcessMeasuresItsShareOfAllProcessors)
{
    // The own process, busy on one processor: measurable everywhere, Wine included.
    CBusyThread busy;
    ASSERT_TRUE(busy);
    Sleep(100);
    float fExpected = 0;
    ULONGLONG ullElapsedMs = 0;
    const float fMeasured = MeasureOwnProcess(m_hEngine, OwnExeName().c_str(), busy, &fExpected, &ullElapsedMs);
    EXPECT_GT(fExpected, 100.0f / static_cast<float>(ProcessorCount()) * 0.2f) << "the machine is too busy to tell";
    EXPECT_NEAR(fMeasured, fExpected, fExpected * 0.25f);
    EXPECT_LE(fMeasured, 100.0f / static_cast<float>(ProcessorCount()) * 1.1f);
}

struct TwoWorkersCase {
    const char* pszName;
    bool bBusyStartsFirst;
};

class TwoWorkersWatch : public ProcessWatch, public ::testing::WithParamInterface<TwoWorkersCase> {};

// One of the two is busy and the other idle, so the answer shows which one was measured.
TEST_P(TwoWorkersWatch, TakeTwoSecondsAndReportTheLater)
{
    ASSERT_TRUE(m_Scenarios.Set(L"tiworker", "if-arg busy busy 100 8000\nunless-arg busy idle 30000\n"));
    const wchar_t* pszFirst = GetParam().bBusyStartsFirst ? L"busy" : L"quiet";
    const wchar_t* pszSecond = GetParam().bBusyStartsFirst ? L"quiet" : L"busy";
    CScopedHandle hFirst = StartProgram(CStandinPaths::Tool(L"TiWorker.exe"), pszFirst);
    ASSERT_TRUE(hFirst);
    Sleep(100);
    CScopedHandle hSecond = StartProgram(CStandinPaths::Tool(L"TiWorker.exe"), pszSecond);
    ASSERT_TRUE(hSecond);
    WaitUntilListed(L"TiWorker.exe", 2);
    const std::vector<DWORD> order = ProcessIdsNamed(L"TiWorker.exe");
    ASSERT_EQ(order.size(), 2u);
    const HANDLE hBusy = GetParam().bBusyStartsFirst ? hFirst.Get() : hSecond.Get();
    const bool bLaterIsBusy = order.back() == GetProcessId(hBusy);

    float fAvailable = 0;
    ULONGLONG ullElapsedMs = 0;
    const float fMeasured = MeasureUnderLoad(m_hEngine, L"TiWorker.exe", &fAvailable, &ullElapsedMs);
    EXPECT_GE(ullElapsedMs, 1900u) << "one second for each of the two";
    EXPECT_LT(ullElapsedMs, 4000u);
    if (fAvailable < 0.1f)
        GTEST_SKIP() << "the machine is too busy to tell (a busy thread got " << fAvailable
                     << " of a processor; measured " << fMeasured << ")";
    if (bLaterIsBusy)
        ExpectBusy(fMeasured, fAvailable);
    else
        ExpectIdle(fMeasured);
}

const TwoWorkersCase kTwoWorkersCases[] = {
    {"BusyStartsFirst", true},
    {"IdleStartsFirst", false},
};

INSTANTIATE_TEST_SUITE_P(StartOrder, TwoWorkersWatch, ::testing::ValuesIn(kTwoWorkersCases),
                         [](const ::testing::TestParamInfo<TwoWorkersCase>& param) { return param.param.pszName; });

// Works without processor times too: when the later of two processes has gone by the time
// its turn comes, it cannot be opened, and that (-2.0) is the answer, whatever the earlier
// one measured.
TEST_F(ProcessWatch, LaterProcessDecidesTheResult)
{
    ASSERT_TRUE(m_Scenarios.Set(L"tiworker", "idle 30000\n"));
    CScopedHandle hEarlier = StartProgram(CStandinPaths::Tool(L"TiWorker.exe"), L"");
    ASSERT_TRUE(hEarlier);
    Sleep(200);
    CScopedHandle hLater = StartProgram(CStandinPaths::Tool(L"TiWorker.exe"), L"");
    ASSERT_TRUE(hLater);
    Sleep(300);
    const std::vector<DWORD> order = ProcessIdsNamed(L"TiWorker.exe");
    ASSERT_EQ(order.size(), 2u);
    if (order.back() != GetProcessId(hLater.Get()))
        GTEST_SKIP() << "the snapshot does not list processes in the order they started";

    // Ends the later one while the earlier one is being sampled, and lets go of it.
    std::thread ender([&hLater] {
        Sleep(400);
        TerminateProcess(hLater.Get(), 0);
        WaitForSingleObject(hLater.Get(), 2000);
        hLater.Reset();
    });
    const float fMeasured = sfc_Repair_GetProcessCpuInfo(m_hEngine, L"TiWorker.exe");
    ender.join();
    EXPECT_EQ(fMeasured, -2.0f);
}

} // namespace
