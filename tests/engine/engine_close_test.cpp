// Close must end promptly and cleanly even while a child keeps the output pipe open, and
// repeated use must not leak handles.
#include <windows.h>

#include <atomic>

#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "output_collector.h"
#include "scenario_folder.h"
#include "sfc_repair.h"
#include "standin_search_order.h"

namespace {

struct HangCase {
    const char* pszName;
    const char* pszScenario;
    bool bWritesFirst;
};

class EngineCloseWhileHanging : public ::testing::TestWithParam<HangCase> {
protected:
    void TearDown() override { EndProcessesNamed(L"ping.exe"); }

    CStandinSearchOrder m_SearchOrder;
    CScenarioFolder m_Scenarios;
};

TEST_P(EngineCloseWhileHanging, ReturnsWithinASecondAndNothingIsDeliveredAfter)
{
    const HangCase& c = GetParam();
    ASSERT_TRUE(m_Scenarios.Set(L"ping", c.pszScenario));
    COutputCollector collector;
    SfcRepairHandle hEngine = sfc_Repair_Open();
    ASSERT_NE(hEngine, nullptr);
    sfc_Repair_DataCallBack_Log(hEngine, &COutputCollector::OnOutput, &collector);
    ASSERT_TRUE(sfc_Repair_CmdSend(hEngine, "ping www.baidu.com", 19));
    if (c.bWritesFirst) {
        ASSERT_TRUE(collector.WaitForChunks(1, 10000));
    }
    for (int i = 0; i < 100 && ProcessIdsNamed(L"ping.exe").empty(); ++i)
        Sleep(20);
    ASSERT_FALSE(ProcessIdsNamed(L"ping.exe").empty());
    Sleep(700); // the pump is now blocked reading the silent pipe

    const size_t nBefore = collector.ChunkCount();
    const ULONGLONG ullStart = GetTickCount64();
    EXPECT_TRUE(sfc_Repair_Close(hEngine));
    const ULONGLONG ullClosedAt = GetTickCount64();
    EXPECT_LT(ullClosedAt - ullStart, 1000u);

    Sleep(1500); // the ping still runs and would write now
    EXPECT_FALSE(ProcessIdsNamed(L"ping.exe").empty()) << "Close ends only the repair tools";
    EXPECT_EQ(collector.ChunkCount(), nBefore);
    for (const COutputCollector::Chunk& chunk : collector.Chunks())
        EXPECT_LE(chunk.ullAtMs, ullClosedAt);
}

const HangCase kHangCases[] = {
    {"SilentFromTheStart", "hang\n", false},
    {"AfterSomeOutput", "text \"Pinging\"\npause 1500\ntext \"late\"\nhang\n", true},
};

INSTANTIATE_TEST_SUITE_P(Children, EngineCloseWhileHanging, ::testing::ValuesIn(kHangCases),
                         [](const ::testing::TestParamInfo<HangCase>& param) { return param.param.pszName; });

TEST(EngineCycles, RepeatedOpenSendCloseLeavesNoHandlesBehind)
{
    CStandinSearchOrder searchOrder;
    COutputCollector collector;
    auto fnCycle = [&collector](int nCycle) {
        SfcRepairHandle hEngine = sfc_Repair_Open();
        if (!hEngine)
            return false;
        sfc_Repair_DataCallBack_Log(hEngine, &COutputCollector::OnOutput, &collector);
        sfc_Repair_CmdSend(hEngine, "echo cycle", 11);
        if (nCycle % 50 == 0)
            collector.WaitForChunks(collector.ChunkCount() + 1, 5000); // now and then: read too
        return sfc_Repair_Close(hEngine);
    };
    ASSERT_TRUE(fnCycle(0));
    ASSERT_TRUE(fnCycle(1));
    const DWORD dwBefore = CountOpenHandles();
    ASSERT_GT(dwBefore, 0u);
    for (int nCycle = 2; nCycle < 200; ++nCycle)
        ASSERT_TRUE(fnCycle(nCycle)) << nCycle;
    const DWORD dwAfter = CountOpenHandles();
    EXPECT_LE(dwAfter, dwBefore + 3) << "before " << dwBefore << ", after " << dwAfter;
    EXPECT_GE(collector.ChunkCount(), 4u);
}

} // namespace
