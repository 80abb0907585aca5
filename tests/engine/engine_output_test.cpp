// Output delivery from commands run by the engine, against the stand-in tools.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "output_collector.h"
#include "scenario_folder.h"
#include "sfc_repair.h"
#include "standin_search_order.h"

namespace {

constexpr size_t kMaxChunk = 4095;

class EngineOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hEngine = sfc_Repair_Open();
        ASSERT_NE(m_hEngine, nullptr);
        ASSERT_TRUE(sfc_Repair_DataCallBack_Log(m_hEngine, &COutputCollector::OnOutput, &m_Collector));
    }
    void TearDown() override
    {
        if (m_hEngine) {
            EXPECT_TRUE(sfc_Repair_Close(m_hEngine));
        }
    }
    void Send(const std::string& strCommand)
    {
        // As the program does: the count includes the terminating zero.
        ASSERT_TRUE(sfc_Repair_CmdSend(m_hEngine, strCommand.c_str(), static_cast<int32_t>(strCommand.size() + 1)));
    }
    void ExpectWellFormedChunks() const
    {
        const DWORD dwOwnThread = GetCurrentThreadId();
        ULONGLONG ullPreviousAt = 0;
        for (const COutputCollector::Chunk& chunk : m_Collector.Chunks()) {
            // The pump pauses about half a second after every read.
            if (ullPreviousAt) {
                EXPECT_GE(chunk.ullAtMs - ullPreviousAt, 400u);
            }
            ullPreviousAt = chunk.ullAtMs;
            EXPECT_GE(chunk.strBytes.size(), 1u);
            EXPECT_LE(chunk.strBytes.size(), kMaxChunk);
            EXPECT_TRUE(chunk.bZeroAfter) << "chunk of " << chunk.strBytes.size() << " bytes";
            EXPECT_NE(chunk.dwThreadId, dwOwnThread) << "the callback runs on the pump thread";
        }
    }

    CStandinSearchOrder m_SearchOrder;
    CScenarioFolder m_Scenarios;
    COutputCollector m_Collector;
    SfcRepairHandle m_hEngine = nullptr;
};

struct ToolOutputCase {
    const char* pszName;
    const wchar_t* pszTool;
    const char* pszScenario; // empty: the tool's usual answer
    const char* pszCommand;
    const char* pszFixture;
    size_t nMinChunks;
};

class EngineToolOutput : public EngineOutput, public ::testing::WithParamInterface<ToolOutputCase> {};

TEST_P(EngineToolOutput, ArrivesExactlyInBoundedZeroTerminatedChunks)
{
    const ToolOutputCase& c = GetParam();
    if (*c.pszScenario) {
        ASSERT_TRUE(m_Scenarios.Set(c.pszTool, c.pszScenario));
    }
    const std::string strExpected = ReadFixture(c.pszFixture);
    ASSERT_FALSE(strExpected.empty()) << c.pszFixture;

    Send(c.pszCommand);
    m_Collector.WaitForBytes(strExpected.size(), 20000);
    Sleep(700); // one more pump step: nothing may follow
    EXPECT_EQ(m_Collector.Bytes(), strExpected);
    EXPECT_GE(m_Collector.ChunkCount(), c.nMinChunks);
    ExpectWellFormedChunks();
}

const ToolOutputCase kToolOutputCases[] = {
    {"SfcZh", L"sfc", "", "sfc /scannow", "sfc-zh-no-violations.bin", 2},
    {"SfcEnLong", L"sfc", "write sfc-en-no-violations.bin\n", "sfc /scannow", "sfc-en-no-violations.bin", 3},
    {"SfcInPieces", L"sfc", "pieces 700\npause 50\nwrite sfc-zh-repaired.bin\n", "sfc /scannow",
     "sfc-zh-repaired.bin", 2},
    {"Dism", L"dism", "", "DISM /Online /Cleanup-image /RestoreHealth", "dism-zh-success.bin", 1},
    {"Ping", L"ping", "", "ping www.baidu.com", "ping-zh-reply.bin", 1},
};

INSTANTIATE_TEST_SUITE_P(Tools, EngineToolOutput, ::testing::ValuesIn(kToolOutputCases),
                         [](const ::testing::TestParamInfo<ToolOutputCase>& param) { return param.param.pszName; });

TEST_F(EngineOutput, SilentCommandNeverCallsBack)
{
    ASSERT_TRUE(m_Scenarios.Set(L"sfc", "silent\n"));
    Send("sfc /scannow");
    Sleep(1500);
    EXPECT_EQ(m_Collector.ChunkCount(), 0u);
}

// The shape of the interpreter's answer to an unknown program: the name, a message in
// the Chinese code page, CR LF at the end. Wine words it differently from Windows.
bool HasInterpreterErrorShape(const std::string& strText, const std::string& strProgram)
{
    const bool bHasName = strText.find(strProgram) != std::string::npos;
    const bool bEndsWithLine = strText.size() > strProgram.size() + 4 && strText.substr(strText.size() - 2) == "\r\n";
    const bool bHasNonAscii = std::any_of(strText.begin(), strText.end(), [](char c) { return (c & 0x80) != 0; });
    const bool bIsValid936 = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, strText.data(),
                                                 static_cast<int>(strText.size()), nullptr, 0) > 0;
    return bHasName && bEndsWithLine && bHasNonAscii && bIsValid936;
}

TEST_F(EngineOutput, InterpreterErrorTextArrives)
{
    ASSERT_TRUE(HasInterpreterErrorShape(ReadFixture("cmd-zh-not-found.bin"), "nosuchprogram"));
    Send("nosuchprogram");
    ASSERT_TRUE(m_Collector.WaitForChunks(1, 10000));
    Sleep(700);
    EXPECT_TRUE(HasInterpreterErrorShape(m_Collector.Bytes(), "nosuchprogram")) << m_Collector.Bytes();
    ExpectWellFormedChunks();
}

TEST_F(EngineOutput, NullCallbackStopsDelivery)
{
    ASSERT_TRUE(m_Scenarios.Set(L"ping", "text \"first\"\npause 1500\ntext \"second\"\npause 1500\n"));
    Send("ping www.baidu.com");
    ASSERT_TRUE(m_Collector.WaitForChunks(1, 10000));
    EXPECT_TRUE(sfc_Repair_DataCallBack_Log(m_hEngine, nullptr, nullptr));
    Sleep(3500);
    EXPECT_EQ(m_Collector.Bytes(), "first");
}

TEST_F(EngineOutput, ClearFromInsideTheCallbackDropsTheRest)
{
    ASSERT_TRUE(m_Scenarios.Set(L"ping", "text \"first\"\npause 1200\ntext \"second\"\npause 1200\n"));
    std::atomic<int> nClearResult{-1};
    std::atomic<int> nCloseResult{-1};
    m_Collector.SetAfterChunk([&](int nChunk) {
        if (nChunk != 1)
            return;
        nCloseResult = sfc_Repair_Close(m_hEngine); // would destroy the pump calling us: refused
        nClearResult = sfc_Repair_CmdClear(m_hEngine);
    });
    Send("ping www.baidu.com");
    ASSERT_TRUE(m_Collector.WaitForChunks(1, 10000));
    Sleep(2500);
    EXPECT_EQ(nClearResult.load(), 1);
    EXPECT_EQ(nCloseResult.load(), 0);
    EXPECT_EQ(m_Collector.Bytes(), "first");

    // The engine goes on working after the clear.
    m_Collector.SetAfterChunk(nullptr);
    ASSERT_TRUE(m_Scenarios.Set(L"ping", "text \"again\"\n"));
    Send("ping www.baidu.com");
    EXPECT_TRUE(m_Collector.WaitForBytes(10, 10000));
    EXPECT_EQ(m_Collector.Bytes(), "firstagain");
}

// The command bytes may fill the buffer but never overflow it: a longer command is refused
// whole instead of being cut.
class EngineCommandLength : public EngineOutput, public ::testing::WithParamInterface<std::pair<int, bool>> {};

TEST_P(EngineCommandLength, LongestCommandRunsLongerIsRefused)
{
    const auto [nLength, bRuns] = GetParam();
    std::string strCommand = "echo LONG";
    strCommand.resize(static_cast<size_t>(nLength - 1), ' ');
    EXPECT_TRUE(sfc_Repair_CmdSend(m_hEngine, strCommand.c_str(), nLength)); // counts the zero
    if (bRuns) {
        EXPECT_TRUE(m_Collector.WaitForBytes(4, 10000));
    } else {
        Sleep(1500);
    }
    EXPECT_EQ(m_Collector.Bytes().rfind("LONG", 0) == 0, bRuns) << m_Collector.Bytes().size();
}

INSTANTIATE_TEST_SUITE_P(Limits, EngineCommandLength,
                         ::testing::Values(std::make_pair(4088, true), std::make_pair(4089, false),
                                           std::make_pair(8000, false)));

TEST_F(EngineOutput, NewCommandReplacesTheUnreadOne)
{
    ASSERT_TRUE(m_Scenarios.Set(L"ping", "text \"old\"\npause 800\ntext \"stale\"\nhang\n"));
    Send("ping www.baidu.com");
    ASSERT_TRUE(m_Collector.WaitForChunks(1, 10000));
    ASSERT_TRUE(m_Scenarios.Set(L"dism", "text \"new\"\n"));
    Send("DISM /Online /Cleanup-image /RestoreHealth");
    EXPECT_TRUE(m_Collector.WaitForBytes(6, 10000));
    Sleep(1500);
    EXPECT_EQ(m_Collector.Bytes(), "oldnew");
    EndProcessesNamed(L"ping.exe");
}

} // namespace
