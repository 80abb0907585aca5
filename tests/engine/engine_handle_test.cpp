// The exports' handle rules: a null handle, a second Open, calls after Close, and the
// WOW64 redirection pair in a 64-bit process.
#include <windows.h>

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "output_collector.h"
#include "sfc_repair.h"

namespace {

constexpr char kUntouched[] = "caller text";

struct RefusedCall {
    const char* pszName;
    std::function<bool(SfcRepairHandle)> fnRefused; // true when the call did nothing
};

bool StringQueryLeavesText(void(WINAPI* pfnQuery)(SfcRepairHandle, const SfcRepairText*), SfcRepairHandle hEngine)
{
    std::string strText = kUntouched;
    SfcRepairText text = SfcRepairTextFor(strText);
    pfnQuery(hEngine, &text);
    return strText == kUntouched;
}

const RefusedCall kRefusedCalls[] = {
    {"Close", [](SfcRepairHandle h) { return !sfc_Repair_Close(h); }},
    {"CmdClear", [](SfcRepairHandle h) { return !sfc_Repair_CmdClear(h); }},
    {"CmdSend", [](SfcRepairHandle h) { return !sfc_Repair_CmdSend(h, "echo x", 7); }},
    {"DataCallBack_Log",
     [](SfcRepairHandle h) { return !sfc_Repair_DataCallBack_Log(h, &COutputCollector::OnOutput, nullptr); }},
    {"GetProcessCpuInfo", [](SfcRepairHandle h) { return sfc_Repair_GetProcessCpuInfo(h, L"wineserver") == -1.0f; }},
    {"GetProcessState", [](SfcRepairHandle h) { return !sfc_Repair_GetProcessState(h); }},
    {"GetSystemName", [](SfcRepairHandle h) { return StringQueryLeavesText(&sfc_Repair_GetSystemName, h); }},
    {"GetVersionMark", [](SfcRepairHandle h) { return StringQueryLeavesText(&sfc_Repair_GetVersionMark, h); }},
    {"ReSetWindows", [](SfcRepairHandle h) { return !sfc_Repair_ReSetWindows(h, 3, false); }},
    {"Wow64DisableWow64Fs", [](SfcRepairHandle h) { return !sfc_Repair_Wow64DisableWow64Fs(h); }},
    {"Wow64RevertWow64Fs", [](SfcRepairHandle h) { return !sfc_Repair_Wow64RevertWow64Fs(h); }},
};

TEST(EngineHandle, NullHandleIsRefusedByEveryExport)
{
    SfcRepairHandle hEngine = sfc_Repair_Open();
    ASSERT_NE(hEngine, nullptr);
    for (const RefusedCall& call : kRefusedCalls)
        EXPECT_TRUE(call.fnRefused(nullptr)) << call.pszName;
    EXPECT_TRUE(sfc_Repair_Close(hEngine)) << "the null handle must not have closed the engine";
}

TEST(EngineHandle, ClosedEngineRefusesEveryExport)
{
    SfcRepairHandle hEngine = sfc_Repair_Open();
    ASSERT_NE(hEngine, nullptr);
    ASSERT_TRUE(sfc_Repair_Close(hEngine));
    for (const RefusedCall& call : kRefusedCalls)
        EXPECT_TRUE(call.fnRefused(hEngine)) << call.pszName;
}

TEST(EngineHandle, SecondOpenFailsAndFirstHandleKeepsWorking)
{
    SfcRepairHandle hFirst = sfc_Repair_Open();
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(sfc_Repair_Open(), nullptr);
    std::string strName;
    SfcRepairText text = SfcRepairTextFor(strName);
    sfc_Repair_GetSystemName(hFirst, &text);
    EXPECT_FALSE(strName.empty());
    EXPECT_TRUE(sfc_Repair_CmdClear(hFirst));
    EXPECT_TRUE(sfc_Repair_Close(hFirst));
    EXPECT_FALSE(sfc_Repair_Close(hFirst));
    // A fresh instance after Close.
    SfcRepairHandle hAgain = sfc_Repair_Open();
    ASSERT_NE(hAgain, nullptr);
    EXPECT_TRUE(sfc_Repair_Close(hAgain));
}

TEST(EngineHandle, Wow64PairInA64BitProcess)
{
    static_assert(sizeof(void*) == 8, "these expectations hold for a process that is not WOW64");
    SfcRepairHandle hEngine = sfc_Repair_Open();
    ASSERT_NE(hEngine, nullptr);
    // Not WOW64: disabling succeeds without saving a state, so there is nothing to revert.
    const struct {
        const char* pszStep;
        bool (*pfnStep)(SfcRepairHandle);
        bool bExpected;
    } steps[] = {
        {"disable", &sfc_Repair_Wow64DisableWow64Fs, true},
        {"disable again", &sfc_Repair_Wow64DisableWow64Fs, true},
        {"revert", &sfc_Repair_Wow64RevertWow64Fs, false},
        {"revert again", &sfc_Repair_Wow64RevertWow64Fs, false},
    };
    for (const auto& step : steps)
        EXPECT_EQ(step.pfnStep(hEngine), step.bExpected) << step.pszStep;
    EXPECT_TRUE(sfc_Repair_Close(hEngine));
}

TEST(EngineHandle, ReSetWindowsRefusesUnknownModes)
{
    SfcRepairHandle hEngine = sfc_Repair_Open();
    ASSERT_NE(hEngine, nullptr);
    // Only modes that must be refused: nothing here may log off or shut down.
    for (int32_t nMode : {3, 4, -1, 0x10, 0x7fffffff}) {
        EXPECT_FALSE(sfc_Repair_ReSetWindows(hEngine, nMode, false)) << nMode;
        EXPECT_FALSE(sfc_Repair_ReSetWindows(hEngine, nMode, true)) << nMode;
    }
    EXPECT_TRUE(sfc_Repair_Close(hEngine));
}

TEST(EngineHandle, TextCrossesTheBoundaryThroughTheCallersAssign)
{
    SfcRepairHandle hEngine = sfc_Repair_Open();
    ASSERT_NE(hEngine, nullptr);
    struct Recorder {
        std::string strText;
        int nAssigns = 0;
    } recorder;
    SfcRepairText text{&recorder, [](void* pTarget, const char* pText, int32_t nLength) {
                           auto* pRecorder = static_cast<Recorder*>(pTarget);
                           pRecorder->strText.assign(pText, static_cast<size_t>(nLength));
                           ++pRecorder->nAssigns;
                       }};
    sfc_Repair_GetSystemName(hEngine, &text);
    EXPECT_EQ(recorder.nAssigns, 1);
    EXPECT_EQ(recorder.strText.rfind("Microsoft Windows ", 0), 0u) << recorder.strText;
    sfc_Repair_GetSystemName(hEngine, nullptr); // no text object: nothing to write
    EXPECT_TRUE(sfc_Repair_Close(hEngine));
}

} // namespace
